"""The Linux side of a scenario: the X display, the base Wine prefix and the fresh copy of it that
each scenario runs in. Every Wine run is bounded in time; only our own prefixes' wineservers are
stopped; nothing a run does lands outside its prefix (no menu entries, no shell folders linked to
the home folder, no real browser)."""

import fcntl
import os
import shutil
import signal
import subprocess
import time

import regfile

# The menu builder would write .desktop files and menus into the Linux home folder.
WINE_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"
WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": WINE_OVERRIDES}
BASE_MARKER = ".rig-ready"
URL_RECORDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "record-url.sh")
URLS_OPENED = "urls-opened.txt"  # in drive_c, written by URL_RECORDER
# A change here makes the base prefix anew.
BASE_RECIPE = ("wineboot -i without menu builder, user folders inside the prefix, browser %s, "
               "virtual desktop 1024x768" % os.path.abspath(URL_RECORDER))
SHELL_FOLDERS = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
# Wine's own fonts (Marlett, Tahoma, MS Sans Serif, ...; Debian's fonts-wine). Debian's Wine 8 looks
# for them in \??\Z:\usr\share\wine\../fonts, an NT path with a literal ".." that its file lookup
# does not find, and wineboot copies none into C:\windows\Fonts: a prefix has none of them, and Wine
# draws with fontconfig's fonts in their place. A font file in C:\windows\Fonts it finds
# (ensure_base_prefix's `fonts`).
WINE_FONTS = "/usr/share/wine/fonts"


# Wine's loaders by the width of the programs they run, called by their own paths: Debian's wine
# wrapper always picks the 32-bit one where it is installed. The 64-bit server serves prefixes of
# either width. A new prefix is of that width too (the 32-bit loader would otherwise make a 64-bit
# one wherever the 64-bit loader is installed). tools/wine-env.sh makes the same choice for the
# shell scripts.
LOADERS = {32: "/usr/lib/wine/wine", 64: "/usr/lib/wine/wine64"}
ARCHITECTURES = {32: "win32", 64: "win64"}
SERVER = "/usr/lib/wine/wineserver64"


def use_width(width):
    """Every Wine command of this process and its children runs programs of `width` bits."""
    os.environ.update(WINE_WIDTH=str(width), WINELOADER=LOADERS[width], WINEARCH=ARCHITECTURES[width],
                      WINESERVER=SERVER)


def loader():
    return os.environ.get("WINELOADER") or "wine"


def server():
    return os.environ.get("WINESERVER") or "wineserver"


class HostError(Exception):
    """The machine cannot run a scenario (no display, no prefix): not a finding about setup."""


def wine_version():
    try:
        return subprocess.run([loader(), "--version"], capture_output=True, text=True, timeout=30).stdout.strip()
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
    """A Wine prefix of our own under the build folder. `wow64`: a 64-bit prefix, in which
    the 32-bit programs run as on 64-bit Windows, instead of one of the programs' width."""

    def __init__(self, path, display, wow64=False):
        self.path = path
        self.display = display
        self.wow64 = wow64
        self.overrides = ""  # more WINEDLLOVERRIDES entries for every Wine command of this prefix

    def env(self, language=None, overrides=None):
        """`overrides`: WINEDLLOVERRIDES entries instead of self.overrides, e.g. "wineboot.exe=d"."""
        env = dict(os.environ, WINEPREFIX=self.path, DISPLAY=self.display, **WINE_ENV)
        if self.wow64:
            env["WINEARCH"] = "win64"
        extra = self.overrides if overrides is None else overrides
        if extra:
            env["WINEDLLOVERRIDES"] = WINE_OVERRIDES + ";" + extra
        env["LC_ALL"] = language or "en_US.UTF-8"
        return env

    def wine(self, args, timeout, language=None, overrides=None):
        """Runs `wine ARGS`; returns (exit code or None on timeout, stdout, stderr)."""
        process = subprocess.Popen([loader()] + args, env=self.env(language, overrides), stdout=subprocess.PIPE,
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
        subprocess.run([server(), "-k"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([server(), "-w"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_idle(self, seconds):
        """True when every process of the prefix has ended within `seconds`."""
        try:
            subprocess.run([server(), "-w"], env=self.env(), timeout=seconds,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return True
        except subprocess.TimeoutExpired:
            return False

    def drive_c(self):
        return os.path.join(self.path, "drive_c")

    def keep_inside(self):
        """Right after wineboot -i: the user's shell folders (Desktop, Documents, ..., also
        AppData\\Roaming\\Microsoft\\Windows\\Templates) become real folders of the prefix instead
        of links to $HOME, and web addresses go to URL_RECORDER instead of a browser."""
        for link in self.outside_links():
            os.remove(link)
            os.mkdir(link)
        self.wine(["reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers", "/d",
                   os.path.abspath(URL_RECORDER), "/f"], timeout=60)

    def outside_links(self):
        """Links below drive_c/users that lead out of the prefix; none after keep_inside."""
        found = []
        prefix = os.path.realpath(self.path) + os.sep
        for folder, dirs, names in os.walk(os.path.join(self.drive_c(), "users")):
            for name in dirs + names:
                path = os.path.join(folder, name)
                if os.path.islink(path) and not os.path.realpath(path).startswith(prefix):
                    found.append(path)
        return found

    def registry_value(self, root, key, name):
        """A string value from the registry files of the stopped prefix, or None; in a WoW64
        prefix as 32-bit programs see it."""
        keys = regfile.read_reg_file(os.path.join(self.path, regfile.ROOT_FILES[root]))
        entry = keys.get((regfile.view32(root, key, keys) if self.wow64 else key).lower())
        value = entry[1].get(name.lower()) if entry else None
        return value[1].data if value else None

    def shell_folders_outside(self):
        """The user's shell folders (as the shell reports them) that are no real folder of the
        prefix."""
        outside = []
        prefix = os.path.realpath(self.path) + os.sep
        for name in ("Desktop", "Personal", "My Music", "My Pictures", "My Videos"):
            path = self.registry_value("HKCU", SHELL_FOLDERS, name)
            if not path or path[:3].upper() != "C:\\":
                outside.append("%s=%r" % (name, path))
                continue
            unix = os.path.join(self.drive_c(), *path[3:].split("\\"))
            if not os.path.isdir(unix) or not os.path.realpath(unix).startswith(prefix):
                outside.append("%s=%s" % (name, path))
        return outside

    def opened_urls(self):
        try:
            with open(os.path.join(self.drive_c(), URLS_OPENED), encoding="utf-8", errors="replace") as lines:
                return lines.read().splitlines()
        except FileNotFoundError:
            return []


class HomeWatch:
    """The entries of the Linux home folder where Wine would write (its top level, and the menu
    and desktop entry folders): a run that adds any has written outside the build folder."""

    PLACES = ("", ".local/share/applications", ".local/share/desktop-directories", ".config/menus")

    def __init__(self):
        self.home = os.path.expanduser("~")
        self.before = self._entries()

    def _entries(self):
        found = set()
        for place in self.PLACES:
            folder = os.path.join(self.home, place)
            try:
                found.update(os.path.join(folder, name) for name in os.listdir(folder))
            except OSError:
                continue
        return found

    def new_entries(self):
        return sorted(self._entries() - self.before)


def ensure_base_prefix(path, display, fonts=(), wow64=False):
    """Creates the prefix that every scenario copies, once; concurrent callers wait for it.
    `fonts`: files of WINE_FONTS put into the prefix's C:\\windows\\Fonts, where Wine finds them.
    `wow64`: as for Prefix. Returns the prefix and the seconds spent creating or waiting for it."""
    start = time.time()
    os.makedirs(os.path.dirname(path), exist_ok=True)
    version = "%s, %s; %s" % (wine_version(), "WoW64" if wow64 else os.environ.get("WINEARCH", "default width"),
                              BASE_RECIPE)
    if fonts:
        version += "; fonts %s" % ", ".join(fonts)
    for font in fonts:
        if not os.path.isfile(os.path.join(WINE_FONTS, font)):
            raise HostError("Wine's font %s is missing (Debian's fonts-wine)" % os.path.join(WINE_FONTS, font))
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        marker = os.path.join(path, BASE_MARKER)
        if os.path.exists(marker) and open(marker).read().strip() == version:
            return Prefix(path, display, wow64), time.time() - start
        shutil.rmtree(path, ignore_errors=True)
        base = Prefix(path, display, wow64)
        code, _, err = base.wine(["wineboot", "-i"], timeout=240)
        if os.path.isdir(os.path.join(base.drive_c(), "users")):
            base.keep_inside()
        # A virtual desktop, as tools/wine-env.sh makes: without a window manager Wine would
        # wait about two seconds for one at every window it shows or hides.
        base.wine(["reg", "add", "HKCU\\Software\\Wine\\Explorer", "/v", "Desktop", "/d", "Default", "/f"],
                  timeout=60)
        base.wine(["reg", "add", "HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", "Default", "/d",
                   "1024x768", "/f"], timeout=60)
        base.stop()
        if not os.path.exists(os.path.join(path, "system.reg")):
            raise HostError("wineboot could not create %s: %s" % (path, err.strip()[-500:]))
        for font in fonts:
            shutil.copy(os.path.join(WINE_FONTS, font), os.path.join(base.drive_c(), "windows", "Fonts", font))
        leaks = base.outside_links() + base.shell_folders_outside()
        if leaks:
            raise HostError("the base prefix leads out of itself: %s" % ", ".join(leaks))
        browsers = base.registry_value("HKCU", "Software\\Wine\\WineBrowser", "Browsers")
        if browsers != os.path.abspath(URL_RECORDER):
            raise HostError("the base prefix's browser is %r, not the recorder" % browsers)
        with open(marker, "w") as out:
            out.write(version + "\n")
    return Prefix(path, display, wow64), time.time() - start


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
    """Makes a file (or a folder's list of entries) unwritable also for root: the read-only attribute alone does not stop Wine
    from overwriting it when Wine runs as root. The file is noted in `ledger` so that it can be
    removed later. Returns False when this cannot be done here."""
    os.chmod(path, 0o555 if os.path.isdir(path) else 0o444)
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
