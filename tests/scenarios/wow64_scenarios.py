"""The 32-bit release on 64-bit Windows (Windows 7 to 11 as Wine presents them): a 64-bit prefix in
which setup runs under WoW64. The system folder that setup names is the 64-bit one, whose files a
32-bit program finds in SysWOW64; HKLM\\Software is the 32-bit view (Wow6432Node). What setup
leaves for later must name what the 32-bit programs load: after the restart, carried out by the
64-bit system, the library in SysWOW64 is the new one, and no file of the 64-bit system folder
has changed. Run by the 32-bit build only."""

import hashlib
import os

from checks import WINDOWS_UNINSTALLER, check_product_files, check_progress, check_uninstaller, file_version, run_steps
from closing_scenarios import ENVIRONMENT, check_associations, check_restart_dialog, path_value
from expected_texts import ENGLISH, PRODUCT
from library_scenarios import NO_BOOT, pending_moves, temporary_files
from regfile import REG_EXPAND_SZ, REG_SZ, RegistryValue
from registration_scenarios import (APP_PATHS, CONTROL_KEY, UNINSTALL, check_shortcuts, message_texts,
                                    shell_folders, snapshot, typed)
from scenarios import scenario

NATIVE_SYSTEM = "C:\\windows\\system32"
# Other programs' entries, which must come back as they were, every byte: the system's own, and one
# naming the 64-bit Program Files that a 32-bit view would turn into "%ProgramFiles(x86)%".
OTHER_ENTRIES = "%SystemRoot%\\system32;%SystemRoot%;%ProgramFiles%\\Tool;C:\\Tools"


def destination(s):
    return s.program_files + "\\" + PRODUCT


def library(s, name):
    return s.system_folder + "\\" + name


def native_system_files(s):
    """{path below the 64-bit system folder: SHA-256} of every file there."""
    root = s.linux(NATIVE_SYSTEM)
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as data:
                    found[os.path.relpath(path, root)] = hashlib.sha256(data.read()).hexdigest()
    return found


def check_native_system_unchanged(s, before, when):
    after = native_system_files(s)
    changed = sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))
    s.check(not changed, "files of the 64-bit system folder changed %s: %s" % (when, changed[:10]))


def carry_a_newer_library(s, version, without=()):
    """The distribution carries Mfc42.dll 6.0.8168 over an installed 4.21.0 for 32-bit programs;
    the 64-bit system folder has its own Mfc42.dll, which must stay as it is."""
    s.windows_version(version)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"}, without=without)
    s.place_library(library(s, "Mfc42.dll"), "4.21.0.0")
    s.place_library(NATIVE_SYSTEM + "\\Mfc42.dll", "4.21.0.0")
    s.check(s.read(library(s, "Mfc42.dll")) is not None and s.system_folder.lower() != NATIVE_SYSTEM,
            "the prefix is no 64-bit one: %s" % s.system_folder)
    return native_system_files(s)


def check_replaced_for_32_bit_programs(s, native_before):
    s.check_equal(file_version(s.read(library(s, "Mfc42.dll"))), (6, 0, 8168, 0),
                  "Mfc42.dll of the 32-bit programs after the restart")
    s.check_equal(temporary_files(s, s.system_folder), [], "temporary files in %s after the restart" % s.system_folder)
    check_native_system_unchanged(s, native_before, "by the run and the restart")


@scenario("wow64-win10", wow64=True)
def installs_as_on_64_bit_windows_10(s):
    """The whole run: files, the library queued, shortcuts for all users, the App Paths and
    Uninstall entries of the 32-bit view, the control, the file types and the shared Path."""
    native_before = carry_a_newer_library(s, "win10")
    s.dll_overrides(NO_BOOT)  # the reading of the shortcuts below must not carry out the queued move
    s.set_registry("HKLM", ENVIRONMENT, {"Path": RegistryValue(REG_EXPAND_SZ, OTHER_ENTRIES)})
    folders = shell_folders(s)
    before = snapshot(s, folders)
    t = s.run(run_steps(ENGLISH) + [(ENGLISH.types_caption, "click 1"), (ENGLISH.restart_caption, "press 1031"),
                                    (ENGLISH.restart_caption, "click 1")], closing=False)
    s.check_equal([w.caption for w in t.windows], [ENGLISH.destination_caption, ENGLISH.progress_caption,
                                                  ENGLISH.types_caption, ENGLISH.restart_caption], "windows shown")
    s.check_equal(message_texts(t), [], "message boxes")
    check_progress(s, t, ENGLISH)
    check_restart_dialog(s, t, ENGLISH)
    folder = destination(s)
    check_product_files(s, folder)
    check_uninstaller(s)
    check_shortcuts(s, folders, before, ENGLISH.shortcuts, destination=folder)

    # The replacement waits in the 32-bit system folder, named as the restart will see it.
    s.check_equal(file_version(s.read(library(s, "Mfc42.dll"))), (4, 21, 0, 0), "Mfc42.dll before the restart")
    temporary = temporary_files(s, s.system_folder)
    s.check_equal(len(temporary), 1, "temporary copies in %s: %s" % (s.system_folder, temporary))
    s.check_equal(temporary_files(s, NATIVE_SYSTEM), [], "temporary copies in the 64-bit system folder")
    registry = s.registry()
    s.check_equal([(a.lower(), b.lower()) for a, b in pending_moves(s, registry)],
                  [((s.system_folder + "\\" + temporary[0]).lower(), "!" + library(s, "Mfc42.dll").lower())],
                  "queued moves")

    # The entries of the 32-bit view. Both widths share App Paths, where the 64-bit shell finds
    # the editor; the uninstall entry is the 32-bit view's own, where the list of programs finds a
    # 32-bit program's.
    s.check_equal(typed(registry.values("HKLM", APP_PATHS)), {"": (REG_SZ, folder + "\\Lexaver.exe")},
                  "HKLM\\" + APP_PATHS + " (32-bit view)")
    s.check_equal(typed(registry.values("HKLM", UNINSTALL)),
                  {"DisplayName": (REG_SZ, PRODUCT),
                   "UninstallString": (REG_SZ, "%s /%s /%s" % (WINDOWS_UNINSTALLER, PRODUCT, folder))},
                  "HKLM\\" + UNINSTALL + " (32-bit view)")
    native = registry.raw()
    s.check(native.has_key("HKLM", APP_PATHS), "HKLM\\%s is not in the 64-bit view" % APP_PATHS)
    s.check(not native.has_key("HKLM", UNINSTALL), "HKLM\\%s was written in the 64-bit view" % UNINSTALL)
    s.check_equal(typed(registry.values("HKCR", CONTROL_KEY)),
                  {"": (REG_SZ, "Lexaver sample control"), "Path": (REG_SZ, folder + "\\Lexaver.ocx")},
                  "the sample control's own key")
    check_associations(s, registry, folder=folder)
    value = path_value(registry)
    s.check_equal((value.kind, value.data) if value else None, (REG_EXPAND_SZ, OTHER_ENTRIES + ";" + folder),
                  "Path (other entries as they were)")

    s.restart()
    check_replaced_for_32_bit_programs(s, native_before)
    return ["destination %s; libraries of 32-bit programs in %s" % (folder, s.system_folder)]


@scenario("wow64-restart-now", wow64=True)
def restarts_as_on_64_bit_windows_7(s):
    """Setup's own restart request carries out the replacement it queued, in SysWOW64."""
    native_before = carry_a_newer_library(s, "win7", without=["Lexaver.exe"])
    t = s.run(run_steps(ENGLISH) + [(ENGLISH.restart_caption, "click 1")], closing=False, expect_end=False)
    check_restart_dialog(s, t, ENGLISH)
    s.check_equal(message_texts(t), [], "message boxes")
    s.prefix.wait_idle(60)
    s.prefix.stop()
    check_replaced_for_32_bit_programs(s, native_before)
    check_product_files(s, destination(s), missing=["Lexaver.exe"])


@scenario("wow64-library-copied", wow64=True)
def copies_a_missing_library_for_32_bit_programs(s):
    s.windows_version("win10")
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
    s.check(not s.exists(library(s, "Mfc42.dll")), "a new prefix has a 32-bit Mfc42.dll")
    native_before = native_system_files(s)
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    s.check_equal(s.read(library(s, "Mfc42.dll")), s.read("C:\\dist\\Mfc42.dll"), "Mfc42.dll for 32-bit programs")
    s.check_equal(temporary_files(s, s.system_folder), [], "temporary files in %s" % s.system_folder)
    s.check_equal(pending_moves(s, s.registry()), [], "queued moves")
    check_native_system_unchanged(s, native_before, "by the run")
