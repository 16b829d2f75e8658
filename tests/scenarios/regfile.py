"""Wine's registry files (user.reg, system.reg) of a prefix that is not running: read them, and
append keys before the first Wine process of a fresh prefix starts (faster than running reg.exe)."""

import re
import time

ROOT_FILES = {"HKCU": "user.reg", "HKLM": "system.reg"}

REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 1, 2, 3, 4, 7


class RegistryValue:
    def __init__(self, kind, data):
        self.kind = kind    # REG_SZ, REG_DWORD, ...
        self.data = data    # str for strings, int for dwords, bytes otherwise

    def __repr__(self):
        return "RegistryValue(%d, %r)" % (self.kind, self.data)


# On 64-bit Windows a 32-bit program's HKLM\Software is Software\Wow6432Node, but for the keys that
# both widths share, which Wine's registry files hold as links (Windows 7 and later share the same
# ones); of the classes, these alone have a 32-bit copy of their own.
REDIRECTED_CLASSES = ("clsid", "directshow", "interface", "media type", "mediafoundation", "typelib")
REG_LINK = 6


def link_target(keys, path):
    """The key path a link key of `keys` (read_reg_file) leads to, or None."""
    entry = keys.get(path.lower())
    value = entry[1].get("symboliclinkvalue") if entry else None
    if not value or value[1].kind != REG_LINK:
        return None
    target = value[1].data.decode("utf-16-le")
    machine = "\\registry\\machine\\"
    return target[len(machine):] if target.lower().startswith(machine) else None


def view32(root, key, keys):
    """Where the registry file `keys` holds the key that a 32-bit program on 64-bit Windows names."""
    parts = key.split("\\")
    if root != "HKLM" or len(parts) < 2 or parts[0].lower() != "software":
        return key
    if parts[1].lower() == "classes":
        if len(parts) > 2 and parts[2].lower() in REDIRECTED_CLASSES:
            return "\\".join(parts[:2] + ["Wow6432Node"] + parts[2:])
        return key
    redirected = parts[:1] + ["Wow6432Node"] + parts[1:]
    for length in range(len(redirected), 2, -1):
        target = link_target(keys, "\\".join(redirected[:length]))
        if target:
            return "\\".join([target] + redirected[length:])
    return "\\".join(redirected)


def _unescape(text, start, end='"'):
    """Reads an escaped text from `start` up to the unescaped `end`; returns (text, index after)."""
    out = []
    i = start
    while i < len(text):
        c = text[i]
        if c == end:
            return "".join(out), i + 1
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x":
                digits = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
                if digits:
                    out.append(chr(int(digits.group(0), 16)))
                    i += 2 + len(digits.group(0))
                    continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    raise ValueError("unterminated string")


def _hex_bytes(text):
    return bytes(int(part, 16) for part in text.replace("\\", "").split(",") if part.strip())


def _parse_value(text):
    if text.startswith('"'):
        return RegistryValue(REG_SZ, _unescape(text, 1)[0])
    typed = re.match(r'str\(([0-9a-fA-F]+)\):"', text)
    if typed:  # str(2) for REG_EXPAND_SZ, str(7) for REG_MULTI_SZ (with "\0" between the strings)
        data = _unescape(text, typed.end())[0]
        code = int(typed.group(1), 16)
        return RegistryValue(code, data.rstrip("\0") if code == REG_MULTI_SZ else data)
    if text.startswith("dword:"):
        return RegistryValue(REG_DWORD, int(text[6:14], 16))
    kind = re.match(r"hex(?:\(([0-9a-fA-F]+)\))?:(.*)", text, re.S)
    if kind:
        code = int(kind.group(1), 16) if kind.group(1) else REG_BINARY
        raw = _hex_bytes(kind.group(2))
        if code in (REG_EXPAND_SZ, REG_MULTI_SZ, REG_SZ):
            return RegistryValue(code, raw.decode("utf-16-le").rstrip("\0"))
        return RegistryValue(code, raw)
    return RegistryValue(0, text)


def read_reg_file(path):
    """Returns {key path in lower case: (key path, {value name in lower case: (name, RegistryValue)})}.
    The default value has the name ''."""
    keys = {}
    current = None
    with open(path, encoding="utf-8", errors="surrogateescape") as reg:
        lines = reg.read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        while line.endswith("\\") and i + 1 < len(lines):  # hex lists go on over several lines
            i += 1
            line = line[:-1] + lines[i].strip()
        i += 1
        if line.startswith("["):
            name = _unescape(line, 1, "]")[0]
            current = keys.setdefault(name.lower(), (name, {}))[1]
        elif current is not None and (line.startswith('"') or line.startswith("@=")):
            if line.startswith("@="):
                name, rest = "", line[2:]
            else:
                name, after = _unescape(line, 1)
                rest = line[after + 1:]  # past the "="
            current[name.lower()] = (name, _parse_value(rest))
    return keys


def escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def append_values(path, key, values):
    """Adds `values` ({name: str, int or a REG_EXPAND_SZ RegistryValue}) under `key` at the end of a
    registry file. Wine reads a key that stands twice as one, the later values winning."""
    stamp = int(time.time())
    lines = ["", "[%s] %d" % (escape(key), stamp)]
    for name, value in values.items():
        quoted = '@' if name == "" else '"%s"' % escape(name)
        if isinstance(value, RegistryValue) and value.kind == REG_EXPAND_SZ:
            lines.append('%s=str(2):"%s"' % (quoted, escape(value.data)))
        elif isinstance(value, int):
            lines.append("%s=dword:%08x" % (quoted, value))
        else:
            lines.append('%s="%s"' % (quoted, escape(value)))
    with open(path, "a", encoding="utf-8") as reg:
        reg.write("\n".join(lines) + "\n")
