#!/usr/bin/env python3
"""Writes a sample Lexaver distribution folder: the product files setup copies, the uninstaller,
a settings script and, optionally, the setup program itself.

    make-distribution.py OUT --programs DIR [--without NAME ...] [--installer PATH]

DIR holds the built sample programs Lexaver.exe, Lexaver.ocx and Unlexa.exe. Every other product
file is a small placeholder text that names the file. OUT is replaced as a whole, so a file left
out with --without is never a stale copy from an earlier run.
"""

import argparse
import os
import shutil
import sys
import tempfile

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
    parser.add_argument("--installer", help="Install.exe to put beside the product files")
    args = parser.parse_args(argv)
    known = {name.lower() for name in PRODUCT_FILES + OTHER_FILES}
    unknown = [name for name in args.without if name.lower() not in known]
    if unknown:
        parser.error("--without names no file of the distribution: %s" % ", ".join(unknown))
    return args


def contents(name, programs):
    if name in BUILT_PROGRAMS:
        with open(os.path.join(programs, name), "rb") as built:
            return built.read()
    if name == "Lexaver.reg":
        return SETTINGS_SCRIPT
    if name == "Lexaver.exe.manifest":
        return MANIFEST
    return placeholder(name)


def write_distribution(out, programs, without, installer):
    left_out = {name.lower() for name in without}
    names = [name for name in PRODUCT_FILES + OTHER_FILES if name.lower() not in left_out]
    missing = [name for name in BUILT_PROGRAMS
               if name in names and not os.path.isfile(os.path.join(programs, name))]
    if missing:
        raise SystemExit("make-distribution: not built yet in %s: %s" % (programs, ", ".join(missing)))
    if installer and not os.path.isfile(installer):
        raise SystemExit("make-distribution: no installer at %s" % installer)

    parent = os.path.dirname(os.path.abspath(out))
    os.makedirs(parent, exist_ok=True)
    staging = tempfile.mkdtemp(prefix=".distribution-", dir=parent)
    try:
        for name in names:
            with open(os.path.join(staging, name), "wb") as target:
                target.write(contents(name, programs))
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
    names = write_distribution(args.out, args.programs, args.without, args.installer)
    print("%s: %d files%s" % (args.out, len(names) + (1 if args.installer else 0),
                              ", without " + ", ".join(args.without) if args.without else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
