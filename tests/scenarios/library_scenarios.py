"""Scenarios of the shared system libraries: versions compared, copies made at once, replacements
queued for the next start (a queued move on NT, "Wininit.ini" on Windows 95 and 98), and the
upgrade-needed dialog when no copy is carried.

Wine reports its builtin's version for any file named like one of its DLLs, so these scenarios
work on "Mfc42.dll" (no builtin) and on "Olepro32.dll" read with olepro32=n,b."""

import re

from checks import (DEFAULT_DESTINATION, check_message_box, check_product_files, check_progress,
                    check_uninstaller, file_version, run_steps, PERCENTS, STAGE_ENTRIES)
from expected_texts import (DOWNLOAD_ADDRESS, ENGLISH, FRENCH, ITALIAN, PORTUGUESE, RUSSIAN,
                            UPGRADE_CAPTION, UPGRADE_LANGUAGES)
from scenarios import scenario, SCENARIOS

SYSTEM = "C:\\windows\\system32"
MFC = SYSTEM + "\\Mfc42.dll"
OLEPRO = SYSTEM + "\\Olepro32.dll"
READ_OLEPRO_ITSELF = "olepro32=n,b"
# Wine carries out queued moves and Wininit.ini whenever a new wineserver starts: a scenario that
# looks at them before the restart keeps that boot step away from every command of its own.
NO_BOOT = "wineboot.exe=d"
BLUE, PURPLE = "0000ff", "800080"
SESSION_MANAGER = ["System\\CurrentControlSet\\Control\\Session Manager",
                   "System\\ControlSet001\\Control\\Session Manager"]


def temporary_files(s, folder=SYSTEM):
    """The names of the temporary copies in the system folder (or another), in lower case."""
    return sorted(n.lower() for n in s.entries(folder) if re.fullmatch(r"tem[0-9a-f]{1,4}\.tmp", n.lower()))


def pending_moves(s, registry):
    """The queued moves of the NT way: [(source, target)], "\\??\\" left out; a target that
    replaces an existing file starts with "!"."""
    for key in SESSION_MANAGER:
        value = registry.value("HKLM", key, "PendingFileRenameOperations")
        if value is not None:
            parts = value.data.split("\0")
            parts += [""] * (len(parts) % 2)
            strip = lambda p: p.replace("\\??\\", "")
            return [(strip(parts[i]), strip(parts[i + 1])) for i in range(0, len(parts), 2)]
    return []


def carry_two_libraries(s, windows):
    """A distribution with its own Mfc42.dll 6.0.8168 and Olepro32.dll 5.0.4275, both read as
    they are, and queued replacements left queued until the scenario restarts."""
    s.windows_version(windows)
    s.dll_overrides(NO_BOOT + ";" + READ_OLEPRO_ITSELF)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0", "Olepro32.dll": "5.0.4275.0"})


def upgrade_dialogs(t):
    return t.titled(UPGRADE_CAPTION)


def colours(t, hwnd):
    """The colours recorded by each "colours 1010" answer to the window, in order."""
    return [e["colours"] for e in t.answers() if e["hwnd"] == hwnd and e["action"].startswith("colours 1010")]


def ink(recorded):
    """Blue or purple: which link colour the control shows (the other must be absent)."""
    has_blue, has_purple = BLUE in recorded, PURPLE in recorded
    return "blue" if has_blue and not has_purple else "purple" if has_purple and not has_blue else \
        "neither" if not (has_blue or has_purple) else "both"


def check_upgrade_dialog(s, dialog, language, what="upgrade dialog"):
    state = dialog.seen
    s.check_equal(dialog.caption, UPGRADE_CAPTION, "%s: caption" % what)
    s.check_equal(dialog.text(1, state), language.upgrade_exit, "%s: button 1" % what)
    statics = [c["text"] for c in state["controls"] if c["class"].lower() == "static" and c["id"] == 0xFFFF
               and (int(c["style"], 16) & 0x1F) == 0]
    s.check_equal(statics, [language.upgrade_message], "%s: message" % what)
    s.check_equal(dialog.text(1010, state), DOWNLOAD_ADDRESS, "%s: static 1010" % what)
    link = dialog.control(1010, state)
    s.check(not int(link["style"], 16) & 0x00010000, "%s: the address is a tab stop" % what)
    s.check_equal(dialog.default_button(), 1, "%s: default button" % what)
    s.check_equal(dialog.visible_buttons(), [1], "%s: buttons" % what)


def upgrade_steps(language, answers):
    """Destination Next, then for each upgrade dialog its answers (a list of actions)."""
    steps = run_steps(language)
    for actions in answers:
        steps += [(UPGRADE_CAPTION, action) for action in actions]
    return steps


def check_first_library_shown(s, t, language):
    """While the first dialog stands, the progress window shows 0% and the first library's line."""
    progress = t.titled(language.progress_caption)
    s.check(len(progress) == 1, "progress windows: %d" % len(progress))
    dialog = upgrade_dialogs(t)[0]
    # Setup waits in the dialog until it is answered, but the robot may read the progress window
    # a moment after it has seen the dialog: judge by the last reading before the first answer.
    answered = min(a["t"] for a in t.answers() if a["hwnd"] == dialog.hwnd)
    before = [st for st in progress[0].states if st["t"] <= answered]
    s.check(before, "no progress window state before the upgrade dialog was answered")
    s.check_equal(progress[0].text(1028, before[-1]), PERCENTS[0], "progress under the dialog: percentage")
    s.check_equal(progress[0].text(1029, before[-1]), language.installing % STAGE_ENTRIES[0],
                  "progress under the dialog: line")


# ---- NT: the queued move ---------------------------------------------------------------------

@scenario("library-queued")
def queues_a_newer_library_in_use(s):
    s.windows_version("winxp")
    s.dll_overrides(NO_BOOT)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
    s.place_library(MFC, "4.21.0.0")
    installed = s.read(MFC)
    t = s.run(run_steps(ENGLISH))
    check_progress(s, t, ENGLISH)
    s.check_equal([w.caption for w in t.windows], [ENGLISH.destination_caption, ENGLISH.progress_caption],
                  "windows shown")
    s.check_equal(s.read(MFC), installed, "the installed Mfc42.dll before the restart")
    temporary = temporary_files(s)
    s.check_equal(len(temporary), 1, "temporary files in the system folder: %s" % temporary)
    copy = SYSTEM + "\\" + temporary[0]
    s.check_equal(s.read(copy), s.read("C:\\dist\\Mfc42.dll"), "the temporary copy")
    moves = pending_moves(s, s.registry())
    s.check_equal([(a.lower(), b.lower()) for a, b in moves], [(copy.lower(), "!" + MFC.lower())], "queued moves")
    check_product_files(s, DEFAULT_DESTINATION)

    s.restart()
    s.check_equal(file_version(s.read(MFC)), (6, 0, 8168, 0), "Mfc42.dll after the restart")
    s.check_equal(temporary_files(s), [], "temporary files after the restart")


@scenario("library-equal")
def leaves_equal_and_newer_libraries_alone(s):
    # Equal in the first three parts (the fourth differs), and a carried copy older than the
    # installed library: neither is touched.
    carry_two_libraries(s, "winxp")
    s.place_library(MFC, "6.0.8168.9")
    s.place_library(OLEPRO, "5.0.4500.0")
    before = {path: s.read(path) for path in (MFC, OLEPRO)}
    t = s.run(run_steps(ENGLISH))
    check_progress(s, t, ENGLISH)
    s.check_equal(upgrade_dialogs(t), [], "upgrade dialogs")
    for path, content in before.items():
        s.check(s.read(path) == content, "%s was changed" % path)
    s.check_equal(temporary_files(s), [], "temporary files in the system folder")
    s.check_equal(pending_moves(s, s.registry()), [], "queued moves")


@scenario("library-copied")
def copies_over_a_missing_library_or_one_without_version(s):
    carry_two_libraries(s, "winxp")
    s.place_library(OLEPRO, "none")
    s.check(not s.exists(MFC), "a new prefix has no Mfc42.dll")
    t = s.run(run_steps(ENGLISH))
    check_progress(s, t, ENGLISH)
    s.check_equal(t.messageboxes(), [], "message boxes")
    for name, path in (("Mfc42.dll", MFC), ("Olepro32.dll", OLEPRO)):
        s.check(s.read(path) == s.read("C:\\dist\\" + name), "%s was not copied at once" % name)
    s.check_equal(temporary_files(s), [], "temporary files in the system folder")
    s.check_equal(pending_moves(s, s.registry()), [], "queued moves")


# ---- Windows 98: Wininit.ini -----------------------------------------------------------------

def replace_two_on_windows_98(s, existing=None):
    carry_two_libraries(s, "win98")
    s.place_library(MFC, "4.21.0.0")
    s.place_library(OLEPRO, "5.0.4055.0")
    if existing is not None:
        s.place_file("C:\\windows\\wininit.ini", existing)
    else:
        s.check(not s.exists("C:\\windows\\wininit.ini"), "a new prefix has no Wininit.ini")
    t = s.run(run_steps(ENGLISH))
    check_progress(s, t, ENGLISH)
    s.check_equal(t.messageboxes(), [], "message boxes")
    temporary = temporary_files(s)
    s.check_equal(len(temporary), 2, "temporary files in the system folder: %s" % temporary)
    # The system picks the temporary names: tell the copies apart by their content.
    copies = {}
    for name in temporary:
        content = s.read(SYSTEM + "\\" + name)
        for library in ("Mfc42.dll", "Olepro32.dll"):
            if content == s.read("C:\\dist\\" + library):
                copies[library] = SYSTEM + "\\" + name
    s.check_equal(sorted(copies), ["Mfc42.dll", "Olepro32.dll"], "temporary copies by content")
    lines = b""
    for library, installed in (("Mfc42.dll", MFC), ("Olepro32.dll", OLEPRO)):
        short_installed = s.short_path(installed).encode("ascii")
        short_copy = s.short_path(copies[library]).encode("ascii")
        lines += b"NUL=" + short_installed + b"\r\n" + short_installed + b"=" + short_copy + b"\r\n"
    return t, lines


def check_replaced_after_restart(s):
    s.restart()
    s.check_equal(file_version(s.read(MFC)), (6, 0, 8168, 0), "Mfc42.dll after the restart")
    s.check_equal(file_version(s.read(OLEPRO)), (5, 0, 4275, 0), "Olepro32.dll after the restart")
    s.check_equal(temporary_files(s), [], "temporary files after the restart")


@scenario("library-wininit-new")
def writes_a_new_wininit(s):
    t, lines = replace_two_on_windows_98(s)
    s.check_equal(s.read("C:\\windows\\wininit.ini"), b"[rename]\r\n" + lines, "Wininit.ini")
    s.check_equal(pending_moves(s, s.registry()), [], "queued moves (the NT way)")
    check_replaced_after_restart(s)


OTHER_PROGRAMS = (b"; pending work of other programs\r\n[Options]\r\nKeep=1\r\n"
                  b"[Rename]\r\nNUL=C:\\OTHER\\OLD.DLL\r\n\r\n[Last]\r\nA=B")


@scenario("library-wininit-merge")
def keeps_other_programs_renames(s):
    t, lines = replace_two_on_windows_98(s, OTHER_PROGRAMS)
    head, tail = OTHER_PROGRAMS.split(b"\r\n\r\n[Last]")
    s.check_equal(s.read("C:\\windows\\wininit.ini"), head + b"\r\n" + lines + b"\r\n[Last]" + tail,
                  "Wininit.ini")
    check_replaced_after_restart(s)


# ---- the upgrade-needed dialog ---------------------------------------------------------------

@scenario("upgrade-exit")
def shows_the_upgrade_dialog_for_each_old_library(s):
    s.windows_version("winxp")
    s.dll_overrides(READ_OLEPRO_ITSELF)
    s.write_distribution(without=["Mfc42.dll", "Olepro32.dll"])
    s.place_library(MFC, "4.20.9.0")
    s.place_library(OLEPRO, "5.0.4054.0")
    # The robot waits for the colour that the link should show; the check below then tells
    # whether it was that colour alone.
    # Setup does not bring this dialog to the front: a click on its icon activates it, as a user's
    # first click would, for under Wine the click that activates a window may not reach the link.
    # A second click on the link opens the address again; it also makes up for a first click that
    # a busy machine lost (then only one address is opened).
    t = s.run(upgrade_steps(ENGLISH, [["colours 1010 " + BLUE, "mouse 263", "mouse 1010", "colours 1010 " + PURPLE,
                                       "mouse 1010", "colours 1010 " + PURPLE, "click 1"],
                                      ["colours 1010 " + BLUE, "enter"]]))
    dialogs = upgrade_dialogs(t)
    s.check_equal(len(dialogs), 2, "upgrade dialogs")
    for number, dialog in enumerate(dialogs, 1):
        check_upgrade_dialog(s, dialog, ENGLISH, "upgrade dialog %d" % number)
    first, second = (colours(t, d.hwnd) for d in dialogs)
    inks = [ink(c) for c in first]
    s.check_equal([inks[0], inks[2]], ["blue", "purple"], "the first address before and after the clicks")
    s.check_equal([ink(c) for c in second], ["blue"], "the second address")
    clicks = 2 if inks[1] == "purple" else 1
    s.check_equal(s.opened_urls(), [DOWNLOAD_ADDRESS] * clicks, "addresses opened")
    check_first_library_shown(s, t, ENGLISH)
    check_progress(s, t, ENGLISH)
    s.check_equal(t.messageboxes(), [], "message boxes")
    check_product_files(s, DEFAULT_DESTINATION)
    check_uninstaller(s)
    s.check_equal(file_version(s.read(MFC)), (4, 20, 9, 0), "the old Mfc42.dll is left as it was")


def ends_on_cancel(action):
    def run_cancel(s):
        s.windows_version("winxp")
        s.write_distribution(without=["Mfc42.dll"])
        t = s.run(upgrade_steps(ENGLISH, [[action]]))
        s.check_equal([w.caption for w in t.windows],
                      [ENGLISH.destination_caption, ENGLISH.progress_caption, UPGRADE_CAPTION], "windows shown")
        check_upgrade_dialog(s, upgrade_dialogs(t)[0], ENGLISH)
        check_first_library_shown(s, t, ENGLISH)
        lines = [line for line in t.titled(ENGLISH.progress_caption)[0].texts(1029) if line]
        s.check_equal(lines[-1], ENGLISH.installing % STAGE_ENTRIES[0], "progress: last line")
        s.check(not s.exists(DEFAULT_DESTINATION + "\\Ada.ini"), "a product file was copied after the dialog")
        check_uninstaller(s, present=False)
        s.check_equal(s.opened_urls(), [], "addresses opened")
    return run_cancel


SCENARIOS["upgrade-esc"] = ends_on_cancel("esc")
SCENARIOS["upgrade-close"] = ends_on_cancel("close")


def upgrade_in(language):
    def run_language(s):
        s.windows_version("winxp")
        s.write_distribution(without=["Mfc42.dll"])
        t = s.run(upgrade_steps(language, [["click 1"]]), language=language)
        dialogs = upgrade_dialogs(t)
        s.check_equal(len(dialogs), 1, "upgrade dialogs")
        if language in UPGRADE_LANGUAGES:
            check_upgrade_dialog(s, dialogs[0], language)
            return []
        # No variant of its own: the resource loader falls back to one of the three.
        shown = dialogs[0].text(1, dialogs[0].seen)
        fallback = [l for l in UPGRADE_LANGUAGES if l.upgrade_exit == shown]
        s.check(fallback, "the dialog's button reads %r, which is no variant's" % shown)
        check_upgrade_dialog(s, dialogs[0], fallback[0])
        return ["%s falls back to the %s dialog" % (language.key, fallback[0].key)]
    return run_language


for _language in (ENGLISH, FRENCH, ITALIAN, RUSSIAN, PORTUGUESE):
    SCENARIOS["upgrade-" + _language.key] = upgrade_in(_language)


# ---- failures that end the run ---------------------------------------------------------------

@scenario("library-copy-refused")
def reports_a_copy_into_the_system_folder_that_fails(s):
    s.windows_version("winxp")
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
    s.place_file(MFC, b"an unversioned file that cannot be replaced\r\n", unwritable=True)
    denied = s.system_message(5)
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")])
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 1, "message boxes")
    check_message_box(s, boxes[0], ENGLISH.message_139 % ("C:\\dist\\Mfc42.dll", MFC, denied))
    s.check(not s.exists(DEFAULT_DESTINATION + "\\Ada.ini"), "product files were copied after the failure")
    check_uninstaller(s, present=False)


@scenario("library-wininit-refused")
def reports_a_wininit_that_cannot_be_opened(s):
    # An earlier library keeps its outcome: Mfc42.dll is copied at once before Olepro32.dll needs
    # the pending-rename file, which is a folder here.
    carry_two_libraries(s, "win98")
    s.place_library(OLEPRO, "5.0.4055.0")
    s.make_folder("C:\\windows\\wininit.ini")
    denied = s.system_message(5)
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")])
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 1, "message boxes")
    check_message_box(s, boxes[0], ENGLISH.message_140 % ("C:\\windows\\Wininit.ini", denied))
    s.check(s.read(MFC) == s.read("C:\\dist\\Mfc42.dll"), "Mfc42.dll, handled before the failure, was not copied")
    s.check_equal(temporary_files(s), [], "temporary files left in the system folder")
    s.check(not s.exists(DEFAULT_DESTINATION + "\\Ada.ini"), "product files were copied after the failure")


@scenario("library-no-temporary")
def reports_a_system_folder_without_room_for_the_copy(s):
    # No temporary file can be made in the system folder: reported like a failed copy into it,
    # with the folder in place of the temporary file, and nothing is copied or queued. Wine's
    # GetTempFileNameA returns a name even when it could not create the file; the copy into that
    # name then fails and is reported with it: either way no temporary file may be left.
    s.windows_version("winxp")
    s.dll_overrides(NO_BOOT)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
    s.place_library(MFC, "4.21.0.0")
    installed = s.read(MFC)
    denied = s.system_message(5)
    s.make_unwritable_folder(SYSTEM)
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")])
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 1, "message boxes")
    named = re.search(r" to (.*?) : ", boxes[0].message() or "")
    target = named.group(1) if named else SYSTEM
    s.check(target == SYSTEM or re.fullmatch(re.escape(SYSTEM) + r"\\tem[0-9a-f]{1,4}\.tmp", target, re.I),
            "message 139 names %r, neither the system folder nor a temporary file in it" % target)
    check_message_box(s, boxes[0], ENGLISH.message_139 % ("C:\\dist\\Mfc42.dll", target, denied))
    s.check_equal(s.read(MFC), installed, "the installed Mfc42.dll")
    s.check_equal(temporary_files(s), [], "temporary files in the system folder")
    s.check_equal(pending_moves(s, s.registry()), [], "queued moves")
    s.check(not s.exists(DEFAULT_DESTINATION + "\\Ada.ini"), "product files were copied after the failure")
    return ["the temporary name %s" % ("could not be had" if target == SYSTEM else "was given, the copy into it failed")]
