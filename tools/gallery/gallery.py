#!/usr/bin/env python3
"""Pictures of every window setup can show, in each language: OUT/LANG/NN-name.png and OUT/index.html,
a table of the windows by language.

Each run is an end-to-end scenario of tests/scenarios (a fresh copy of the base prefix, the machine
state that provokes the windows, setup under the robot). The robot's "await FILE" step holds a
window once it has stopped changing and records its screen rectangle; this driver, reading the
transcript as it grows, takes the picture of the Wine desktop (ImageMagick's import), cut to that
rectangle, and then writes FILE so that the robot answers the window and goes on.

    gallery.py --build BUILD --out OUT [--languages en,fr] [--work DIR]
"""

import argparse
import html
import json
import os
import subprocess
import sys
import threading
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "scenarios"))

import winehost  # noqa: E402
from checks import PRODUCT_FILES  # noqa: E402
from expected_texts import LANGUAGES, UPGRADE_CAPTION, UPGRADE_LANGUAGES  # noqa: E402
from library_scenarios import MFC, NO_BOOT, OLEPRO, READ_OLEPRO_ITSELF  # noqa: E402
from rig import Scenario, ScenarioFailure, ScenarioSkipped, Tools, windows_path_for  # noqa: E402
from scenarios import CURRENT_VERSION  # noqa: E402

IMPORT = "/usr/bin/import"   # ImageMagick's own; another "convert" may stand first on the PATH
IDNO = 7
ENVIRONMENT = "System\\CurrentControlSet\\Control\\Session Manager\\Environment"
# Wine draws the caption buttons with Marlett (its cross is the letter "r"), which a prefix lacks
# here (winehost.WINE_FONTS): without it the close box showed an "r" in another font. Only Marlett:
# the texts keep the fonts that the DialogFit tests measure them with.
FONTS = ("marlett.ttf",)

# Every window, in the order of the gallery: (number, file name, what it is).
WINDOWS = [
    ("01", "destination", "Destination dialog (message 131)"),
    ("02", "folder-browser", "Folder browser (Browse...)"),
    ("03", "progress", "Progress display"),
    ("04", "upgrade-needed", "Upgrade-needed dialog"),
    ("05", "file-types", "File types dialog"),
    ("06", "restart", "Restart dialog"),
    ("07", "message-128", "128: Windows too old (NT 3.51)"),
    ("08", "message-134", "134: a file cannot be read (Lexaver.ocx missing)"),
    ("09", "message-4", "4: the control is not found"),
    ("10", "message-5", "5: the control does not register"),
    ("11", "message-138", "138: the destination cannot be created"),
    ("12", "message-139", "139: a system library cannot be copied"),
    ("13", "message-140", "140: Wininit.ini cannot be created"),
    ("14", "message-144", "144: logoff question (search path changed)"),
    ("15", "message-145", "145: installation completed"),
    ("16", "message-146", "146: a program type in the file types list"),
]
# Messages that no machine state under Wine brings about: a row each, with the reason.
NOT_SHOWN = [
    ("129: memory", "a failed memory allocation cannot be provoked from outside"),
    ("132, 133: a system library cannot be updated", "shown when a queued replacement cannot be "
     "registered, which Wine running as administrator always allows"),
    ("135: write error", "a write that fails after its file was created cannot be provoked here"),
    ("142: restart notice", "shown when the user may not shut down; Wine grants the privilege always"),
    ("143: the Path key cannot be opened", "Wine running as administrator always opens it"),
]
DESCRIPTION = {name: what for _, name, what in WINDOWS}


def marker_steps(pattern, name, markers, steady=None):
    """The robot step that holds the window for its picture."""
    path = os.path.join(markers, name)
    return [(pattern, "await %s%s" % (windows_path_for(path), "" if steady is None else " %d" % steady))]


def start_display():
    """An Xvfb on a number that no other server holds, by lock file or by socket: pictures of the
    screen must show this run's desktop, and a server whose lock files were cleared away still
    answers on its abstract socket."""
    try:
        sockets = open("/proc/net/unix").read()
    except OSError:
        sockets = ""
    for number in range(90, 190):
        if os.path.exists("/tmp/.X%d-lock" % number) or "/tmp/.X11-unix/X%d\n" % number in sockets + "\n":
            continue
        process = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        for _ in range(100):
            if subprocess.run(["xdpyinfo", "-display", ":%d" % number], capture_output=True).returncode == 0:
                return ":%d" % number, process
            if process.poll() is not None:
                break
            time.sleep(0.1)
        process.kill()
    raise winehost.HostError("no display could be started")


def wine_desktop(display):
    """The X window of Wine's virtual desktop on the display, or None."""
    try:
        tree = subprocess.run(["xwininfo", "-display", display, "-root", "-children"], capture_output=True,
                              text=True, timeout=30).stdout
    except (OSError, subprocess.TimeoutExpired):
        return None
    for line in tree.splitlines():
        if "Wine desktop" in line:
            return line.split()[0]
    return None


class Photographer:
    """Follows a run's transcript; takes each held window's picture and lets the robot go on."""

    def __init__(self, transcript, markers, folder, display):
        self.transcript = transcript
        self.markers = markers
        self.folder = folder
        self.display = display
        self.taken = {}      # name: rect
        self.errors = {}     # name: why there is no picture
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._follow, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join(10)

    def _follow(self):
        done = 0
        while not self._stop.is_set():
            try:
                with open(self.transcript, encoding="utf-8", errors="replace") as lines:
                    events = [json.loads(line) for line in lines.read().splitlines() if line.endswith("}")]
            except (OSError, ValueError):
                events = []
            for event in events[done:]:
                if event.get("event") == "awaiting":
                    self._shoot(event)
            done = max(done, len(events))
            time.sleep(0.05)

    def _shoot(self, event):
        name = event["file"].split("\\")[-1]
        left, top, right, bottom = event["rect"]
        target = os.path.join(self.folder, name + ".png")
        # The prefix's windows are drawn by Wine inside its virtual desktop, one X window from the
        # screen's top left corner: the window's rectangle is its place in that X window too.
        desktop = wine_desktop(self.display)
        if not desktop:
            self.errors[name] = "no Wine desktop on the gallery's display %s" % self.display
            open(os.path.join(self.markers, name), "w").close()
            return
        command = [IMPORT, "-display", self.display, "-window", desktop, "-crop",
                   "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage", target]
        try:
            result = subprocess.run(command, capture_output=True, text=True, timeout=30)
            if result.returncode == 0:
                self.taken[name] = event["rect"]
            else:
                self.errors[name] = "import failed: %s" % result.stderr.strip()[-200:]
        except (OSError, subprocess.TimeoutExpired) as error:
            self.errors[name] = "import failed: %s" % error
        open(os.path.join(self.markers, name), "w").close()


# ---- the runs: each prepares its machine state and returns its robot steps -----------------------

def main_run(s, language, markers):
    """Destination, folder browser, progress, 134 and 4 (no control in the distribution), the file
    types dialog and, with a library replacement queued, the restart dialog."""
    s.windows_version("winxp")
    s.dll_overrides(NO_BOOT)
    # A large file half way through the list: the progress display stands still while it is copied.
    big = os.path.join(s.folder, "big.bin")
    with open(big, "wb") as out:
        out.truncate(384 * 1024 * 1024)
    s.write_distribution(without=["Lexaver.ocx"], libraries={"Mfc42.dll": "6.0.8168.0"},
                         files={PRODUCT_FILES[len(PRODUCT_FILES) // 2]: big})
    s.place_library(MFC, "4.21.0.0")
    try:
        s.real_locales(language)   # the folder browser shows the shell folders' names in the language
    except ScenarioSkipped:
        pass
    d = language.destination_caption
    return (marker_steps(d, "01-destination", markers) + [(d, "click 1024")] +
            marker_steps("@browser", "02-folder-browser", markers) + [("@browser", "click 2"), (d, "click 1")] +
            marker_steps(language.progress_caption, "03-progress", markers, steady=250) +
            marker_steps("@messagebox", "08-message-134", markers) + [("@messagebox", "click 1")] +
            marker_steps("@messagebox", "09-message-4", markers) + [("@messagebox", "click 1")] +
            marker_steps(language.types_caption, "05-file-types", markers) + [(language.types_caption, "click 2")] +
            marker_steps(language.restart_caption, "06-restart", markers) +
            [(language.restart_caption, "press 1031"), (language.restart_caption, "click 1")])


def upgrade_run(s, language, markers):
    """No Mfc42.dll carried nor installed: the upgrade-needed dialog; without the editor the run then
    ends with the completion message."""
    s.windows_version("winxp")
    s.write_distribution(without=["Mfc42.dll", "Lexaver.exe"])
    return ([(language.destination_caption, "click 1")] +
            marker_steps(UPGRADE_CAPTION, "04-upgrade-needed", markers) + [(UPGRADE_CAPTION, "click 1")] +
            marker_steps("@messagebox", "15-message-145", markers) + [("@messagebox", "click 1")])


def logoff_run(s, language, markers):
    """A control that does not register (5), a program type in the file types list (146), declined
    after that, then the NT search path extended: the logoff question."""
    s.windows_version("winxp")
    s.write_distribution(files={"Lexaver.ocx": os.path.join(s.tools.programs, "fixtures", "RegisterFalse.ocx")})
    s.set_registry("HKLM", ENVIRONMENT, {"Path": "C:\\windows\\system32;C:\\windows"})
    return ([(language.destination_caption, "click 1")] +
            marker_steps("@messagebox", "10-message-5", markers) + [("@messagebox", "click 1")] +
            [(language.types_caption, "text 258 txt exe"), (language.types_caption, "click 1")] +
            marker_steps("@messagebox", "16-message-146", markers) +
            [("@messagebox", "click 1"), (language.types_caption, "click 2")] +
            marker_steps("@messagebox", "14-message-144", markers) + [("@messagebox", "click %d" % IDNO)])


def old_windows_run(s, language, markers):
    s.windows_version("nt351")
    s.write_distribution()
    return marker_steps("@messagebox", "07-message-128", markers) + [("@messagebox", "click 1")]


def uncreatable_run(s, language, markers):
    s.windows_version("winxp")
    s.place_file("C:\\afile.txt", b"a file where a folder would be\r\n")
    s.set_registry("HKLM", CURRENT_VERSION, {"ProgramFilesDir": "C:\\afile.txt\\sub"})
    s.write_distribution()
    return ([(language.destination_caption, "click 1")] +
            marker_steps("@messagebox", "11-message-138", markers) + [("@messagebox", "click 1")])


def copy_refused_run(s, language, markers):
    s.windows_version("winxp")
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
    s.place_file(MFC, b"an unversioned file that cannot be replaced\r\n", unwritable=True)
    return ([(language.destination_caption, "click 1")] +
            marker_steps("@messagebox", "12-message-139", markers) + [("@messagebox", "click 1")])


def wininit_refused_run(s, language, markers):
    s.windows_version("win98")
    s.dll_overrides(NO_BOOT + ";" + READ_OLEPRO_ITSELF)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0", "Olepro32.dll": "5.0.4275.0"})
    s.place_library(OLEPRO, "5.0.4055.0")
    s.make_folder("C:\\windows\\wininit.ini")
    return ([(language.destination_caption, "click 1")] +
            marker_steps("@messagebox", "13-message-140", markers) + [("@messagebox", "click 1")])


RUNS = [("main", main_run), ("upgrade", upgrade_run), ("logoff", logoff_run), ("old-windows", old_windows_run),
        ("uncreatable", uncreatable_run), ("copy-refused", copy_refused_run), ("wininit-refused", wininit_refused_run)]


def run_language(tools, base, display, language, out, notes):
    folder = os.path.join(out, language.key)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        if old.endswith(".png"):
            os.remove(os.path.join(folder, old))
    missing = {}
    for run_name, prepare in RUNS:
        s = Scenario(tools, "gallery-%s-%s" % (language.key, run_name), display)
        markers = os.path.join(s.folder, "markers")
        winehost.remove_tree(markers)
        os.makedirs(markers)
        expected = []
        started = time.time()
        try:
            s.create_prefix(base)
            steps = prepare(s, language, markers)
            expected = [action.split("\\")[-1].split(" ")[0] for _, action in steps if action.startswith("await ")]
            transcript = os.path.join(s.folder, "transcript.jsonl")
            # The transcript of this run's last gallery stays until the robot starts: the camera
            # would take its held windows for this run's, before there is anything to picture.
            if os.path.exists(transcript):
                os.remove(transcript)
            with Photographer(transcript, markers, folder, display) as camera:
                try:
                    t = s.run(steps, language=language, timeout=120, closing=False)
                finally:
                    time.sleep(0.3)
            for name in expected:
                if name not in camera.taken:
                    missing[name] = camera.errors.get(name, "the window did not appear")
            if run_name == "upgrade":
                dialogs = t.titled(UPGRADE_CAPTION)
                shown = dialogs[0].text(1, dialogs[0].seen) if dialogs else None
                variant = [v.key for v in UPGRADE_LANGUAGES if v.upgrade_exit == shown]
                if language not in UPGRADE_LANGUAGES and variant:
                    notes[(language.key, "04-upgrade-needed")] = "no variant of its own: the %s one" % variant[0]
            s.finish(passed=True)
        except (ScenarioFailure, ScenarioSkipped, winehost.HostError, subprocess.SubprocessError) as problem:
            for name, run in RUN_OF.items():
                if run == run_name and not os.path.exists(os.path.join(folder, name + ".png")):
                    missing[name] = "the run failed: %s" % str(problem).splitlines()[0][:200]
            s.finish(passed=False)
        print("  %s %-16s %5.1f s" % (language.key, run_name, time.time() - started), flush=True)
    return missing


RUN_OF = {"01-destination": "main", "02-folder-browser": "main", "03-progress": "main", "08-message-134": "main",
          "09-message-4": "main", "05-file-types": "main", "06-restart": "main", "04-upgrade-needed": "upgrade",
          "15-message-145": "upgrade", "10-message-5": "logoff", "14-message-144": "logoff",
          "07-message-128": "old-windows", "11-message-138": "uncreatable", "12-message-139": "copy-refused",
          "13-message-140": "wininit-refused", "16-message-146": "logoff"}


def write_index(out, languages, missing, notes, seconds):
    rows = []
    head = "".join("<th>%s</th>" % html.escape(language.key) for language in languages)
    for number, name, what in WINDOWS:
        key = "%s-%s" % (number, name)
        cells = []
        for language in languages:
            picture = os.path.join(language.key, key + ".png")
            note = notes.get((language.key, key))
            if os.path.exists(os.path.join(out, picture)):
                cells.append('<td><a href="%s"><img src="%s" alt="%s %s"></a>%s</td>' % (
                    picture, picture, html.escape(language.key), html.escape(name),
                    "<br><small>%s</small>" % html.escape(note) if note else ""))
            else:
                reason = missing.get((language.key, key), "not taken in this run")
                cells.append('<td class="missing">%s</td>' % html.escape(reason))
        rows.append("<tr><th>%s<br><small>%s</small></th>%s</tr>" % (number, html.escape(what), "".join(cells)))
    for what, why in NOT_SHOWN:
        rows.append('<tr><th>&ndash;<br><small>%s</small></th><td class="missing" colspan="%d">%s</td></tr>' % (
            html.escape(what), len(languages), html.escape(why)))
    page = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Lexaver setup: every window in every language</title>
<style>body{font-family:sans-serif} table{border-collapse:collapse} td,th{border:1px solid #ccc;padding:4px;
vertical-align:top;text-align:left} td.missing{color:#866;max-width:20em} img{display:block}</style></head>
<body><h1>Lexaver setup: every window in every language</h1>
<p>Taken under Wine (Xvfb, virtual desktop) by tools/gallery.sh in %.0f s. A row per window, a column per
language; a missing picture says why.</p>
<table><tr><th>Window</th>%s</tr>
%s
</table></body></html>
""" % (seconds, head, "\n".join(rows))
    with open(os.path.join(out, "index.html"), "w", encoding="utf-8") as page_file:
        page_file.write(page)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the windows build folder")
    parser.add_argument("--out", required=True)
    parser.add_argument("--work", help="prefixes and transcripts (default BUILD/gallery-work)")
    parser.add_argument("--languages", default=",".join(language.key for language in LANGUAGES))
    args = parser.parse_args(argv)
    build = os.path.abspath(args.build)
    out = os.path.abspath(args.out)
    work = os.path.abspath(args.work or os.path.join(build, "gallery-work"))
    chosen = [language for key in args.languages.split(",") for language in LANGUAGES if language.key == key]
    if not chosen:
        parser.error("no known language in %r" % args.languages)
    if not os.path.exists(IMPORT):
        print("ImageMagick's %s is missing (tools/deps.sh installs it)" % IMPORT, file=sys.stderr)
        return 1
    started = time.time()
    os.makedirs(out, exist_ok=True)
    tools = Tools(os.path.join(build, "Install.exe"), os.path.join(build, "tests", "robot", "robot.exe"),
                  os.path.join(build, "sample"), work, SOURCE)
    # A display of our own: pictures of the whole screen must show this run's desktop alone.
    display, xvfb = start_display()
    missing, notes = {}, {}
    try:
        base, _ = winehost.ensure_base_prefix(os.path.join(work, "base-prefix"), display, fonts=FONTS)
        for language in chosen:
            for name, reason in run_language(tools, base, display, language, out, notes).items():
                missing[(language.key, name)] = reason
    finally:
        xvfb.terminate()
        xvfb.wait(10)
    seconds = time.time() - started
    write_index(out, chosen, missing, notes, seconds)
    taken = sum(1 for language in chosen for n in os.listdir(os.path.join(out, language.key)) if n.endswith(".png"))
    print("%d pictures of %d windows in %d languages in %.0f s: %s" % (
        taken, len(WINDOWS), len(chosen), seconds, os.path.join(out, "index.html")))
    for (key, name), reason in sorted(missing.items()):
        print("  no picture %s/%s: %s" % (key, name, reason))
    return 0 if not missing else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
