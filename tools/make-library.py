#!/usr/bin/env python3
"""Writes a stand-in for a shared library: a copy of the resource-only template DLL with its
version set to A.B.C.D, or the DLL without version information.

    make-library.py OUT VERSION --programs DIR
    make-library.py OUT none --programs DIR

DIR holds the built LibraryTemplate.dll and LibraryNoVersion.dll. Each part of VERSION is a
number from 0 to 65535. Also importable: write_library(out, version, programs).
"""

import argparse
import os
import struct
import sys
import tempfile

TEMPLATE = "LibraryTemplate.dll"
NO_VERSION = "LibraryNoVersion.dll"
NO_VERSION_WORD = "none"

FIXED_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
# The template's version texts are padded to this many characters plus the terminating zero.
TEXT_WIDTH = len("65535.65535.65535.65535") + 1
TEXT_KEYS = ("FileVersion", "ProductVersion")


class LibraryError(Exception):
    pass


def parse_version(text):
    """(a, b, c, d) of "a.b.c.d"; None for "none"; LibraryError for anything else."""
    if text.strip().lower() == NO_VERSION_WORD:
        return None
    parts = text.split(".")
    if len(parts) != 4 or not all(p.isascii() and p.isdigit() for p in parts):
        raise LibraryError("a version is four numbers A.B.C.D (or \"none\"), not %r" % text)
    numbers = tuple(int(p) for p in parts)
    if any(n > 65535 for n in numbers):
        raise LibraryError("each part of a version is at most 65535: %r" % text)
    return numbers


def _only(data, pattern, what):
    at = data.find(pattern)
    if at < 0 or data.find(pattern, at + 1) >= 0:
        raise LibraryError("the template does not hold exactly one %s" % what)
    return at


def _set_text(data, key, text):
    """Rewrites the value of a StringFileInfo string in place: the value's length is set to the
    new text and the rest of the template's fixed-width field is filled with zeros."""
    at = _only(data, (key + "\0").encode("utf-16-le"), '"%s" text' % key)
    header = at - 6  # wLength, wValueLength, wType before the key
    length, value_length, kind = struct.unpack_from("<HHH", data, header)
    if kind != 1 or value_length != TEXT_WIDTH:
        raise LibraryError('the template\'s "%s" text is not %d characters wide' % (key, TEXT_WIDTH))
    value = header + ((6 + 2 * (len(key) + 1) + 3) & ~3)
    encoded = text.encode("utf-16-le")
    data[value:value + 2 * TEXT_WIDTH] = encoded + bytes(2 * TEXT_WIDTH - len(encoded))
    struct.pack_into("<H", data, header + 2, len(text) + 1)


def patched_template(template, version):
    """The template's bytes with `version` (four parts) as file and product version."""
    data = bytearray(template)
    fixed = _only(data, FIXED_SIGNATURE, "fixed file information block")
    most = (version[0] << 16) | version[1]
    least = (version[2] << 16) | version[3]
    # dwFileVersionMS, dwFileVersionLS, dwProductVersionMS, dwProductVersionLS
    struct.pack_into("<IIII", data, fixed + 8, most, least, most, least)
    for key in TEXT_KEYS:
        _set_text(data, key, "%d.%d.%d.%d" % version)
    return bytes(data)


def library_bytes(version, programs):
    """The file for `version`: a four-part tuple, a text "A.B.C.D" or "none"."""
    if isinstance(version, str):
        version = parse_version(version)
    name = NO_VERSION if version is None else TEMPLATE
    path = os.path.join(programs, name)
    try:
        with open(path, "rb") as built:
            data = built.read()
    except OSError:
        raise LibraryError("not built yet: %s" % path)
    return data if version is None else patched_template(data, version)


def write_library(out, version, programs):
    """Writes the library to `out` whole or not at all."""
    data = library_bytes(version, programs)
    folder = os.path.dirname(os.path.abspath(out))
    os.makedirs(folder, exist_ok=True)
    handle, staging = tempfile.mkstemp(prefix=".library-", dir=folder)
    try:
        with os.fdopen(handle, "wb") as target:
            target.write(data)
        os.replace(staging, out)
    except BaseException:
        if os.path.exists(staging):
            os.remove(staging)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out", help="the library file to write")
    parser.add_argument("version", help='A.B.C.D, each part 0 to 65535, or "none"')
    parser.add_argument("--programs", required=True, help="folder with the built library fixtures")
    args = parser.parse_args(argv)
    try:
        write_library(args.out, args.version, args.programs)
    except LibraryError as error:
        parser.exit(2, "make-library: %s\n" % error)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
