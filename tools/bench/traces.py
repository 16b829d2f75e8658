"""What an installer left on the benchmark's machine, recorded after its run, and the differences
between two such records: the proof that two candidates did the same job.

A record holds, against the state before the run (the baseline):
- files: every file below C: that the run added or changed, by the SHA-256 of its bytes (a
  shortcut by what the shell's link object reads from it instead), and every file it removed;
- folders: every folder it added;
- registry: every key of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER it added, changed or removed,
  with each value added or changed (type and data) and each value removed, read from the
  prefix's registry files once the wineserver has written them.
Records are plain JSON data, kept beside the run's transcript.
"""

import hashlib
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "tests", "scenarios"))
import regfile  # noqa: E402

REMOVED = "removed"
# Wine's own, whatever program runs: its display driver writes the display adapter and monitor
# classes anew (dates, links) whenever its desktop starts, and the empty list of network cards is
# gone from its files after every start.
IGNORED_KEYS = ("hklm\\system\\currentcontrolset\\control\\class\\{4d36e968-e325-11ce-bfc1-08002be10318}",
                "hklm\\system\\currentcontrolset\\control\\class\\{4d36e96e-e325-11ce-bfc1-08002be10318}",
                "hklm\\software\\microsoft\\windows nt\\currentversion\\networkcards")


def file_digest(path):
    if os.path.islink(path):
        return "link:" + os.readlink(path)
    digest = hashlib.sha256()
    with open(path, "rb") as data:
        for chunk in iter(lambda: data.read(1 << 20), b""):
            digest.update(chunk)
    return "sha256:" + digest.hexdigest()


class Baseline:
    """The machine before a run: every file's size and time, every folder, the registry."""

    def __init__(self, prefix_path, skipped):
        self.prefix_path = prefix_path
        self.drive_c = os.path.join(prefix_path, "drive_c")
        self.skipped = {os.path.join(self.drive_c, name) for name in skipped}
        self.files, self.folders = self.listing()
        self.registry = read_registry(prefix_path)

    def listing(self):
        """({C: path: (size, mtime_ns)} of the files, {C: path} of the folders)."""
        files, folders = {}, set()
        for folder, subfolders, names in os.walk(self.drive_c):
            subfolders[:] = [name for name in subfolders if os.path.join(folder, name) not in self.skipped]
            for name in subfolders:
                folders.add(self.windows(os.path.join(folder, name)))
            for name in names:
                path = os.path.join(folder, name)
                if os.path.isfile(path) or os.path.islink(path):
                    status = os.lstat(path)
                    files[self.windows(path)] = (status.st_size, status.st_mtime_ns)
        return files, folders

    def windows(self, unix):
        return "C:\\" + os.path.relpath(unix, self.drive_c).replace("/", "\\")

    def unix(self, windows):
        return os.path.join(self.drive_c, *windows[3:].split("\\"))

    def changed_files(self):
        """(files added or changed, files removed, folders added) since the baseline."""
        files, folders = self.listing()
        changed = sorted(path for path, status in files.items() if self.files.get(path) != status)
        removed = sorted(path for path in self.files if path not in files)
        return changed, removed, sorted(folders - self.folders)


def read_registry(prefix_path):
    """{"HKLM\\key" in lower case: (key as stored, {value name in lower case: (name, type, data)})}."""
    keys = {}
    for root, file_name in regfile.ROOT_FILES.items():
        for lower, (name, values) in regfile.read_reg_file(os.path.join(prefix_path, file_name)).items():
            keys[root.lower() + "\\" + lower] = (
                root + "\\" + name,
                {value_lower: (value_name, value.kind, _plain(value.data))
                 for value_lower, (value_name, value) in values.items()})
    return keys


def _plain(data):
    return data.hex() if isinstance(data, bytes) else data


def registry_changes(before, after):
    """{key: None when removed, else {value name: [type, data], or None when removed}}; a key
    added without values is there with {}."""
    changes = {}
    for lower in sorted(set(before) | set(after)):
        if lower.startswith(IGNORED_KEYS):
            continue
        if lower not in after:
            if not _has_subkey(after, lower):
                changes[before[lower][0]] = None
                continue
            after_entry = (before[lower][0], {})
        else:
            after_entry = after[lower]
        name, values = after_entry
        old = before[lower][1] if lower in before else ({} if _has_subkey(before, lower) else None)
        if old == values:
            continue
        diff = {}
        for value_lower in sorted(set(old or {}) | set(values)):
            if value_lower not in values:
                diff[old[value_lower][0]] = None
            elif old is None or old.get(value_lower) != values[value_lower]:
                value_name, kind, data = values[value_lower]
                diff[value_name] = [kind, data]
        changes[name] = diff
    return changes


def _has_subkey(keys, lower):
    """Wine's registry files leave out a key that has no values but has keys below it."""
    prefix = lower + "\\"
    return any(key.startswith(prefix) for key in keys)


def file_changes(baseline, read_shortcuts):
    """The files and folders part of a record. `read_shortcuts` takes C: paths of .lnk files and
    returns what the link object reads from each (the wineserver must still run)."""
    changed, removed, folders = baseline.changed_files()
    links = [path for path in changed if path.lower().endswith(".lnk")]
    shortcuts = dict(zip(links, read_shortcuts(links))) if links else {}
    files = {}
    for path in changed:
        files[path] = {"shortcut": shortcuts[path]} if path in shortcuts else file_digest(baseline.unix(path))
    files.update({path: REMOVED for path in removed})
    return {"files": files, "folders": folders}


def differences(a, b, name_a, name_b):
    """Lines telling each place where two records differ; none when the same job was done."""
    lines = []
    for section in ("files", "registry"):
        first, second = a[section], b[section]
        for item in sorted(set(first) | set(second)):
            if item not in second:
                lines.append("%s %s: only after %s: %s" % (section, item, name_a, _shown(first[item])))
            elif item not in first:
                lines.append("%s %s: only after %s: %s" % (section, item, name_b, _shown(second[item])))
            elif section == "registry" and first[item] is not None and second[item] is not None:
                for value in sorted(set(first[item]) | set(second[item])):
                    if first[item].get(value, "absent") != second[item].get(value, "absent"):
                        lines.append("registry %s value %r: %s after %s, %s after %s" % (
                            item, value, _shown(first[item].get(value, "absent")), name_a,
                            _shown(second[item].get(value, "absent")), name_b))
            elif _is_shortcut(first[item]) and _is_shortcut(second[item]):
                one, other = first[item]["shortcut"], second[item]["shortcut"]
                for field in sorted(set(one) | set(other)):
                    if one.get(field) != other.get(field):
                        lines.append("shortcut %s %s: %r after %s, %r after %s" % (
                            item, field, one.get(field), name_a, other.get(field), name_b))
            elif first[item] != second[item]:
                lines.append("%s %s: %s after %s, %s after %s" % (
                    section, item, _shown(first[item]), name_a, _shown(second[item]), name_b))
    for folder in sorted(set(a["folders"]) ^ set(b["folders"])):
        lines.append("folder %s: made only by %s" % (folder, name_a if folder in a["folders"] else name_b))
    return lines


def _is_shortcut(item):
    return isinstance(item, dict) and isinstance(item.get("shortcut"), dict)


def _shown(item):
    text = repr(item)
    return text if len(text) <= 300 else text[:300] + "..."
