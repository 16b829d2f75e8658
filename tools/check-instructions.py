#!/usr/bin/env python3
"""Fails when the release holds an instruction that an 80386 without a coprocessor cannot run.

    check-instructions.py Install.exe Install.map [Install.full.exe]

Every executable section is disassembled; each instruction must be one of the 80386's integer
instructions (the list below), with no MMX or SSE register. Each other one is named with its
address and, from the link map, the nearest symbol before it and the object that brought it; the
unstripped copy, when its code is byte for byte the release's, names the functions that link-time
optimisation merged into one object.
The lists of static constructors and destructors and the tables after them at the end of .text
are data, not code: they are left out.
"""
import bisect
import os
import re
import subprocess
import sys

# The 80386's instruction set as objdump names it in Intel syntax, string forms included; no x87
# (every F mnemonic and WAIT), nothing of the 486 (BSWAP, CMPXCHG, XADD, INVD, WBINVD, INVLPG),
# the Pentium (CPUID, RDTSC, CMPXCHG8B, RDMSR, WRMSR) or later (CMOVcc, multi-byte NOP, UD2, ...).
I386 = set("""
aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cwde cwd cdq clc cld cli
clts cmc cmp cmpsb cmpsw cmpsd cmps daa das dec div enter hlt idiv imul in inc insb insw insd ins
int int3 into iret iretd iretw jmp jcxz jecxz lahf lar lds lea leave les lfs lgdt lgs lidt lldt
lmsw lodsb lodsw lodsd lods loop loope loopne loopz loopnz lsl lss ltr mov movsb movsw movsd movs
movsx movzx mul neg nop not or out outsb outsw outsd outs pop popa popad popaw popf popfd popfw
push pusha pushad pushaw pushf pushfd pushfw rcl rcr ret retf rol ror sahf sal sar sbb scasb scasw
scasd scas sgdt shl shld shr shrd sidt sldt smsw stc std sti stosb stosw stosd stos str sub test
verr verw xchg xlat xlatb xor
""".split())
CONDITIONS = "o no b c nae ae nb nc e z ne nz be na a nbe s ns p pe np po l nge ge nl le ng g nle".split()
I386 |= {"j" + c for c in CONDITIONS} | {"set" + c for c in CONDITIONS}
PREFIXES = {"lock", "rep", "repe", "repz", "repne", "repnz", "cs", "ds", "es", "fs", "gs", "ss",
            "data16", "addr16"}
LATER_REGISTERS = re.compile(r"\b([xyz]?mm\d+|k[0-7])\b")
LINE = re.compile(r"^\s*([0-9a-f]+):\s+(.*)$")


def run(args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def symbols_from_map(map_path):
    """(address, name, object) of each symbol the map lists, sorted, and the constructor list's address."""
    symbols = []
    ctor_list = None
    current_object = ""
    with open(map_path, encoding="utf-8", errors="replace") as mapping:
        for line in mapping:
            # An input section: on one line with its name, or on the line after a long name.
            section = re.match(r"^(?: \.[\w.$]+)?\s+0x([0-9a-f]+)\s+0x[0-9a-f]+\s+(\S.*)$", line)
            if section:
                current_object = os.path.basename(section.group(2))
                continue
            symbol = re.match(r"^\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if not symbol or symbol.group(2).startswith(("0x", "LONG", "*fill*")):
                continue
            name = symbol.group(2).strip()
            address = int(symbol.group(1), 16)
            if name.startswith("___CTOR_LIST__ = .") or name == "___CTOR_LIST__":
                ctor_list = address
            if "=" in name or name.startswith(("[", "PROVIDE")):
                continue
            symbols.append((address, name, current_object))
    symbols.sort()
    return symbols, ctor_list


def symbols_from_copy(exe, copy):
    """(address, name, "") of the unstripped copy's functions, when its code is the release's."""
    texts = []
    for image in (exe, copy):
        out = os.path.join(os.path.dirname(os.path.abspath(copy)), os.path.basename(image) + ".text")
        run([OBJCOPY, "-O", "binary", "--only-section=.text", image, out])
        with open(out, "rb") as text:
            texts.append(text.read())
        os.remove(out)
    if texts[0] != texts[1]:
        print(f"note: {copy} has other code than {exe}; names from the map alone")
        return []
    symbols = []
    for line in run([NM, "-C", "--defined-only", copy]).splitlines():
        fields = line.split(maxsplit=2)
        if len(fields) == 3 and fields[1] in "tT" and not fields[2].startswith("."):
            symbols.append((int(fields[0], 16), fields[2], ""))
    return symbols


def executable_sections(exe):
    """(name, start, end) of each section flagged as code."""
    sections = []
    lines = run([OBJDUMP, "-h", exe]).splitlines()
    for i, line in enumerate(lines):
        fields = line.split()
        if len(fields) >= 6 and fields[0].isdigit() and i + 1 < len(lines) and "CODE" in lines[i + 1]:
            start = int(fields[3], 16)
            sections.append((fields[1], start, start + int(fields[2], 16)))
    return sections


def offending(text):
    """Why an instruction (mnemonic and operands, as disassembled) is not the 80386's, or None."""
    words = text.split()
    while words and words[0] in PREFIXES:
        words = words[1:]
    if not words:
        return None
    mnemonic, operands = words[0], " ".join(words[1:])
    if mnemonic not in I386:
        return "x87 instruction" if mnemonic.startswith("f") or mnemonic == "wait" else "not an 80386 instruction"
    if mnemonic == "nop" and operands:
        return "multi-byte NOP (Pentium Pro)"
    if LATER_REGISTERS.search(operands):
        return "MMX or SSE register"
    return None


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    exe, map_path = sys.argv[1:3]
    symbols, ctor_list = symbols_from_map(map_path)
    if len(sys.argv) == 4 and os.path.exists(sys.argv[3]):
        symbols = sorted(symbols + symbols_from_copy(exe, sys.argv[3]))
    if ctor_list is None:
        sys.exit(f"{map_path}: no ___CTOR_LIST__, cannot tell code from the tables after it")
    addresses = [s[0] for s in symbols]
    found = []
    checked = 0
    for name, start, end in executable_sections(exe):
        code_end = ctor_list if start <= ctor_list < end else end
        listing = run([OBJDUMP, "-d", "-M", "intel", "--no-show-raw-insn", "-w", "-j", name, exe])
        for line in listing.splitlines():
            match = LINE.match(line)
            if not match:
                continue
            address = int(match.group(1), 16)
            if address >= code_end:
                break
            text = match.group(2).split("#")[0].strip()
            checked += 1
            reason = offending(text)
            if reason:
                at = bisect.bisect_right(addresses, address) - 1
                where = "?"
                if at >= 0:
                    origin = f" ({symbols[at][2]})" if symbols[at][2] else ""
                    where = f"{symbols[at][1]}+0x{address - symbols[at][0]:x}{origin}"
                found.append(f"0x{address:08x}  {text:<40}  {reason}; in {where}")
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} of {checked} instructions need more than an 80386 without a coprocessor")
        return 1
    print(f"all {checked} instructions run on an 80386 without a coprocessor")
    return 0


OBJDUMP = os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump")
OBJCOPY = os.environ.get("OBJCOPY", "i686-w64-mingw32-objcopy")
NM = os.environ.get("NM", "i686-w64-mingw32-nm")
if __name__ == "__main__":
    sys.exit(main())
