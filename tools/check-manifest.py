#!/usr/bin/env python3
"""Fails unless the program carries the application manifest that Windows Vista and later read:
resource type 24, id 1, asking for administrator rights in the form Windows XP SP2 loads, naming
the program's own processor, and holding nothing else.

    check-manifest.py Install.exe
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

from size_report import read_sections, resource_entries

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V2 = "{urn:schemas-microsoft-com:asm.v2}"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    image = open(sys.argv[1], "rb").read()
    sections, _ = read_sections(image)
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    machine = struct.unpack_from("<H", image, pe + 4)[0]
    processor = {0x14C: "x86", 0x8664: "amd64"}.get(machine)
    data = next((data for kind, name, _, data in resource_entries(image, sections)
                 if (kind, name) == (24, 1)), None)
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
