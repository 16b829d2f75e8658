"""The library stand-ins and what the demo reports about them: tools/make-library.py,
tools/make-distribution.py's libraries and tools/library-outcome.py, on the built fixtures.

    LIBRARY_FIXTURES=build/NAME/sample python3 -m unittest tests/tools/test_library_tools.py
"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(REPO, "tools"))
from toolmodule import load_tool  # noqa: E402

PROGRAMS = os.environ.get("LIBRARY_FIXTURES", os.path.join(REPO, "build", "windows", "sample"))


make_library = load_tool("make-library")
make_distribution = load_tool("make-distribution")
library_outcome = load_tool("library-outcome")


def fixed_versions(data):
    """(file MS, file LS, product MS, product LS) of the only fixed information block."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    assert at >= 0 and data.find(struct.pack("<I", 0xFEEF04BD), at + 1) < 0
    return struct.unpack_from("<IIII", data, at + 8)


def version_text(data, key):
    """A StringFileInfo value as a reader sees it: wValueLength characters, up to the zero."""
    at = data.find((key + "\0").encode("utf-16-le")) - 6
    _, length, _ = struct.unpack_from("<HHH", data, at)
    value = at + ((6 + 2 * (len(key) + 1) + 3) & ~3)
    return data[value:value + 2 * length].decode("utf-16-le")


class Folder(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(os.path.join(PROGRAMS, make_library.TEMPLATE)):
            self.skipTest("library fixtures not built in %s" % PROGRAMS)
        self.folder = tempfile.TemporaryDirectory(dir=os.path.join(PROGRAMS, ".."))
        self.path = self.folder.name

    def tearDown(self):
        self.folder.cleanup()


class MakeLibrary(Folder):
    def test_the_version_goes_into_the_fixed_block_and_the_texts_keeping_the_size(self):
        template = open(os.path.join(PROGRAMS, make_library.TEMPLATE), "rb").read()
        data = make_library.library_bytes("40000.32768.8637.65535", PROGRAMS)
        self.assertEqual(len(template), len(data))
        self.assertEqual((40000 << 16 | 32768, 8637 << 16 | 65535) * 2, fixed_versions(data))
        self.assertEqual("40000.32768.8637.65535\0", version_text(data, "FileVersion"))
        self.assertEqual("40000.32768.8637.65535\0", version_text(data, "ProductVersion"))
        self.assertEqual("0.0.0.0\0", version_text(make_library.library_bytes("0.0.0.0", PROGRAMS), "FileVersion"))

    def test_none_is_the_library_without_version_information(self):
        data = make_library.library_bytes("none", PROGRAMS)
        self.assertEqual(open(os.path.join(PROGRAMS, make_library.NO_VERSION), "rb").read(), data)
        self.assertEqual(-1, data.find(struct.pack("<I", 0xFEEF04BD)))

    def test_versions_other_than_four_parts_up_to_65535_are_refused_and_nothing_is_written(self):
        out = os.path.join(self.path, "Mfc42.dll")
        open(out, "wb").write(b"before")
        for bad in ("1.2.3", "1.2.3.4.5", "1.2.3.65536", "-1.2.3.4", "1.2.3.x", "1..2.3", "", "\u0661.2.3.4"):
            with self.assertRaises(make_library.LibraryError, msg=bad):
                make_library.write_library(out, bad, PROGRAMS)
        self.assertEqual(b"before", open(out, "rb").read())
        self.assertEqual(["Mfc42.dll"], os.listdir(self.path))
        command = [sys.executable, os.path.join(REPO, "tools", "make-library.py"), out, "4.21", "--programs", PROGRAMS]
        result = subprocess.run(command, capture_output=True, text=True)
        self.assertEqual(2, result.returncode)
        self.assertIn("four numbers", result.stderr)


class DistributionLibraries(Folder):
    def run_tool(self, *options):
        command = [sys.executable, os.path.join(REPO, "tools", "make-distribution.py"),
                   os.path.join(self.path, "dist"), "--programs", PROGRAMS] + list(options)
        return subprocess.run(command, capture_output=True, text=True)

    def version_of(self, name):
        data = open(os.path.join(self.path, "dist", name), "rb").read()
        return library_outcome.file_version(data)

    def test_carries_the_four_libraries_at_their_versions_by_default(self):
        self.assertEqual(0, self.run_tool().returncode)
        for name, version in make_distribution.LIBRARIES.items():
            self.assertEqual(version, self.version_of(name))

    def test_another_version_none_and_left_out(self):
        result = self.run_tool("--library", "mfc42.dll=4.20.9.0", "--library", "Oleaut32.dll=none",
                               "--without", "Msvcrt.dll")
        self.assertEqual(0, result.returncode, result.stderr)
        self.assertEqual("4.20.9.0", self.version_of("Mfc42.dll"))
        self.assertIsNone(self.version_of("Oleaut32.dll"))
        self.assertFalse(os.path.exists(os.path.join(self.path, "dist", "Msvcrt.dll")))
        self.assertEqual(make_distribution.LIBRARIES["Olepro32.dll"], self.version_of("Olepro32.dll"))

    def test_refuses_unknown_libraries_bad_versions_and_a_library_both_left_out_and_given(self):
        for options in (["--library", "Comctl32.dll=1.2.3.4"], ["--library", "Mfc42.dll"],
                        ["--library", "Mfc42.dll=1.2.3"],
                        ["--without", "Mfc42.dll", "--library", "Mfc42.dll=1.2.3.4"]):
            result = self.run_tool(*options)
            self.assertEqual(2, result.returncode, options)
            self.assertIn("error:", result.stderr)
            self.assertFalse(os.path.exists(os.path.join(self.path, "dist")), options)


class LibraryOutcome(Folder):
    def test_tells_copied_queued_and_left_alone(self):
        prefix = os.path.join(self.path, "prefix")
        system = os.path.join(prefix, "drive_c", "windows", "system32")
        os.makedirs(system)
        for name in ("msvcrt.dll", "oleaut32.dll", "olepro32.dll"):
            open(os.path.join(system, name), "wb").write(make_library.library_bytes("1.0.0.0", PROGRAMS))
        before = json.loads(json.dumps(library_outcome.state(prefix)))
        dist = os.path.join(self.path, "dist")
        make_distribution.write_distribution(dist, PROGRAMS, [], None)
        make_library.write_library(os.path.join(system, "Mfc42.dll"), "6.0.8168.0", PROGRAMS)
        # As Wine writes them: a REG_MULTI_SZ as str(7), and Wininit.ini's short paths.
        with open(os.path.join(prefix, "system.reg"), "w") as reg:
            reg.write('[System\\\\CurrentControlSet\\\\Control\\\\Session Manager] 1\n'
                      '"PendingFileRenameOperations"=str(7):"\\\\??\\\\C:\\\\windows\\\\system32\\\\tem1.tmp\\0'
                      '!\\\\??\\\\C:\\\\windows\\\\system32\\\\oleaut32.dll\\0"\n')
        with open(os.path.join(prefix, "drive_c", "windows", "wininit.ini"), "wb") as ini:
            ini.write(b"[rename]\r\nNUL=C:\\WINDOWS\\SYSTEM32\\OLEPRO32.DLL\r\n"
                      b"C:\\WINDOWS\\SYSTEM32\\OLEPRO32.DLL=C:\\WINDOWS\\SYSTEM32\\TEM2.TMP\r\n")
        lines = library_outcome.report(prefix, before, dist)
        outcome = {line.split()[0]: line.split(";")[0].split(None, 1)[1] for line in lines}
        self.assertEqual({
            "Mfc42.dll": "copied (the distribution's copy)",
            "Msvcrt.dll": "left alone",
            "Oleaut32.dll": "queued for replacement at the next restart (queued move of C:\\windows\\system32\\tem1.tmp)",
            "Olepro32.dll": "queued for replacement at the next restart (Wininit.ini of C:\\WINDOWS\\SYSTEM32\\TEM2.TMP)",
        }, outcome)


if __name__ == "__main__":
    unittest.main()
