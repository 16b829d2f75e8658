"""The benchmark's proof that two installers did the same job (tools/bench/traces.py): what a run
changed in a stopped prefix's files and registry, and the differences between two such records.

    python3 -m unittest tests/tools/test_bench_traces.py
"""

import os
import shutil
import sys
import tempfile
import time
import unittest

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(REPO, "tools", "bench"))
import traces  # noqa: E402

SYSTEM = """WINE REGISTRY Version 2
;; All keys relative to \\\\Machine

#arch=win64

[Software\\\\Classes\\\\.txt] 1796817376
@="txtfile"

[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall] 1796817376

[System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment] 1796817376
"PATH"=str(2):"%SystemRoot%\\\\system32"
"""
USER = """WINE REGISTRY Version 2

[Software\\\\Lexaver\\\\App\\\\Settings] 1796817376
"File filters"="*.txt"
"Font"="Arial"

[Software\\\\Lexaver\\\\Ocx\\\\Grid] 1796817376
"Columns"=dword:00000050
"""


class PrefixCase(unittest.TestCase):
    def setUp(self):
        # Inside the build folder, as everything a test writes.
        work = os.environ.get("BENCH_TRACES_WORK") or os.path.join(REPO, "build", "tests-tools")
        os.makedirs(work, exist_ok=True)
        self.prefix = tempfile.mkdtemp(prefix="bench-traces-", dir=work)
        self.addCleanup(shutil.rmtree, self.prefix)
        self.write("drive_c/windows/win.ini", b"[windows]\r\n")
        self.write("drive_c/Program Files/Lexaver/C#.ini", b"old")
        self.write("drive_c/bench/dist/Ada.ini", b"skipped: the benchmark's inputs")
        self.write("system.reg", SYSTEM.encode())
        self.write("user.reg", USER.encode())
        self.baseline = traces.Baseline(self.prefix, ["bench"])

    def write(self, relative, content):
        path = os.path.join(self.prefix, *relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(content)
        later = time.time_ns() + 10 ** 9  # a rewrite within the clock's step still shows
        os.utime(path, ns=(later, later))

    def registry(self):
        return traces.registry_changes(self.baseline.registry, traces.read_registry(self.prefix))

    def test_files_added_changed_and_removed_and_shortcuts_read(self):
        self.write("drive_c/Program Files/Lexaver/Ada.ini", b"new")
        self.write("drive_c/windows/win.ini", b"[windows]\r\nchanged\r\n")
        self.write("drive_c/users/Public/Desktop/Lexaver.lnk", b"L\0\0\0")
        self.write("drive_c/bench/dist/Asm.ini", b"not recorded")
        os.remove(os.path.join(self.prefix, "drive_c", "Program Files", "Lexaver", "C#.ini"))
        asked = []
        found = traces.file_changes(self.baseline, lambda paths: asked.extend(paths) or [{"arguments": ""}])
        self.assertEqual(asked, ["C:\\users\\Public\\Desktop\\Lexaver.lnk"])
        self.assertEqual(found["files"], {
            "C:\\Program Files\\Lexaver\\Ada.ini": traces.file_digest(
                os.path.join(self.prefix, "drive_c", "Program Files", "Lexaver", "Ada.ini")),
            "C:\\windows\\win.ini": traces.file_digest(os.path.join(self.prefix, "drive_c", "windows", "win.ini")),
            "C:\\users\\Public\\Desktop\\Lexaver.lnk": {"shortcut": {"arguments": ""}},
            "C:\\Program Files\\Lexaver\\C#.ini": traces.REMOVED})
        self.assertEqual(found["folders"], ["C:\\users", "C:\\users\\Public", "C:\\users\\Public\\Desktop"])

    def test_registry_values_and_keys_added_changed_and_removed(self):
        # Wine leaves out of its file an empty key that has keys below it.
        uninstall = "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall"
        system = SYSTEM.replace('system32"', 'system32;C:\\\\L"').replace(uninstall + "] 1796817376\n\n", "")
        self.write("system.reg", (system + uninstall + '\\\\Lexaver] 1\n"DisplayName"="Lexaver"\n').encode())
        # The old control key went, and the settings lost a value and gained one.
        self.write("user.reg", USER.replace('"File filters"="*.txt"\n', '"Font size"=dword:0000000a\n')
                   .split("[Software\\\\Lexaver\\\\Ocx")[0].encode())
        self.assertEqual(self.registry(), {
            "HKCU\\Software\\Lexaver\\App\\Settings": {"File filters": None, "Font size": [4, 10]},
            "HKCU\\Software\\Lexaver\\Ocx\\Grid": None,
            "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexaver": {"DisplayName": [1, "Lexaver"]},
            "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment": {
                "PATH": [2, "%SystemRoot%\\system32;C:\\L"]}})

    def test_differences_name_each_place_and_none_for_the_same_job(self):
        shortcut = {"path": "C:\\L\\Lexaver.exe", "arguments": "", "working_directory": ""}
        first = {"files": {"C:\\L\\Ada.ini": "sha256:1", "C:\\D\\Lexaver.lnk": {"shortcut": shortcut}},
                 "folders": ["C:\\L"], "registry": {"HKLM\\Software\\Classes\\.txt": {"": [1, "txtfile"]}}}
        self.assertEqual(traces.differences(first, first, "setup", "NSIS"), [])
        second = {"files": {"C:\\L\\Ada.ini": "sha256:2",
                            "C:\\D\\Lexaver.lnk": {"shortcut": dict(shortcut, working_directory="C:\\windows")}},
                  "folders": ["C:\\L", "C:\\M"], "registry": {"HKLM\\Software\\Classes\\.txt": {"": [2, "txtfile"]},
                                                             "HKCU\\Software\\Lexaver\\Ocx": None}}
        found = traces.differences(first, second, "setup", "NSIS")
        self.assertEqual(len(found), 5, found)
        for expected in ["files C:\\L\\Ada.ini: 'sha256:1' after setup, 'sha256:2' after NSIS",
                         "shortcut C:\\D\\Lexaver.lnk working_directory: '' after setup, 'C:\\\\windows' after NSIS",
                         "registry HKLM\\Software\\Classes\\.txt value '': [1, 'txtfile'] after setup, "
                         "[2, 'txtfile'] after NSIS",
                         "registry HKCU\\Software\\Lexaver\\Ocx: only after NSIS: None",
                         "folder C:\\M: made only by NSIS"]:
            self.assertIn(expected, found)


if __name__ == "__main__":
    unittest.main()
