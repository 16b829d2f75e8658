#!/usr/bin/env python3
"""Fails unless the program carries the application manifest that Windows Vista and later read:
resource type 24, id 1, asking for administrator rights in the form Windows XP SP2 loads, naming
the program's own processor, and holding nothing else.

    check-manifest.py Install.exe
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

from size_report import read_sections

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V2 = "{urn:schemas-microsoft-com:asm.v2}"


def resource(image, sections, wanted_type, wanted_id):
    """The data of the first language of a resource, or None."""
    rsrc = next((s for s in sections if s[0] == ".rsrc"), None)
    if rsrc is None:
        return None
    _, _, _, base, va = rsrc

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", image, base + offset + 12)
        for i in range(named + numbered):
            yield struct.unpack_from("<II", image, base + offset + 16 + 8 * i)

    for name, entry in entries(0):
        if name != wanted_type or not entry & 0x80000000:
            continue
        for name2, entry2 in entries(entry & 0x7FFFFFFF):
            if name2 != wanted_id or not entry2 & 0x80000000:
                continue
            for _, leaf in entries(entry2 & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", image, base + leaf)
                return image[base + rva - va:base + rva - va + size]
    return None


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    image = open(sys.argv[1], "rb").read()
    sections, _ = read_sections(image)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    machine = struct.unpack_from("<H", image, pe + 4)[0]
    processor = {0x14C: "x86", 0x8664: "amd64"}.get(machine)
    data = resource(image, sections, 24, 1)
    if data is None:
        sys.exit("no manifest (resource type 24, id 1)")
    problems = []
    root = ElementTree.fromstring(data)
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        problems.append("the root is not an asm.v1 assembly of manifest version 1.0")
    children = [child.tag for child in root]
    if children != [ASM_V1 + "assemblyIdentity", ASM_V2 + "trustInfo"]:
        problems.append("expected an assemblyIdentity and an asm.v2 trustInfo, and nothing else: %s" % children)
    identity = root.find(ASM_V1 + "assemblyIdentity")
    if identity is None or identity.get("type") != "win32" or identity.get("processorArchitecture") != processor:
        problems.append("the assembly identity does not name a win32 program for %s" % processor)
    levels = root.findall("%strustInfo/%ssecurity/%srequestedPrivileges/%srequestedExecutionLevel" % ((ASM_V2,) * 4))
    if len(levels) != 1 or levels[0].get("level") != "requireAdministrator" or levels[0].get("uiAccess") != "false":
        problems.append("no single request for administrator rights without UI access")
    for problem in problems:
        print(problem)
    if problems:
        print(data.decode("utf-8", "replace"))
        return 1
    print("manifest: administrator rights requested, for %s, nothing else" % processor)
    return 0


if __name__ == "__main__":
    sys.exit(main())
