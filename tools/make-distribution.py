#!/usr/bin/env python3
"""Writes a sample Lexaver distribution folder: the product files setup copies, the uninstaller,
a settings script, copies of the four shared system libraries and, optionally, the setup program
itself.

    make-distribution.py OUT --programs DIR [--without NAME ...] [--library NAME=VERSION ...]
                         [--file NAME=PATH ...] [--installer PATH]

DIR holds the built sample programs Lexaver.exe, Lexaver.ocx and Unlexa.exe and the library
fixtures (tools/make-library.py). Every other product file is a small placeholder text that names
the file. The libraries are version-only stand-ins at LIBRARIES' versions, newer than setup's
minimums; --library carries another version A.B.C.D, or "none" for a DLL without version
information. --file puts the bytes of PATH into the distribution under NAME, in place of the
sample's own file of that name (another control, another settings script "Lexaver.reg") or beside
them (a DLL the control needs). OUT is replaced as a whole, so a file left out with --without is
never a stale copy from an earlier run.
"""

import argparse
import os
import shutil
import sys
import tempfile

from toolmodule import load_tool


make_library = load_tool("make-library")

# The product files setup copies, in its order.
PRODUCT_FILES = [
    "Ada.ini", "American.vtd", "Asm.ini", "Basic.ini", "Batfiles.ini", "Cobol.ini", "Corba.ini",
    "Cpp.ini", "Css.dll", "Css.ini", "Default.dll", "Default.ini", "Lexaver.exe",
    "Lexaver.exe.manifest", "Lexaver.ocx", "LxXsamp.zip", "Lexaver.pub", "Eiffel.ini",
    "Fortran.dll", "Fortran.ini", "French.vtd", "Generic.dll", "HelpFr.cnt", "HelpFr.hlp",
    "HelpIt.cnt", "HelpIt.hlp", "HelpPt.cnt", "HelpPt.hlp", "HelpRu.cnt", "HelpRu.hlp",
    "HelpUs.cnt", "HelpUs.hlp", "Html.dll", "Html.ini", "Inifiles.dll", "Inifiles.ini",
    "Italian.vtd", "Java.ini", "Latex.dll", "Latex.ini", "Lisp.ini", "Matlab.ini", "Ocx.hlp",
    "Opl.ini", "Pascal.ini", "Perl.ini", "Pov.ini", "Progress.ini", "Python.ini", "ReadmeFr.doc",
    "ReadmeIt.doc", "ReadmePt.doc", "ReadmeRu.doc", "ReadmeUs.doc", "Rexx.ini", "Spell.dll",
    "Sql.ini", "SyntPack.zip", "TipsFr.txt", "TipsIt.txt", "TipsPt.txt", "TipsRu.txt",
    "TipsUs.txt", "Xml.dll", "Xml.ini",
]
BUILT_PROGRAMS = ["Lexaver.exe", "Lexaver.ocx", "Unlexa.exe"]
OTHER_FILES = ["Unlexa.exe", "Lexaver.reg"]
# The shared libraries setup brings up to date, at versions newer than its minimums.
LIBRARIES = {
    "Mfc42.dll": "6.0.8168.0",
    "Msvcrt.dll": "6.10.8637.0",
    "Oleaut32.dll": "2.40.4275.0",
    "Olepro32.dll": "5.0.4275.0",
}

# A settings script as the registry editor exports it: header, key line, string and dword values.
SETTINGS_SCRIPT = "\r\n".join([
    "REGEDIT4",
    "",
    "[HKEY_CURRENT_USER\\Software\\Lexaver\\App\\Settings]",
    '"Font"="Courier New"',
    '"Font size"=dword:0000000a',
    '"Tab width"=dword:00000004',
    '"Last folder"="C:\\\\My Documents"',
    "",
]).encode("ascii")

# Valid, so that the sample editor still starts beside it.
MANIFEST = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\r\n'
    '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">\r\n'
    '  <assemblyIdentity version="3.1.0.0" processorArchitecture="X86" name="Lexaver.Editor"'
    ' type="win32"/>\r\n'
    '  <description>Lexaver sample editor</description>\r\n'
    '</assembly>\r\n'
).encode("ascii")


def placeholder(name):
    return ("Lexaver sample distribution: placeholder for %s\r\n" % name).encode("ascii")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", help="distribution folder to write (replaced as a whole)")
    parser.add_argument("--programs", required=True, help="folder with the built sample programs")
    parser.add_argument("--without", action="append", default=[], metavar="NAME",
                        help="leave this file out (may be repeated)")
    parser.add_argument("--library", action="append", default=[], metavar="NAME=VERSION",
                        help='carry this version A.B.C.D of a library, or "none" for one without '
                             "version information (may be repeated)")
    parser.add_argument("--file", action="append", default=[], metavar="NAME=PATH",
                        help="write the bytes of PATH under NAME instead of the sample's file of that "
                             "name, or as an extra file (may be repeated)")
    parser.add_argument("--installer", help="Install.exe to put beside the product files")
    args = parser.parse_args(argv)
    known = {name.lower() for name in PRODUCT_FILES + OTHER_FILES + list(LIBRARIES)}
    unknown = [name for name in args.without if name.lower() not in known]
    if unknown:
        parser.error("--without names no file of the distribution: %s" % ", ".join(unknown))
    try:
        args.library = library_versions(args.library, args.without)
        args.file = given_files(args.file, args.without)
    except ValueError as error:
        parser.error(str(error))
    return args


def given_files(choices, without=()):
    """{name: path} from NAME=PATH texts; ValueError for a bad text, a missing file, or a name
    also left out."""
    given = {}
    left_out = {name.lower() for name in without}
    for choice in choices:
        name, equals, path = choice.partition("=")
        name = name.strip()
        if not equals or not name or "\\" in name or "/" in name:
            raise ValueError("--file takes NAME=PATH with a plain file name: %r" % choice)
        if name.lower() in left_out:
            raise ValueError("%s is both left out and given" % name)
        if not os.path.isfile(path):
            raise ValueError("--file %s: no file %s" % (name, path))
        given[name] = path
    return given


def library_versions(choices, without=()):
    """{library name: version} from NAME=VERSION texts, over the defaults; ValueError for a name
    that is no library, a bad version, or a library also left out."""
    chosen = {}
    by_lower = {name.lower(): name for name in LIBRARIES}
    left_out = {name.lower() for name in without}
    for choice in choices:
        name, equals, version = choice.partition("=")
        if not equals or name.strip().lower() not in by_lower:
            raise ValueError("--library takes NAME=VERSION with NAME one of %s: %r"
                             % (", ".join(LIBRARIES), choice))
        name = by_lower[name.strip().lower()]
        if name.lower() in left_out:
            raise ValueError("%s is both left out and given a version" % name)
        try:
            make_library.parse_version(version)
        except make_library.LibraryError as error:
            raise ValueError("--library %s: %s" % (name, error))
        chosen[name] = version.strip()
    return dict(LIBRARIES, **chosen)


def contents(name, programs, libraries):
    if name in libraries:
        return make_library.library_bytes(libraries[name], programs)
    if name in BUILT_PROGRAMS:
        with open(os.path.join(programs, name), "rb") as built:
            return built.read()
    if name == "Lexaver.reg":
        return SETTINGS_SCRIPT
    if name == "Lexaver.exe.manifest":
        return MANIFEST
    return placeholder(name)


def write_distribution(out, programs, without, installer, libraries=None, files=None):
    """`libraries`: {name: version} of the libraries to carry, LIBRARIES when None. `files`:
    {name: path} of files whose bytes replace the sample's file of that name or join them."""
    libraries = dict(LIBRARIES if libraries is None else libraries)
    files = dict(files or {})
    left_out = {name.lower() for name in without}
    names = [name for name in list(libraries) + PRODUCT_FILES + OTHER_FILES if name.lower() not in left_out]
    given = {name.lower(): path for name, path in files.items()}
    known = {name.lower() for name in names}
    names += [name for name in files if name.lower() not in known]
    fixtures = {make_library.NO_VERSION if make_library.parse_version(version) is None
                else make_library.TEMPLATE
                for name, version in libraries.items() if name in names}
    needed = [name for name in BUILT_PROGRAMS if name in names and name.lower() not in given] + sorted(fixtures)
    missing = [name for name in needed if not os.path.isfile(os.path.join(programs, name))]
    if missing:
        raise SystemExit("make-distribution: not built yet in %s: %s" % (programs, ", ".join(missing)))
    if installer and not os.path.isfile(installer):
        raise SystemExit("make-distribution: no installer at %s" % installer)

    parent = os.path.dirname(os.path.abspath(out))
    os.makedirs(parent, exist_ok=True)
    staging = tempfile.mkdtemp(prefix=".distribution-", dir=parent)
    try:
        for name in names:
            if name.lower() in given:
                shutil.copyfile(given[name.lower()], os.path.join(staging, name))
                continue
            with open(os.path.join(staging, name), "wb") as target:
                target.write(contents(name, programs, libraries))
        if installer:
            shutil.copyfile(installer, os.path.join(staging, "Install.exe"))
        if os.path.isdir(out):
            shutil.rmtree(out)
        os.rename(staging, out)
    except BaseException:
        shutil.rmtree(staging, ignore_errors=True)
        raise
    return names


def main(argv):
    args = parse_arguments(argv)
    names = write_distribution(args.out, args.programs, args.without, args.installer, args.library, args.file)
    print("%s: %d files%s" % (args.out, len(names) + (1 if args.installer else 0),
                              ", without " + ", ".join(args.without) if args.without else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
