#!/usr/bin/env python3
"""Times Install.exe beside an NSIS 3 installer that does the same job, checks after every run
that both left the same machine behind, and times a plain CopyFileA loop as the copy's floor.

    bench.py --build DIR --install EXE --robot EXE --floor EXE --programs DIR [--quick] [--runs N]

Called by tools/bench.sh, which builds the programs, makes the Wine prefix (WINEPREFIX) and the
display (DISPLAY) first. Everything is written below --build. Exit code 0 when every run of every
candidate completed and the installers doing setup's whole job left the same traces in every
round, 1 otherwise (the differences printed); slowness never fails.

Each run starts from the same machine state: the wineserver is stopped, the prefix's registry
files are put back as they were before the first run, everything that appeared below C: since
then is removed and the files a run removes are put back.
"""

import argparse
import filecmp
import hashlib
import json
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(REPO, "tools"))
sys.path.insert(0, os.path.join(REPO, "tests", "scenarios"))
import nsis_script  # noqa: E402
import traces  # noqa: E402
from prefix import Prefix  # noqa: E402
from report import machine, table  # noqa: E402
from rig import windows_path_for  # noqa: E402
from toolmodule import load_tool  # noqa: E402
from transcript import Transcript  # noqa: E402

distribution = load_tool("make-distribution")

# Where both installers put the files: their default, the same folder.
DESTINATION = "C:\\Program Files\\Lexaver"
INPUTS = "bench"  # C:\bench holds the distribution and the NSIS installers; never cleaned
LIBRARIES = list(distribution.LIBRARIES)
# Real programs: setup loads the control and reads the editor's version; they keep their bytes.
KEPT = {"Lexaver.exe", "Lexaver.ocx", "Lexaver.exe.manifest"}
NSIS_CAPTION = "Lexaver Setup"
# What an earlier version left, for setup to clean up: the obsolete files in the destination, the
# old control settings key (with a key below it) and the file filters setting.
OBSOLETE_CONTENT = b"left by an earlier version\r\n"
OLD_SETTINGS = [("Software\\Lexaver\\Ocx", {"Licence": "old"}),
                ("Software\\Lexaver\\Ocx\\Grid", {"Columns": 80}),
                ("Software\\Lexaver\\App\\Settings", {"File filters": "Text files|*.txt", "Font": "Arial"})]

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
    prefix has them at the sample's versions, so setup only compares their versions). Returns
    {name: size} of the product files."""
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


def read_transcript(path):
    """The robot's events, less a line it was killed in the middle of writing."""
    if not os.path.exists(path):
        return []
    return [event for event in Transcript(path).events if event["event"] != "broken"]


def has_control(event, control_id):
    return any(control.get("id") == control_id for control in event.get("controls", []))


def first_time(events, test):
    return sequence(events, test)[0]


def sequence(events, *tests):
    """The time of the first event passing each test in turn, each after the one before; None
    from the first that none passes on."""
    times, index = [], 0
    for test in tests:
        while index < len(events) and not test(events[index]):
            index += 1
        times.append(events[index]["t"] if index < len(events) else None)
    return times


def appeared_messagebox(event):
    return event["event"] == "appeared" and event.get("messagebox")


def span(start, end):
    return None if start is None or end is None else end - start


def is_event(kind, **fields):
    return lambda e: e["event"] == kind and all(e.get(k) == v for k, v in fields.items())


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = args.build
        self.prefix = Prefix(os.environ["WINEPREFIX"], args.build, INPUTS)
        self.work = os.path.join(args.build, "runs")
        self.timeout = 60 if args.quick else 120
        self.width = int(os.environ.get("WINE_WIDTH") or 32)
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
        with open(os.path.join(self.dist, "Lexaver.reg"), encoding="latin-1") as script:
            settings = script.read()
        self.nsis = self._makensis("LexaverNsis", nsis_script.whole_job(
            self.dist, os.path.join(inputs, "LexaverNsis.exe"), self.width, distribution.PRODUCT_FILES, settings))
        self.nsis_files = self._makensis("LexaverNsisFiles", nsis_script.files_only(
            self.dist, os.path.join(inputs, "LexaverNsisFiles.exe"), self.width, distribution.PRODUCT_FILES))
        self.floor = os.path.join(inputs, "bench-floor.exe")
        shutil.copyfile(self.args.floor, self.floor)
        os.makedirs(self.work, exist_ok=True)
        self.scripts = {
            "install": self._write("install-script.txt", [
                "Lexaver installation | click 1",
                "File type associations | click 1",  # Yes
                "@closing | dismiss",                 # the logoff question: No
            ]),
            "nsis": self._write("nsis-script.txt", [
                NSIS_CAPTION + ": Installation Folder | click 1",
                "@messagebox | click 6",              # the file types question: Yes
                "@closing | dismiss",                 # the logoff question: No
            ]),
            "nsis-files": self._write("nsis-files-script.txt", [
                NSIS_CAPTION + ": Installation Folder | click 1",
                NSIS_CAPTION + ": Completed | click 1",
            ]),
        }
        self.prefix.stop()
        obsolete = {DESTINATION + "\\" + name: OBSOLETE_CONTENT for name in nsis_script.texts.OBSOLETE_FILES}
        self.prefix.plant(obsolete, OLD_SETTINGS)
        self.prefix.snapshot(obsolete)

    def _makensis(self, name, text):
        script = os.path.join(self.build, name + ".nsi")
        with open(script, "w", encoding="utf-8") as out:
            out.write(text)
        installer = os.path.join(self.prefix.drive_c, INPUTS, name + ".exe")
        made = subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8", script], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True, timeout=300)
        if made.returncode != 0 or not os.path.isfile(installer):
            raise SystemExit("bench: makensis %s failed:\n%s" % (script, made.stdout))
        return installer

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

    def read_shortcuts(self, paths):
        """robot --read-shortcut on every path in one run; None for one it cannot read."""
        out = self.prefix.wine(self.args.robot, "--read-shortcut", *paths, timeout=30 + 5 * len(paths))
        lines = out.stdout.decode("utf-8", "replace").strip().splitlines()[-len(paths):]
        if len(lines) != len(paths):
            raise SystemExit("bench: robot --read-shortcut gave %d lines for %d shortcuts" % (len(lines), len(paths)))
        return [json.loads(line) for line in lines]

    def record(self, label):
        """The machine the run left (tools/bench/traces.py), kept as runs/LABEL-trace.json."""
        result = traces.file_changes(self.prefix.baseline, self.read_shortcuts)  # the run's server still up
        self.prefix.stop()
        result["registry"] = traces.registry_changes(self.prefix.baseline.registry,
                                                     traces.read_registry(self.prefix.path))
        with open(os.path.join(self.work, label + "-trace.json"), "w") as out:
            json.dump(result, out, indent=1, sort_keys=True)
        return result

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
        accepted, copied, asked, answered, last = sequence(
            events, is_event("answer", pattern="Lexaver installation"),
            lambda e: e["event"] == "closed" and e["hwnd"] in progress,
            is_event("appeared", caption="File type associations"),
            is_event("answer", pattern="File type associations"), appeared_messagebox)
        ended = first_time(events, is_event("exit"))
        figures = {"first_window": first_time(events, is_event("appeared")), "to_end": span(accepted, ended),
                   "exit": ended, "copy": span(accepted, copied), "to_types": span(accepted, asked),
                   "copy_to_types": span(copied, asked), "types_to_last": span(answered, last)}
        return self._verdict(label, status, events, figures)

    def run_nsis(self, label):
        status, events = self.robot(label, self.scripts["nsis"], ["C:\\%s\\LexaverNsis.exe" % INPUTS])
        accepted, asked, answered, last = sequence(
            events, is_event("answer", pattern=NSIS_CAPTION + ": Installation Folder"), appeared_messagebox,
            is_event("answer", pattern="@messagebox"), appeared_messagebox)
        ended = first_time(events, is_event("exit"))
        figures = {"first_window": first_time(events, is_event("appeared")), "to_end": span(accepted, ended),
                   "exit": ended, "to_types": span(accepted, asked), "types_to_last": span(answered, last)}
        return self._verdict(label, status, events, figures)

    def run_nsis_silent(self, label):
        status, events = self.robot(label, None, ["C:\\%s\\LexaverNsis.exe" % INPUTS, "/S"])
        figures = {"exit": first_time(events, is_event("exit"))}
        if any(e["event"] == "appeared" for e in events):
            self.problems.append("%s: a window in silent mode" % label)
        return self._verdict(label, status, events, figures)

    def run_nsis_files(self, label):
        status, events = self.robot(label, self.scripts["nsis-files"], ["C:\\%s\\LexaverNsisFiles.exe" % INPUTS])
        accepted, completed = sequence(
            events, is_event("answer", pattern=NSIS_CAPTION + ": Installation Folder"),
            lambda e: e["event"] in ("appeared", "changed") and e.get("caption", "").endswith(": Completed"))
        figures = {"first_window": first_time(events, is_event("appeared")), "to_end": span(accepted, completed),
                   "exit": first_time(events, is_event("exit"))}
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
        return self._verdict(label, status, events, {"copy": copy, "exit": first_time(events, is_event("exit"))})

    def _verdict(self, label, status, events, figures):
        """The figures, all None when the run failed (the failure noted)."""
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
        problems += ["no %s time" % name for name, value in figures.items() if value is None]
        wrong = self.check_destination()
        if wrong:
            problems.append(wrong)
        if problems:
            self.problems.append("%s: %s (transcript %s)" % (label, "; ".join(problems),
                                                             os.path.join(self.work, label + ".jsonl")))
            return {name: None for name in figures}
        return figures

    def run(self):
        rounds = 1 if self.args.quick else self.args.runs
        # (name, runner, compared): the traces of the compared candidates must equal Install.exe's.
        candidates = [("Install.exe", self.run_install, True), ("NSIS", self.run_nsis, True),
                      ("NSIS /S", self.run_nsis_silent, True), ("NSIS files only", self.run_nsis_files, False),
                      ("floor", self.run_floor, False)]
        results = {name: [] for name, _, _ in candidates}
        self.equal_rounds = 0
        for round_ in range(rounds):
            # Alternating, and each round in another order, so that a disturbance of the machine
            # does not always land on the same candidate.
            shift = round_ % len(candidates)
            records, figures_of = {}, {}
            for name, runner, compared in candidates[shift:] + candidates[:shift]:
                self.prefix.reset()
                self.prefix.start()
                label = "%s-%d" % (name.replace(".exe", "").replace(" /", "-").replace(" ", "-").lower(), round_ + 1)
                figures_of[name] = runner(label)
                if compared:
                    records[name] = self.record(label)
                shown = "  ".join("%s %s" % (k, "-" if v is None else "%.0f ms" % v) for k, v in figures_of[name].items())
                print("round %d/%d %-15s %s" % (round_ + 1, rounds, name, shown), flush=True)
            if self.same_traces(round_ + 1, records):
                self.equal_rounds += 1
            else:
                figures_of = {name: {key: None for key in figures} for name, figures in figures_of.items()}
            for name, figures in figures_of.items():
                results[name].append(figures)
        self.prefix.reset()
        self.prefix.stop()
        return results

    def same_traces(self, round_, records):
        """True when every compared candidate left Install.exe's trace; prints the differences."""
        reference = records["Install.exe"]
        same = True
        for name, other in records.items():
            if name == "Install.exe":
                continue
            found = traces.differences(reference, other, "Install.exe", name)
            if found:
                same = False
                self.problems.append("round %d: %s left another machine than Install.exe (%d differences, "
                                     "traces in %s)" % (round_, name, len(found), self.work))
                print("round %d: traces differ, Install.exe and %s:" % (round_, name), flush=True)
                for line in found[:40]:
                    print("  " + line)
                if len(found) > 40:
                    print("  ... %d more" % (len(found) - 40))
        if same:
            print("round %d: traces equal (%d files, %d folders, %d registry keys changed)" % (
                round_, len(reference["files"]), len(reference["folders"]), len(reference["registry"])), flush=True)
        return same


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
    text = "Machine: %s\n\n%s\n" % (machine(bench.width), table(results, bench, args.quick))
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
