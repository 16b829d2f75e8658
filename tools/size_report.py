#!/usr/bin/env python3
"""Where the bytes of Install.exe go: sections, resources, and the largest contributors by object and
by symbol, read from the image, the linker map and the unstripped copy beside it.

    size_report.py BUILD_FOLDER [--top N]
"""
import argparse
import collections
import os
import re
import struct
import subprocess
import sys

RESOURCE_TYPES = {1: "cursor", 2: "bitmap", 3: "icon", 4: "menu", 5: "dialog", 6: "string table",
                  12: "cursor group", 14: "icon group", 16: "version", 24: "manifest"}
LANGUAGES = {0: "neutral", 0x409: "English", 0x40C: "French", 0x410: "Italian", 0x419: "Russian",
             0x816: "Portuguese"}


def read_sections(image):
    """(name, virtual size, raw size, raw offset, virtual address) of each section, and the file alignment."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    count = struct.unpack_from("<H", image, pe + 6)[0]
    optional_size = struct.unpack_from("<H", image, pe + 20)[0]
    file_alignment = struct.unpack_from("<I", image, pe + 24 + 36)[0]
    table = pe + 24 + optional_size
    sections = []
    for i in range(count):
        name, vsize, va, rsize, roffset = struct.unpack_from("<8sIIII", image, table + 40 * i)
        sections.append((name.rstrip(b"\0").decode("ascii", "replace"), vsize, rsize, roffset, va))
    return sections, file_alignment


def resource_entries(image, sections):
    """(type, name, language, data) of each resource; a named level is "named"."""
    rsrc = next((s for s in sections if s[0] == ".rsrc"), None)
    if rsrc is None:
        return
    _, _, _, base, va = rsrc

    def walk(offset, path):
        named, numbered = struct.unpack_from("<HH", image, base + offset + 12)
        for i in range(named + numbered):
            name, entry = struct.unpack_from("<II", image, base + offset + 16 + 8 * i)
            key = "named" if name & 0x80000000 else name
            if entry & 0x80000000:
                yield from walk(entry & 0x7FFFFFFF, path + [key])
            else:
                rva, size = struct.unpack_from("<II", image, base + entry)
                yield (*path, key, image[base + rva - va:base + rva - va + size])

    yield from walk(0, [])


def read_resources(image, sections):
    """Bytes of resource data by (type, language)."""
    totals = collections.Counter()
    for kind, _, language, data in resource_entries(image, sections):
        totals[(kind, language)] += len(data)
    return totals


def contributor_name(path):
    member = re.match(r".*/([^/]+\.a)\((.+)\)$", path)
    if member:
        return f"{member.group(1)}({member.group(2)})"
    if path == "dll stuff":
        return "linker-made"
    if re.search(r"ltrans\d*\.ltrans\.o$", path):
        return "setup's own code (after link-time optimisation)"
    return os.path.basename(path)


def component(name, section):
    if section == ".rsrc":
        return "resources: texts, dialogs, icons, cursor, version"
    if section.startswith(".idata"):
        return "import tables"
    if section == ".reloc":
        return "relocations (for address space layout randomisation)"
    if name.startswith("setup's own") or re.match(r"lib(installlib|installcore|framework)\.a|objects\.a", name):
        return "setup's own code and data"
    if name.startswith("libstdc++.a"):
        return "C++ runtime: exception handling and type information"
    if name.startswith("libgcc_eh.a"):
        return "exception unwinder"
    if name.startswith(("libmingw", "crt", "libmsvcrt", "libgcc.a", "crtbegin", "crtend")):
        return "C runtime start-up and helpers"
    return "other"


def read_map(path):
    """Bytes by (contributor, output section), from the input sections the linker placed."""
    sizes = collections.Counter()
    placed = False
    pending = None
    output = ""
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            if not placed:
                placed = line.startswith("Linker script and memory map")
                continue
            if line.startswith("."):
                output = line.split()[0]
                continue
            whole = re.match(r"^ (\.[\w$.]+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if whole:
                pending = None
                name, size, source = whole.group(1), int(whole.group(3), 16), whole.group(4).strip()
            else:
                alone = re.match(r"^ (\.[\w$.]+)\s*$", line)
                if alone:
                    pending = alone.group(1)
                    continue
                rest = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
                if not (rest and pending):
                    pending = None
                    continue
                pending = None
                size, source = int(rest.group(2), 16), rest.group(3).strip()
            if size and not output.startswith((".debug", ".bss")):
                sizes[(contributor_name(source), output)] += size
    return sizes


def read_symbols(unstripped):
    try:
        text = subprocess.run(["i686-w64-mingw32-nm", "-S", "--size-sort", "-C", unstripped],
                              capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return []
    symbols = []
    for line in text.splitlines():
        parts = line.split(" ", 3)
        if len(parts) == 4 and parts[2] in "tTrRdD" and not parts[3].startswith("."):
            symbols.append((int(parts[1], 16), parts[2].lower() == "t", parts[3]))
    symbols.sort(reverse=True)
    return symbols


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--top", type=int, default=25)
    parser.add_argument("--budget", type=int, default=0)
    args = parser.parse_args()
    exe = os.path.join(args.build, "Install.exe")
    image = open(exe, "rb").read()
    sections, alignment = read_sections(image)

    budget = f" (budget {args.budget:,} bytes: {'within' if len(image) <= args.budget else 'OVER'})" if args.budget else ""
    print(f"{exe}: {len(image):,} bytes{budget}\n")
    print("Sections                 in memory    on file   padding")
    used = sum(min(v, r) for _, v, r, _, _ in sections if r)
    for name, vsize, rsize, _, _ in sections:
        padding = rsize - vsize if rsize > vsize else 0
        print(f"  {name:<20} {vsize:>10,} {rsize:>10,} {padding:>9,}")
    headers = min(s[3] for s in sections if s[2]) if sections else 0
    print(f"  {'headers':<20} {'':>10} {headers:>10,}")
    print(f"  ({used:,} bytes of contents; the rest is headers and padding to the {alignment}-byte file alignment)\n")

    resources = read_resources(image, sections)
    if resources:
        by_type = collections.Counter()
        by_language = collections.Counter()
        for (kind, language), size in resources.items():
            by_type[RESOURCE_TYPES.get(kind, str(kind))] += size
            by_language[LANGUAGES.get(language, hex(language) if isinstance(language, int) else language)] += size
        print("Resources by type:     " + ", ".join(f"{k} {v:,}" for k, v in by_type.most_common()))
        print("Resources by language: " + ", ".join(f"{k} {v:,}" for k, v in by_language.most_common()) + "\n")

    map_path = os.path.join(args.build, "Install.map")
    if os.path.exists(map_path):
        sizes = read_map(map_path)
        by_contributor = collections.Counter()
        by_component = collections.Counter()
        detail = collections.defaultdict(collections.Counter)
        for (who, section), size in sizes.items():
            by_contributor[who] += size
            by_component[component(who, section)] += size
            detail[who][section] += size
        print("By component (from the linker map)")
        for name, size in by_component.most_common():
            print(f"  {size:>9,}  {name}")
        print(f"\nLargest contributors by object (top {args.top})")
        for who, size in by_contributor.most_common(args.top):
            parts = ", ".join(f"{s} {n:,}" for s, n in detail[who].most_common(4))
            print(f"  {size:>9,}  {who}  [{parts}]")
    else:
        print(f"(no linker map at {map_path})")

    symbols = read_symbols(os.path.join(args.build, "Install.full.exe"))
    if symbols:
        print(f"\nLargest symbols (top {args.top}, from the unstripped copy Install.full.exe)")
        for size, is_code, name in symbols[:args.top]:
            print(f"  {size:>9,}  {'code' if is_code else 'data'}  {name[:100]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
