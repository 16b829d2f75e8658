#!/usr/bin/env python3
"""What a setup run did with the four shared libraries of a Wine prefix's system folder: copied,
queued for replacement at the next restart, or left alone.

    library-outcome.py snapshot PREFIX STATE.json        before the run
    library-outcome.py report PREFIX STATE.json DIST     after it, once the prefix's wineserver has
                                                         ended (it writes the registry files then)

Reads files only, never starts Wine: a new wineserver would carry out the queued moves first.
"""

import hashlib
import json
import os
import struct
import sys

TOOLS = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(TOOLS, "..", "tests", "scenarios"))
import regfile  # noqa: E402
from toolmodule import load_tool  # noqa: E402

SESSION_MANAGER = ["System\\CurrentControlSet\\Control\\Session Manager",
                   "System\\ControlSet001\\Control\\Session Manager"]


LIBRARIES = list(load_tool("make-distribution").LIBRARIES)


def find(folder, name):
    """The file of that name in `folder`, whatever its case, or None."""
    try:
        matches = [n for n in os.listdir(folder) if n.lower() == name.lower()]
    except OSError:
        return None
    return os.path.join(folder, matches[0]) if matches else None


def file_version(data):
    """The four parts of the fixed version information in the file's bytes, or None."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0 or at + 16 > len(data):
        return None
    most, least = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def describe(path):
    if not path or not os.path.isfile(path):
        return None
    with open(path, "rb") as source:
        data = source.read()
    return {"sha256": hashlib.sha256(data).hexdigest(), "version": file_version(data)}


def system_folder(prefix):
    return os.path.join(prefix, "drive_c", "windows", "system32")


def state(prefix):
    return {name: describe(find(system_folder(prefix), name)) for name in LIBRARIES}


def pending_renames(prefix):
    """{lower-case file name: (how, source)} of the replacements queued for the next start: NT's
    PendingFileRenameOperations and the [rename] lines of Windows 95/98's Wininit.ini."""
    queued = {}
    keys = regfile.read_reg_file(os.path.join(prefix, "system.reg"))
    for key in SESSION_MANAGER:
        entry = keys.get(key.lower())
        value = entry[1].get("pendingfilerenameoperations") if entry else None
        if value:
            parts = value[1].data.split("\0")
            for source, target in zip(parts[0::2], parts[1::2]):
                if target:
                    name = target.lstrip("!").replace("\\??\\", "").split("\\")[-1].lower()
                    queued[name] = ("queued move", source.replace("\\??\\", ""))
            break
    wininit = find(os.path.join(prefix, "drive_c", "windows"), "wininit.ini")
    if wininit:
        section = None
        for line in open(wininit, encoding="latin-1").read().splitlines():
            line = line.strip()
            if line.startswith("["):
                section = line.lower()
            elif section == "[rename]" and "=" in line:
                target, source = line.split("=", 1)
                if target.upper() != "NUL":
                    queued[target.split("\\")[-1].lower()] = ("Wininit.ini", source)
    return queued


def report(prefix, before, distribution):
    queued = pending_renames(prefix)
    after = state(prefix)
    lines = []
    for name in LIBRARIES:
        carried = describe(find(distribution, name))
        was, now = before.get(name), after[name]
        if name.lower() in queued:
            how, source = queued[name.lower()]
            outcome = "queued for replacement at the next restart (%s of %s)" % (how, source)
        elif now != was:
            same = carried and now and carried["sha256"] == now["sha256"]
            outcome = "copied" + (" (the distribution's copy)" if same else " (but not the distribution's copy)")
        else:
            outcome = "left alone"
        version = lambda d: "none" if d is None else (d["version"] or "no version information")
        lines.append("%-13s %s; carried %s, installed before %s, now %s" % (
            name, outcome, version(carried), version(was), version(now)))
    return lines


def main(argv):
    if len(argv) == 3 and argv[0] == "snapshot":
        with open(argv[2], "w") as out:
            json.dump(state(argv[1]), out)
        return 0
    if len(argv) == 4 and argv[0] == "report":
        with open(argv[2]) as saved:
            before = json.load(saved)
        print("\n".join(report(argv[1], before, argv[3])))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
