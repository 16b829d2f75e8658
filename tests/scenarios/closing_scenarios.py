"""Scenarios of the end of a run: the file types dialog and its registry keys, the search path (the
NT "Path" value, the PATH statement of "C:\\Autoexec.bat" on Windows 95 and 98), and the closing
window: the restart dialog, the restart notice, the logoff question or the completion message.

These scenarios script every window themselves (closing=False). ExitWindowsEx under Wine ends the
whole prefix's session, the robot included: where a scenario asks for it, it reads the outcome
from the machine and from what the robot recorded before."""

from checks import DEFAULT_DESTINATION, check_message_box, check_product_files, file_version, run_steps
from expected_texts import DEFAULT_TYPES, ENGLISH, PRODUCT
from library_scenarios import MFC, pending_moves, temporary_files
from registration_scenarios import check_icon, icon_colours, icon_steps, message_texts
from scenarios import scenario, SCENARIOS

ENVIRONMENT = "System\\CurrentControlSet\\Control\\Session Manager\\Environment"
EDITOR = DEFAULT_DESTINATION + "\\Lexaver.exe"
AUTOEXEC, BACKUP = "C:\\Autoexec.bat", "C:\\Autoexec.bak"
IDYES, IDNO = 6, 7


def path_value(registry):
    return registry.value("HKLM", ENVIRONMENT, "Path")


def set_path(s, text):
    s.set_registry("HKLM", ENVIRONMENT, {"Path": text})


def types_steps(language, action="click 1"):
    return [(language.types_caption, action)]


def check_types_dialog(s, t, language):
    dialogs = t.titled(language.types_caption)
    s.check_equal(len(dialogs), 1, "file types dialogs")
    dialog = dialogs[0]
    state = dialog.seen
    s.check_equal(dialog.text(258, state), DEFAULT_TYPES, "file types dialog: the list")
    s.check_equal(dialog.text(1, state), language.types_yes, "file types dialog: button 1")
    s.check_equal(dialog.text(2, state), language.types_no, "file types dialog: button 2")
    s.check_equal(dialog.default_button(), 2, "file types dialog: default button")
    texts = [c["text"] for c in state["controls"] if c["id"] == 0xFFFF and c["class"].lower() == "static"
             and (int(c["style"], 16) & 0x1F) != 3]
    s.check_equal(texts, [language.types_prompt, language.types_label], "file types dialog: statics")
    return dialog


def check_restart_dialog(s, t, language):
    dialogs = t.titled(language.restart_caption)
    s.check_equal(len(dialogs), 1, "restart dialogs")
    dialog = dialogs[0]
    first = dialog.states[0]
    s.check_equal(dialog.text(1030, first), language.restart_now, "restart dialog: 1030")
    s.check_equal(dialog.text(1031, first), language.restart_later, "restart dialog: 1031")
    s.check_equal(dialog.text(1, first), "OK", "restart dialog: button")
    # Check states are read from the dialog's thread: judge by the last reading before the robot
    # first answered the dialog.
    answered = min(a["t"] for a in t.answers() if a["hwnd"] == dialog.hwnd)
    before = [st for st in dialog.states if st["t"] <= answered]
    checked = [(c["id"], c["checked"]) for c in before[-1]["controls"] if c["id"] in (1030, 1031)]
    s.check_equal(checked, [(1030, True), (1031, False)], "restart dialog: restart now checked when it appears")
    statics = [c["text"] for c in first["controls"] if c["id"] == 0xFFFF and c["class"].lower() == "static"]
    s.check_equal(statics, [language.restart_prompt], "restart dialog: prompt")
    return dialog


def check_associations(s, registry, types=None, folder=DEFAULT_DESTINATION):
    """The three txtfile values (quoted commands) and one key per extension."""
    program = folder.rstrip("\\") + "\\Lexaver.exe"
    expected = {"txtfile\\DefaultIcon": program + ",0",
                "txtfile\\shell\\open\\command": '"%s" "%%1"' % program,
                "txtfile\\shell\\print\\command": '"%s" /p "%%1"' % program}
    for key, text in expected.items():
        value = registry.value("HKCR", key)
        s.check(value is not None and value.kind == 1, "HKCR\\%s: %r is no REG_SZ" % (key, value))
        s.check_equal(value.data, text, "HKCR\\%s" % key)
    for extension in (types if types is not None else DEFAULT_TYPES.split()):
        value = registry.value("HKCR", "." + extension)
        s.check(value is not None and value.kind == 1 and value.data == "txtfile",
                "HKCR\\.%s: %r, not \"txtfile\"" % (extension, value))


def check_no_associations(s, registry):
    command = registry.value("HKCR", "txtfile\\shell\\open\\command")
    s.check(command is None or "Lexaver" not in command.data, "the open command was written: %r" % command)
    s.check(not registry.has_key("HKCR", ".1st"), "an extension key was written")


# ---- the file types dialog -----------------------------------------------------------------------

@scenario("types-yes")
def associates_the_default_list(s):
    s.windows_version("winxp")
    s.write_distribution()
    t = s.run(run_steps(ENGLISH) + types_steps(ENGLISH) + [("@messagebox", "click %d" % IDNO)], closing=False)
    check_types_dialog(s, t, ENGLISH)
    check_associations(s, s.registry())


def declines(action):
    def run_declined(s):
        s.windows_version("winxp")
        s.write_distribution()
        t = s.run(run_steps(ENGLISH) + types_steps(ENGLISH, action) + [("@messagebox", "click %d" % IDNO)],
                  closing=False)
        check_types_dialog(s, t, ENGLISH)
        check_no_associations(s, s.registry())
    return run_declined


for _name, _action in [("no", "click 2"), ("esc", "esc"), ("close", "close"), ("enter", "enter")]:
    SCENARIOS["types-" + _name] = declines(_action)


@scenario("types-edited")
def associates_an_edited_list(s):
    s.windows_version("winxp")
    s.write_distribution()
    t = s.run(run_steps(ENGLISH) + [(ENGLISH.types_caption, 'text 258 " txt  log .x TXT "'),
                                    (ENGLISH.types_caption, "click 1"), ("@messagebox", "click %d" % IDNO)],
              closing=False)
    registry = s.registry()
    check_associations(s, registry, ["txt", "log", ".x", "TXT"])
    s.check(not registry.has_key("HKCR", ".1st"), "an extension of the default list was written")
    s.check(registry.has_key("HKCR", "..x"), "the typed point was not kept")


@scenario("types-refused")
def refuses_a_program_type_until_the_list_is_corrected(s):
    s.windows_version("winxp")
    s.write_distribution()
    exe = repr(s.registry().value("HKCR", ".exe"))  # none in a new Wine prefix
    types = ENGLISH.types_caption
    t = s.run(run_steps(ENGLISH) + [(types, "text 258 txt EXE lxv"), (types, "click 1")] + icon_steps("stop") +
              [(types, "text 258 txt lxv"), (types, "click 1"), ("@messagebox", "click %d" % IDNO)], closing=False)
    s.check_equal(message_texts(t), [ENGLISH.message_146 % "EXE", ENGLISH.message_144], "message boxes")
    check_icon(s, icon_colours(t)[0], "stop", "message 146")
    dialogs = t.titled(types)
    s.check_equal(len(dialogs), 1, "file types dialogs (the one stays open)")
    # The dialog's states in force from the box's appearance up to OK (the robot may see the box
    # gone only after the dialog is enabled again).
    box = t.messageboxes()[0]
    ok = min(a["t"] for a in t.answers() if a["hwnd"] == box.hwnd and a["action"] == "click 1")
    states = [st for st in dialogs[0].states if st["t"] < ok]
    behind = [st["enabled"] for st in [st for st in states if st["t"] <= box.appeared][-1:] +
              [st for st in states if st["t"] > box.appeared]]
    s.check(not any(behind), "the file types dialog behind message 146: enabled %s" % behind)
    registry = s.registry()
    check_associations(s, registry, ["txt", "lxv"])
    s.check_equal(repr(registry.value("HKCR", ".exe")), exe, "HKCR\\.exe")
    s.check(not registry.has_key("HKCR", ".1st"), "an extension of the default list was written")


# ---- the search path on NT -----------------------------------------------------------------------

def logoff_run(s, answer, path=None):
    s.windows_version("winxp")
    s.write_distribution()
    if path is not None:
        set_path(s, path)
    return s.run(run_steps(ENGLISH) + types_steps(ENGLISH, "click 2") + [("@messagebox", "click %d" % answer)],
                 closing=False, expect_end=answer != IDYES)


@scenario("path-logoff-no")
def extends_the_path_and_asks_for_a_logoff(s):
    t = logoff_run(s, IDNO, "C:\\windows\\system32;C:\\windows;")
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 1, "message boxes")
    check_message_box(s, boxes[0], ENGLISH.message_144, buttons=(IDYES, IDNO))
    value = path_value(s.registry())
    s.check(value is not None and value.kind == 2, "Path is no REG_EXPAND_SZ: %r" % value)
    s.check_equal(value.data, "C:\\windows\\system32;C:\\windows;" + DEFAULT_DESTINATION, "Path")


@scenario("path-logoff-yes")
def logs_off_when_asked(s):
    t = logoff_run(s, IDYES)
    boxes = t.messageboxes()
    s.check_equal([b.message() for b in boxes], [ENGLISH.message_144], "message boxes")
    s.check(any(a["action"] == "click %d" % IDYES and "error" not in a for a in t.answers()), "Yes was not given")
    value = path_value(s.registry())
    s.check(value is not None and value.data.endswith(";" + DEFAULT_DESTINATION), "Path: %r" % value)
    check_product_files(s, DEFAULT_DESTINATION)
    return ["robot %s after the logoff request" % ("saw setup end" if t.exit_code is not None else "was ended too")]


@scenario("path-present")
def completes_when_the_folder_is_on_the_path(s):
    t = logoff_run(s, 1, "C:\\windows;c:\\program files\\LEXAVER\\ ;C:\\Lexaver2")
    s.check_equal(message_texts(t), [ENGLISH.message_145], "message boxes")
    s.check_equal(path_value(s.registry()).data, "C:\\windows;c:\\program files\\LEXAVER\\ ;C:\\Lexaver2", "Path")


@scenario("path-long")
def extends_a_long_path_without_loss(s):
    long_path = ";".join("C:\\Tools\\Folder%04d" % n for n in range(550))
    s.check(len(long_path) > 10000, "the test path is too short")
    t = logoff_run(s, IDNO, long_path)
    s.check_equal(message_texts(t), [ENGLISH.message_144], "message boxes")
    s.check_equal(path_value(s.registry()).data, long_path + ";" + DEFAULT_DESTINATION, "Path")
    return ["Path of %d characters extended" % len(long_path)]


# ---- C:\Autoexec.bat on Windows 98 ---------------------------------------------------------------

def autoexec_run(s, content, backup=None):
    s.windows_version("win98")
    s.write_distribution()
    if content is not None:
        s.place_file(AUTOEXEC, content)
    if backup is not None:
        s.place_file(BACKUP, backup)
    s.make_folder(DEFAULT_DESTINATION)  # so that its short name can be told before the run
    short = s.short_path(DEFAULT_DESTINATION).encode("ascii")
    t = s.run(run_steps(ENGLISH) + types_steps(ENGLISH, "click 2") + [("@messagebox", "click 1")], closing=False)
    s.check_equal(message_texts(t), [ENGLISH.message_145], "message boxes")
    s.check_equal(path_value(s.registry()).data.count(PRODUCT), 0, "the NT Path names the product")
    leftovers = sorted(n for n in s.entries("C:\\") if n.lower().startswith("autoexec") and
                       n.lower() not in ("autoexec.bat", "autoexec.bak"))
    s.check_equal(leftovers, [], "temporary files beside C:\\Autoexec.bat")
    return short


@scenario("autoexec-statement")
def extends_the_path_statement(s):
    old = b"ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nWIN\r\n"
    short = autoexec_run(s, old)
    s.check_equal(s.read(AUTOEXEC), b"ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;" + short + b"\r\nWIN\r\n",
                  "C:\\Autoexec.bat")
    s.check_equal(s.read(BACKUP), old, "C:\\Autoexec.bak")


@scenario("autoexec-no-statement")
def puts_a_statement_on_top(s):
    old = b"ECHO OFF\r\nrem PATH C:\\OLD\r\nWIN\r\n"
    short = autoexec_run(s, old)
    s.check_equal(s.read(AUTOEXEC), b"set PATH=%PATH%;" + short + b"\r\n" + old, "C:\\Autoexec.bat")
    s.check_equal(s.read(BACKUP), old, "C:\\Autoexec.bak")


@scenario("autoexec-rem-and-backup")
def skips_a_comment_and_keeps_an_old_backup(s):
    old = b"rem PATH C:\\OLD\r\n@SET PATH =C:\\DOS;\r\n"
    short = autoexec_run(s, old, backup=b"the first backup\r\n")
    s.check_equal(s.read(AUTOEXEC), b"rem PATH C:\\OLD\r\n@SET PATH =C:\\DOS;" + short + b"\r\n", "C:\\Autoexec.bat")
    s.check_equal(s.read(BACKUP), b"the first backup\r\n", "C:\\Autoexec.bak")


@scenario("autoexec-present")
def leaves_a_statement_that_names_the_folder(s):
    s.make_folder(DEFAULT_DESTINATION)
    old = b"SET PATH=C:\\WINDOWS;%s\r\n" % s.short_path(DEFAULT_DESTINATION).lower().encode("ascii")
    autoexec_run(s, old)
    s.check_equal(s.read(AUTOEXEC), old, "C:\\Autoexec.bat")
    s.check(not s.exists(BACKUP), "a backup was made")


@scenario("autoexec-missing")
def creates_no_startup_file(s):
    s.check(not s.exists(AUTOEXEC), "a new prefix has C:\\Autoexec.bat")
    autoexec_run(s, None)
    s.check(not s.exists(AUTOEXEC) and not s.exists(BACKUP), "a startup file or backup was created")


# ---- restart ---------------------------------------------------------------------------------------

def restart_run(s, windows, answers, expect_end=True, language=ENGLISH, **distribution):
    # No Wine command runs between setup's end and the checks, so a queued move stays queued
    # unless setup itself asked for the restart.
    s.windows_version(windows)
    s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"}, **distribution)
    s.place_library(MFC, "4.21.0.0")
    steps = run_steps(language)
    if "without" not in distribution:
        steps += types_steps(language, "click 2")
    return s.run(steps + [(language.restart_caption, a) for a in answers], language=language, closing=False,
                 expect_end=expect_end)


@scenario("restart-ok")
def restarts_when_asked(s):
    t = restart_run(s, "winxp", ["click 1"], expect_end=False)
    check_restart_dialog(s, t, ENGLISH)
    s.check_equal(message_texts(t), [], "message boxes (no logoff question beside the restart)")
    s.prefix.wait_idle(60)
    s.check_equal(file_version(s.read(MFC)), (6, 0, 8168, 0), "Mfc42.dll after the restart setup asked for")
    s.check_equal(temporary_files(s), [], "temporary files after the restart")
    return ["robot %s after the restart request" % ("saw setup end" if t.exit_code is not None else "was ended too")]


@scenario("restart-later")
def does_not_restart_later(s):
    t = restart_run(s, "winxp", ["press 1031", "click 1"])
    check_restart_dialog(s, t, ENGLISH)
    s.check_equal(message_texts(t), [], "message boxes")
    s.check_equal(file_version(s.read(MFC)), (4, 21, 0, 0), "Mfc42.dll (no restart yet)")
    s.check_equal(len(temporary_files(s)), 1, "temporary copies waiting for the restart")
    s.check_equal(len(pending_moves(s, s.registry())), 1, "queued moves")


@scenario("restart-esc")
def does_not_restart_on_escape(s):
    """Esc, like the close box, is no answer to restart now: the replacement waits for the next start."""
    t = restart_run(s, "winxp", ["esc"])
    check_restart_dialog(s, t, ENGLISH)
    s.check_equal(message_texts(t), [], "message boxes")
    s.check_equal(file_version(s.read(MFC)), (4, 21, 0, 0), "Mfc42.dll after Esc (no restart yet)")
    s.check_equal(len(pending_moves(s, s.registry())), 1, "queued moves")


@scenario("restart-win98")
def offers_the_restart_on_windows_98(s):
    t = restart_run(s, "win98", ["press 1031", "click 1"], without=["Lexaver.exe"])
    check_restart_dialog(s, t, ENGLISH)
    s.check_equal(message_texts(t), [], "message boxes")
    s.check(b"[rename]" in (s.read("C:\\windows\\wininit.ini") or b""), "no Wininit.ini lines")


@scenario("closing-completed")
def completes_with_nothing_pending(s):
    s.windows_version("winxp")
    s.write_distribution(without=["Lexaver.exe"])
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")], closing=False)
    s.check_equal(message_texts(t), [ENGLISH.message_145], "message boxes")
    check_message_box(s, t.messageboxes()[0], ENGLISH.message_145)
    s.check_equal(t.titled(ENGLISH.types_caption), [], "file types dialogs without the editor")
    value = path_value(s.registry())
    s.check(value is None or PRODUCT not in value.data, "Path extended without the editor: %r" % value)
