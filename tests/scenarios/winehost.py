"""The Linux side of a scenario: the X display, the base Wine prefix and the fresh copy of it that
each scenario runs in. Every Wine run is bounded in time; only our own prefixes' wineservers are
stopped."""

import fcntl
import os
import shutil
import signal
import subprocess
import time

WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
BASE_MARKER = ".rig-ready"
BASE_RECIPE = "wineboot -i, virtual desktop 1024x768"  # a change here makes the base prefix anew


class HostError(Exception):
    """The machine cannot run a scenario (no display, no prefix): not a finding about setup."""


def wine_version():
    try:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True, timeout=30).stdout.strip()
    except (OSError, subprocess.TimeoutExpired) as error:
        raise HostError("wine is not usable: %s" % error)


def display_works(display):
    if not display:
        return False
    number = display.split(":")[-1].split(".")[0]
    return os.path.exists("/tmp/.X11-unix/X%s" % number)


def start_xvfb():
    """Starts Xvfb on a display number it picks itself (no race with other starters); returns
    (display, process). The process is in a session of its own so it outlives its starter."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.time() + 15
    while not number.endswith(b"\n") and time.time() < deadline:
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        process.kill()
        raise HostError("Xvfb did not start")
    return ":" + number.decode().strip(), process


class SharedDisplay:
    """One Xvfb for a whole test run, recorded in a file so that every scenario finds it."""

    def __init__(self, work):
        self.file = os.path.join(work, "display")

    def start(self):
        display, process = start_xvfb()
        with open(self.file, "w") as out:
            out.write("%s %d\n" % (display, process.pid))
        return display

    def find(self):
        try:
            display, pid = open(self.file).read().split()
        except (OSError, ValueError):
            return None
        return display if display_works(display) and _alive(int(pid)) else None

    def stop(self):
        try:
            display, pid = open(self.file).read().split()
        except (OSError, ValueError):
            return
        if _alive(int(pid)) and _is_xvfb(int(pid)):
            os.kill(int(pid), signal.SIGTERM)
        os.remove(self.file)


def _alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


def _is_xvfb(pid):
    try:
        return open("/proc/%d/comm" % pid).read().strip() == "Xvfb"
    except OSError:
        return False


class Prefix:
    """A Wine prefix of our own under the build folder."""

    def __init__(self, path, display):
        self.path = path
        self.display = display

    def env(self, language=None):
        env = dict(os.environ, WINEPREFIX=self.path, DISPLAY=self.display, **WINE_ENV)
        env["LC_ALL"] = language or "en_US.UTF-8"
        return env

    def wine(self, args, timeout, language=None):
        """Runs `wine ARGS`; returns (exit code or None on timeout, stdout, stderr)."""
        process = subprocess.Popen(["wine"] + args, env=self.env(language), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, start_new_session=True)
        try:
            out, err = process.communicate(timeout=timeout)
            return process.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            out, err = process.communicate()
            self.stop()
            return None, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")

    def stop(self):
        """Stops this prefix's wineserver and its processes; the registry is written out."""
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_idle(self, seconds):
        """True when every process of the prefix has ended within `seconds`."""
        try:
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=seconds,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return True
        except subprocess.TimeoutExpired:
            return False

    def drive_c(self):
        return os.path.join(self.path, "drive_c")


def ensure_base_prefix(path, display):
    """Creates the prefix that every scenario copies, once; concurrent callers wait for it.
    Returns the prefix and the seconds spent creating or waiting for it."""
    start = time.time()
    os.makedirs(os.path.dirname(path), exist_ok=True)
    version = "%s; %s" % (wine_version(), BASE_RECIPE)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        marker = os.path.join(path, BASE_MARKER)
        if os.path.exists(marker) and open(marker).read().strip() == version:
            return Prefix(path, display), time.time() - start
        shutil.rmtree(path, ignore_errors=True)
        base = Prefix(path, display)
        code, _, err = base.wine(["wineboot", "-i"], timeout=240)
        # A virtual desktop, as tools/wine-env.sh makes: without a window manager Wine would
        # wait about two seconds for one at every window it shows or hides.
        base.wine(["reg", "add", "HKCU\\Software\\Wine\\Explorer", "/v", "Desktop", "/d", "Default", "/f"],
                  timeout=60)
        base.wine(["reg", "add", "HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", "Default", "/d",
                   "1024x768", "/f"], timeout=60)
        base.stop()
        if not os.path.exists(os.path.join(path, "system.reg")):
            raise HostError("wineboot could not create %s: %s" % (path, err.strip()[-500:]))
        with open(marker, "w") as out:
            out.write(version + "\n")
    return Prefix(path, display), time.time() - start


def copy_prefix(base, path, ledger):
    """A fresh copy of the base prefix; returns the seconds it took."""
    remove_tree(path, ledger)
    start = time.time()
    with open(base.path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_SH)
        subprocess.run(["cp", "-a", base.path, path], check=True)
    os.remove(os.path.join(path, BASE_MARKER))
    return time.time() - start


def make_unwritable(path, ledger):
    """Makes a file unwritable also for root: the read-only attribute alone does not stop Wine
    from overwriting it when Wine runs as root. The file is noted in `ledger` so that it can be
    removed later. Returns False when this cannot be done here."""
    os.chmod(path, 0o444)
    if os.geteuid() != 0:
        return True
    with open(ledger, "a") as out:
        out.write(path + "\n")
    result = subprocess.run(["chattr", "+i", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return result.returncode == 0


def release_unwritable(ledger):
    """Undoes make_unwritable, so that nothing is left that even root cannot delete."""
    if not os.path.exists(ledger):
        return
    for line in open(ledger).read().split("\n"):
        if line and os.path.exists(line):
            subprocess.run(["chattr", "-i", line], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.remove(ledger)


def remove_tree(path, ledger=None):
    if ledger:
        release_unwritable(ledger)
    if os.path.lexists(path):
        shutil.rmtree(path)
