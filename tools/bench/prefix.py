"""The benchmark's Wine prefix, put back to the same state before every run: the wineserver
stopped, the registry files as they were before the first run, everything that appeared below C:
since then removed, and the files a run removes put back."""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "tests", "scenarios"))
import regfile  # noqa: E402
import traces  # noqa: E402
import winehost  # noqa: E402

REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")


class Prefix:
    def __init__(self, path, build, inputs):
        """`inputs`: the folder of C: that holds the benchmark's own files, never cleaned."""
        self.path = path
        self.inputs = inputs
        self.drive_c = os.path.join(path, "drive_c")
        self.saved = os.path.join(build, "baseline")
        self.baseline = None
        self.planted = {}  # C: path: (bytes, mtime_ns) of the files put back before every run

    def wine(self, *args, timeout=60):
        return subprocess.run([winehost.loader(), *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout)

    def stop(self):
        """Ends the wineserver and its processes; it writes the registry files as it goes."""
        subprocess.run([winehost.server(), "-k"], stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run([winehost.server(), "-w"], stderr=subprocess.DEVNULL, timeout=30)

    def start(self):
        """A running wineserver whose boot work is done, so that no run pays for it."""
        subprocess.run([winehost.server(), "-p"], stderr=subprocess.DEVNULL, timeout=30)
        self.wine("cmd.exe", "/c", "exit", timeout=90)

    def plant(self, files, settings):
        """Puts an earlier version's leftovers on the machine (the prefix stopped)."""
        for windows, content in files.items():
            path = self.unix(windows)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as out:
                out.write(content)
        for key, values in settings:
            regfile.append_values(os.path.join(self.path, "user.reg"), key, values)
        # Wine merges the appended keys and writes its files anew: the prefix is kept between
        # invocations, and planting again must not make them grow.
        self.start()
        self.stop()

    def snapshot(self, planted):
        self.stop()
        os.makedirs(self.saved, exist_ok=True)
        for name in REGISTRY_FILES:
            shutil.copy2(os.path.join(self.path, name), os.path.join(self.saved, name))
        self.baseline = traces.Baseline(self.path, [self.inputs])
        self.planted = {path: (open(self.unix(path), "rb").read(), self.baseline.files[path][1]) for path in planted}

    def reset(self):
        self.stop()
        for name in REGISTRY_FILES:
            shutil.copy2(os.path.join(self.saved, name), os.path.join(self.path, name))
        files, folders = self.baseline.listing()
        added = (set(files) - set(self.baseline.files)) | (folders - self.baseline.folders)
        # Deepest first, so that a folder is emptied before it is looked at.
        for windows in sorted(added, key=len, reverse=True):
            path = self.unix(windows)
            if os.path.isdir(path) and not os.path.islink(path):
                shutil.rmtree(path, ignore_errors=True)
            elif os.path.lexists(path):
                os.remove(path)
        for windows, (content, mtime) in self.planted.items():
            path = self.unix(windows)
            with open(path, "wb") as out:
                out.write(content)
            os.utime(path, ns=(mtime, mtime))

    def unix(self, windows):
        assert windows[1:3] == ":\\"
        return os.path.join(self.drive_c, *windows[3:].split("\\"))
