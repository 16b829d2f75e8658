#!/usr/bin/env python3
"""Times Install.exe beside an NSIS 3 installer of the same files and a plain CopyFileA loop.

    bench.py --build DIR --install EXE --robot EXE --floor EXE --programs DIR [--quick] [--runs N]

Called by tools/bench.sh, which builds the programs, makes the Wine prefix (WINEPREFIX) and the
display (DISPLAY) first. Everything is written below --build. Exit code 0 when every run of every
candidate completed, 1 otherwise; slowness never fails.

Each run starts from the same machine state: the wineserver is stopped, the prefix's registry
files are put back as they were before the first run, and everything that appeared below C: since
then is removed (the destination, shortcuts, the uninstaller in the Windows folder).
"""

import argparse
import filecmp
import hashlib
import json
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, "tools"))
sys.path.insert(0, os.path.join(REPO, "tests", "scenarios"))
from rig import windows_path_for  # noqa: E402
from toolmodule import load_tool  # noqa: E402
from transcript import Transcript  # noqa: E402
import winehost  # noqa: E402

distribution = load_tool("make-distribution")

# Where both installers put the files: their default, the same folder.
DESTINATION = "C:\\Program Files\\Lexaver"
INPUTS = "bench"  # C:\bench holds the distribution and the NSIS installer; never cleaned
LIBRARIES = list(distribution.LIBRARIES)
# Real programs: setup loads the control and reads the editor's version; they keep their bytes.
KEPT = {"Lexaver.exe", "Lexaver.ocx", "Lexaver.exe.manifest"}
NSIS_CAPTION = "Lexaver Setup"

KB = 1024
MB = 1024 * KB


def planned_size(name):
    """Bytes of a product file in the full distribution: a few large files, many small ones."""
    lower = name.lower()
    large = {"helpus.hlp": 12 * MB, "helpfr.hlp": 9 * MB, "helpit.hlp": 8 * MB, "helppt.hlp": 7 * MB,
             "helpru.hlp": 7 * MB, "syntpack.zip": 8 * MB, "lxxsamp.zip": 5 * MB, "spell.dll": 3 * MB,
             "american.vtd": 1536 * KB, "french.vtd": 1280 * KB, "italian.vtd": 1024 * KB,
             "ocx.hlp": 384 * KB}
    if lower in large:
        return large[lower]
    seed = int(hashlib.sha256(name.encode()).hexdigest()[:4], 16)
    if lower.endswith(".doc"):
        return 96 * KB + seed % (64 * KB)
    if lower.endswith(".dll"):
        return 32 * KB + seed % (48 * KB)
    return 1 * KB + seed % (15 * KB)  # .ini, .cnt, .txt, .pub


def incompressible(name, size):
    """Deterministic bytes that no compressor shrinks: an extendable-output hash seeded by name."""
    return hashlib.shake_256(b"lexaver-bench:" + name.encode()).digest(size)


def write_bench_distribution(folder, programs, installer, quick):
    """The 65 product files, Unlexa.exe, Lexaver.reg and Install.exe; no shared libraries (the
    prefix has them at the sample's versions, so setup only compares versions, as NSIS does
    nothing with them). Returns {name: size} of the product files."""
    distribution.write_distribution(folder, programs, LIBRARIES, installer)
    sizes = {}
    for name in distribution.PRODUCT_FILES:
        path = os.path.join(folder, name)
        if name not in KEPT:
            size = planned_size(name)
            if quick:
                size = max(512, size // 64)
            with open(path, "wb") as out:
                out.write(incompressible(name, size))
        sizes[name] = os.path.getsize(path)
    return sizes


def nsis_script(dist_unix, out_unix, width):
    """Directory page and install page, no compression, the same 65 files, the same default
    destination; the page's Close button is left for the robot, as setup's last message is.
    Of Install.exe's width: where only 64-bit programs run, both installers are 64-bit ones."""
    lines = [
        "; Written by tools/bench/bench.py: the NSIS 3 installer Install.exe is timed beside.",
        "Unicode true",
    ]
    if width == 64:
        lines += ["Target amd64-unicode"]
    lines += [
        'Name "Lexaver"',
        'OutFile "%s"' % out_unix,
        'InstallDir "$PROGRAMFILES%s\\Lexaver"' % ("64" if width == 64 else ""),
        "SetCompress off",
        "RequestExecutionLevel user",
        "AutoCloseWindow false",
        "Page directory",
        "Page instfiles",
        'Section "Lexaver"',
        '  SetOutPath "$INSTDIR"',
    ]
    lines += ['  File "%s/%s"' % (dist_unix, name) for name in distribution.PRODUCT_FILES]
    lines += ["SectionEnd", ""]
    return "\n".join(lines)


class Prefix:
    def __init__(self, path, build):
        self.path = path
        self.drive_c = os.path.join(path, "drive_c")
        self.baseline = os.path.join(build, "baseline")
        self.kept = set()

    def wine(self, *args, timeout=60, check=False):
        return subprocess.run([winehost.loader(), *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout, check=check)

    def stop(self):
        subprocess.run([winehost.server(), "-k"], stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run([winehost.server(), "-w"], stderr=subprocess.DEVNULL, timeout=30)

    def start(self):
        """A running wineserver whose boot work is done, so that no run pays for it."""
        subprocess.run([winehost.server(), "-p"], stderr=subprocess.DEVNULL, timeout=30)
        self.wine("cmd.exe", "/c", "exit", timeout=90)

    def snapshot(self):
        self.stop()
        os.makedirs(self.baseline, exist_ok=True)
        for name in ("system.reg", "user.reg", "userdef.reg"):
            shutil.copy2(os.path.join(self.path, name), os.path.join(self.baseline, name))
        self.kept = set(self._listing())

    def reset(self):
        self.stop()
        for name in ("system.reg", "user.reg", "userdef.reg"):
            shutil.copy2(os.path.join(self.baseline, name), os.path.join(self.path, name))
        # Deepest first, so that a folder is emptied before it is looked at.
        for path in sorted(set(self._listing()) - self.kept, key=len, reverse=True):
            if os.path.isdir(path) and not os.path.islink(path):
                shutil.rmtree(path, ignore_errors=True)
            elif os.path.lexists(path):
                os.remove(path)

    def _listing(self):
        inputs = os.path.join(self.drive_c, INPUTS)
        for folder, folders, names in os.walk(self.drive_c):
            if folder == self.drive_c and INPUTS in folders:
                folders.remove(INPUTS)
            for name in folders + names:
                path = os.path.join(folder, name)
                if path != inputs:
                    yield path

    def unix(self, windows):
        assert windows[1:3] == ":\\"
        return os.path.join(self.drive_c, *windows[3:].split("\\"))


def read_transcript(path):
    """The robot's events, less a line it was killed in the middle of writing."""
    if not os.path.exists(path):
        return []
    return [event for event in Transcript(path).events if event["event"] != "broken"]


def has_control(event, control_id):
    return any(control.get("id") == control_id for control in event.get("controls", []))


def first_time(events, test):
    for event in events:
        if test(event):
            return event["t"]
    return None


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = args.build
        self.prefix = Prefix(os.environ["WINEPREFIX"], args.build)
        self.work = os.path.join(args.build, "runs")
        self.timeout = 60 if args.quick else 120
        self.problems = []

    def prepare(self):
        os.makedirs(self.build, exist_ok=True)
        inputs = os.path.join(self.prefix.drive_c, INPUTS)
        self.dist = os.path.join(inputs, "dist")
        self.sizes = write_bench_distribution(self.dist, self.args.programs, self.args.install, self.args.quick)
        self.total = sum(self.sizes.values())
        # The system folder's Mfc42.dll at the sample's version: none in a new prefix, and setup
        # would ask for it (the download dialog) when the distribution carries none.
        mfc = os.path.join(self.prefix.drive_c, "windows", "system32", "mfc42.dll")
        with open(mfc, "wb") as out:
            out.write(distribution.make_library.library_bytes(distribution.LIBRARIES["Mfc42.dll"],
                                                              self.args.programs))
        self.nsis = os.path.join(inputs, "LexaverNsis.exe")
        script = os.path.join(self.build, "Lexaver.nsi")
        with open(script, "w") as out:
            out.write(nsis_script(self.dist, self.nsis, int(os.environ.get("WINE_WIDTH") or 32)))
        made = subprocess.run(["makensis", "-V2", script], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, timeout=300)
        if made.returncode != 0 or not os.path.isfile(self.nsis):
            raise SystemExit("bench: makensis failed:\n" + made.stdout)
        self.floor = os.path.join(inputs, "bench-floor.exe")
        shutil.copyfile(self.args.floor, self.floor)
        os.makedirs(self.work, exist_ok=True)
        self.scripts = {
            "install": self._write("install-script.txt", [
                "Lexaver installation | click 1",
                "?File type associations | click 2",  # No, its default button
                "?@closing | dismiss",                 # the logoff question: No; else OK
            ]),
            "nsis": self._write("nsis-script.txt", [
                NSIS_CAPTION + ": Installation Folder | click 1",
                NSIS_CAPTION + ": Completed | click 1",
            ]),
        }
        self.prefix.snapshot()

    def _write(self, name, lines):
        path = os.path.join(self.work, name)
        with open(path, "w") as out:
            out.write("\n".join(lines) + "\n")
        return path

    def robot(self, label, script, program_args):
        transcript = os.path.join(self.work, label + ".jsonl")
        if os.path.exists(transcript):
            os.remove(transcript)
        command = [self.args.robot, "--timeout", str(self.timeout), "--transcript", windows_path_for(transcript),
                   "--no-watch"]
        command += ["--script", windows_path_for(script)] if script else ["--accept-defaults"]
        command += ["--", *program_args]
        try:
            status = self.prefix.wine(*command, timeout=self.timeout + 30).returncode
        except subprocess.TimeoutExpired:
            status = "wine call timed out"
        return status, read_transcript(transcript)

    def check_destination(self):
        folder = self.prefix.unix(DESTINATION)
        wrong = [name for name in self.sizes
                 if not os.path.isfile(os.path.join(folder, name))
                 or not filecmp.cmp(os.path.join(self.dist, name), os.path.join(folder, name), shallow=False)]
        if wrong:
            return "%d of %d files missing or different in %s (%s...)" % (
                len(wrong), len(self.sizes), DESTINATION, ", ".join(wrong[:3]))
        return None

    def run_install(self, label):
        status, events = self.robot(label, self.scripts["install"], ["C:\\%s\\dist\\Install.exe" % INPUTS])
        progress = {e["hwnd"] for e in events if e["event"] in ("appeared", "changed") and has_control(e, 1028)}
        figures = {
            "first_window": first_time(events, lambda e: e["event"] == "appeared"),
            "copy": self._span(events, lambda e: e["event"] == "answer" and e.get("pattern") == "Lexaver installation",
                               lambda e: e["event"] == "closed" and e["hwnd"] in progress),
            "exit": first_time(events, lambda e: e["event"] == "exit"),
        }
        figures["after_copy"] = self._span(events, lambda e: e["event"] == "closed" and e["hwnd"] in progress,
                                           lambda e: e["event"] == "exit")
        return self._verdict(label, status, events, figures)

    def run_nsis(self, label):
        status, events = self.robot(label, self.scripts["nsis"], ["C:\\%s\\LexaverNsis.exe" % INPUTS])
        completed = lambda e: e["event"] in ("appeared", "changed") and e.get("caption", "").endswith(": Completed")
        figures = {
            "first_window": first_time(events, lambda e: e["event"] == "appeared"),
            "copy": self._span(events,
                               lambda e: e["event"] == "answer" and e.get("pattern", "").endswith("Installation Folder"),
                               completed),
            "exit": first_time(events, lambda e: e["event"] == "exit"),
            "after_copy": self._span(events, completed, lambda e: e["event"] == "exit"),
        }
        return self._verdict(label, status, events, figures)

    def run_floor(self, label):
        result = os.path.join(self.work, label + "-result.json")
        if os.path.exists(result):
            os.remove(result)
        status, events = self.robot(label, None, ["C:\\%s\\bench-floor.exe" % INPUTS, "C:\\%s\\dist" % INPUTS,
                                                  DESTINATION, windows_path_for(result)])
        copy = None
        try:
            with open(result) as data:
                reported = json.load(data)
            if reported.get("failed") == 0:
                copy = reported["copy_ms"]
        except (OSError, ValueError, KeyError):
            pass
        figures = {"first_window": None, "copy": copy, "exit": first_time(events, lambda e: e["event"] == "exit"),
                   "after_copy": None}
        return self._verdict(label, status, events, figures, windows=False)

    @staticmethod
    def _span(events, start, end):
        begun = first_time(events, start)
        if begun is None:
            return None
        ended = first_time([e for e in events if e["t"] >= begun], end)
        return None if ended is None else ended - begun

    def _verdict(self, label, status, events, figures, windows=True):
        problems = []
        if status != 0:
            problems.append("robot status %s" % status)
        exits = [e for e in events if e["event"] == "exit"]
        if not exits or exits[0].get("code") != 0:
            problems.append("no clean exit (%s)" % (exits[0].get("code") if exits else "none"))
        if any(e["event"] in ("unmatched", "timeout") for e in events):
            problems.append("script not followed to the end")
        if any(e["event"] == "answer" and "error" in e for e in events):
            problems.append("an answer failed")
        needed = ["first_window", "copy", "exit"] if windows else ["copy", "exit"]
        problems += ["no %s time" % name for name in needed if figures[name] is None]
        wrong = self.check_destination()
        if wrong:
            problems.append(wrong)
        if problems:
            self.problems.append("%s: %s (transcript %s)" % (label, "; ".join(problems),
                                                             os.path.join(self.work, label + ".jsonl")))
        return figures

    def run(self):
        rounds = 1 if self.args.quick else self.args.runs
        candidates = [("Install.exe", self.run_install), ("NSIS", self.run_nsis), ("floor", self.run_floor)]
        results = {name: [] for name, _ in candidates}
        for round_ in range(rounds):
            # Alternating, and each round in another order, so that a disturbance of the machine
            # does not always land on the same candidate.
            order = candidates[round_ % 3:] + candidates[:round_ % 3]
            for name, runner in order:
                self.prefix.reset()
                self.prefix.start()
                label = "%s-%d" % (name.replace(".exe", "").lower(), round_ + 1)
                figures = runner(label)
                results[name].append(figures)
                shown = "  ".join("%s %s" % (k, "-" if v is None else "%.0f ms" % v) for k, v in figures.items())
                print("round %d/%d %-11s %s" % (round_ + 1, rounds, name, shown), flush=True)
        self.prefix.reset()
        self.prefix.stop()
        return results


def spread(values):
    """Median, minimum, maximum, quartiles and count; None without values."""
    values = sorted(v for v in values if v is not None)
    if not values:
        return None
    quartiles = statistics.quantiles(values, n=4, method="inclusive") if len(values) > 1 else [values[0]] * 3
    return statistics.median(values), values[0], values[-1], quartiles[0], quartiles[2], len(values)


FIGURES = [("first_window", "start to first window"),
           ("copy", "destination accepted to end of copy"),
           ("exit", "start to process end"),
           ("after_copy", "end of copy to process end")]


def report(results, bench, quick):
    lines = []
    lines.append("Distribution: %d product files, %.1f MB incompressible%s" % (
        len(bench.sizes), bench.total / MB, " (--quick)" if quick else ""))
    lines.append("")
    lines.append("| Candidate | Figure | Median ms | Quartiles ms | Min–max ms | Runs |")
    lines.append("|---|---|---:|---:|---:|---:|")
    summary = {}
    for name in results:
        for key, title in FIGURES:
            values = [figures[key] for figures in results[name]]
            got = spread(values)
            summary[(name, key)] = got
            if got is None:
                continue
            if name == "floor" and key == "copy":
                title = "copy loop (its own clock)"
            median, low, high, first, third, count = got
            lines.append("| %s | %s | %.0f | %.0f–%.0f | %.0f–%.0f | %d |" % (
                name, title, median, first, third, low, high, count))
    lines.append("")
    lines.append("| Figure | Install.exe / NSIS (medians) |")
    lines.append("|---|---:|")
    for key, title in FIGURES[:3]:
        a, b = summary.get(("Install.exe", key)), summary.get(("NSIS", key))
        if a and b and b[0] > 0:
            lines.append("| %s | %.2f |" % (title, a[0] / b[0]))
    a, f = summary.get(("Install.exe", "copy")), summary.get(("floor", "copy"))
    if a and f:
        lines.append("")
        lines.append("Install.exe's copy stage is %.0f ms above the floor's copy loop (%.2f times it)." % (
            a[0] - f[0], a[0] / f[0] if f[0] else float("nan")))
    return "\n".join(lines)


def machine():
    cpu = "?"
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    try:
        wine = subprocess.run([winehost.loader(), "--version"], stdout=subprocess.PIPE, text=True, timeout=30).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        wine = "?"
    return "%s, %d cores (nproc), %s, %s, %s" % (cpu, os.cpu_count() or 0, platform.system(), wine,
                                                 time.strftime("%Y-%m-%d %H:%M %Z"))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--install", required=True)
    parser.add_argument("--robot", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--programs", required=True)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--runs", type=int, default=11)
    args = parser.parse_args(argv)
    args.build = os.path.abspath(args.build)
    args.robot = windows_path_for(os.path.abspath(args.robot))

    bench = Bench(args)
    bench.prepare()
    print("Prefix %s; distribution %.1f MB in %d product files; NSIS installer %.1f MB" % (
        bench.prefix.path, bench.total / MB, len(bench.sizes), os.path.getsize(bench.nsis) / MB), flush=True)
    results = bench.run()
    text = "Machine: %s\n\n%s\n" % (machine(), report(results, bench, args.quick))
    print()
    print(text)
    with open(os.path.join(args.build, "results.md"), "w") as out:
        out.write(text)
    with open(os.path.join(args.build, "results.json"), "w") as out:
        json.dump(results, out, indent=1)
    if bench.problems:
        print("FAILED:", file=sys.stderr)
        for problem in bench.problems:
            print("  " + problem, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
