"""The end-to-end scenarios: each prepares a fresh prefix, runs setup under the robot and checks
what the user saw and what the machine holds afterwards. Each returns notes for the report."""

import os
import time

from checks import (DEFAULT_DESTINATION, boxes_during, check_destination, check_files_unchanged,
                    check_message_box, check_nothing_registered, check_product_files, check_progress,
                    check_uninstaller, run_steps, only_window)
from expected_texts import ENGLISH, LANGUAGES, MESSAGE_4
from rig import ScenarioSkipped

SCENARIOS = {}
WOW64_SCENARIOS = set()  # run the 32-bit programs in a 64-bit prefix: of the 32-bit build only
CURRENT_VERSION = "Software\\Microsoft\\Windows\\CurrentVersion"


def scenario(name, wow64=False):
    def register(function):
        SCENARIOS[name] = function
        if wow64:
            WOW64_SCENARIOS.add(name)
        return function
    return register


def progress_note(progress):
    return "progress seen: %d of 71 percentages, %d of 71 entry lines" % progress[1:]


@scenario("nt351")
def refuses_windows_nt_351(s):
    s.windows_version("nt351")
    s.write_distribution()
    before = s.files()
    t = s.run([("@messagebox", "click 1")])
    s.check_equal([w.caption for w in t.windows], ["Install"], "windows shown")
    check_message_box(s, t.windows[0], ENGLISH.message_128)
    check_files_unchanged(s, before)
    check_nothing_registered(s, s.registry())


@scenario("winxp")
def installs_into_a_new_deep_folder(s):
    missing = ["Cobol.ini", "HelpIt.hlp", "Xml.ini"]
    s.windows_version("winxp")
    s.set_registry("HKLM", CURRENT_VERSION, {"ProgramFilesDir": "C:\\Deep\\A\\B"})
    s.write_distribution(without=missing)
    s.check(not s.exists("C:\\Deep"), "C:\\Deep exists before the run")
    t = s.run(run_steps(ENGLISH))
    check_destination(s, t, ENGLISH, "C:\\Deep\\A\\B\\Lexaver")
    progress = check_progress(s, t, ENGLISH)
    s.check_equal([b.message() for b in boxes_during(t, progress[0])], [],
                  "message boxes while files were copied (missing files are skipped silently)")
    check_product_files(s, "C:\\Deep\\A\\B\\Lexaver", missing=missing)
    check_uninstaller(s)
    s.check_equal([w.caption for w in t.windows], [ENGLISH.destination_caption, ENGLISH.progress_caption],
                  "windows shown")
    return [progress_note(progress)]


@scenario("existing")
def reuses_an_existing_folder(s):
    s.windows_version("winxp")
    s.write_distribution()
    folder = DEFAULT_DESTINATION + "\\"
    s.place_file(folder + "C#.ini", b"obsolete C#\r\n")
    s.place_file(folder + "C++.ini", b"obsolete C++\r\n")
    s.place_file(folder + "Notes.txt", b"the user's own file\r\n")
    s.place_file(folder + "Basic.ini", b"a newer Basic.ini\r\n")
    a_day_ahead = time.time() + 86400
    os.utime(s.linux(folder + "Basic.ini"), (a_day_ahead, a_day_ahead))
    t = s.run(run_steps(ENGLISH))
    check_destination(s, t, ENGLISH, DEFAULT_DESTINATION)
    check_progress(s, t, ENGLISH)
    for name in ("C#.ini", "C++.ini"):
        s.check(not s.exists(folder + name), "the obsolete %s is still there" % name)
    s.check_equal(s.read(folder + "Notes.txt"), b"the user's own file\r\n", "a file setup does not know")
    check_product_files(s, DEFAULT_DESTINATION)  # the newer Basic.ini replaced too


@scenario("readonly")
def reports_a_file_that_cannot_be_written(s):
    """A product file that cannot be overwritten is no silent skip: Retry tries it again, Cancel
    ends the run before anything else is copied or registered."""
    s.windows_version("winxp")
    s.write_distribution()
    target = DEFAULT_DESTINATION + "\\Ada.ini"
    s.place_file(target, b"the user's read-only Ada.ini\r\n", unwritable=True)
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 4"), ("@messagebox", "click 2")])
    s.check_equal(s.read(target), b"the user's read-only Ada.ini\r\n", "the read-only Ada.ini")
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 2, "message boxes (the second after Retry)")
    text = ENGLISH.message_139 % ("C:\\dist\\Ada.ini", target, s.system_message(5))
    for box in boxes:
        check_message_box(s, box, text, buttons=[4, 2])
    s.check(not s.exists(DEFAULT_DESTINATION + "\\Asm.ini"), "product files were copied after Cancel")
    check_uninstaller(s, present=False)
    check_nothing_registered(s, s.registry())
    s.check_equal(t.closing_windows, [], "windows after Cancel")


def cancels(action):
    def run_cancel(s):
        s.windows_version("winxp")
        s.write_distribution()
        before = s.files()
        t = s.run([(ENGLISH.destination_caption, action)])
        s.check_equal([w.caption for w in t.windows], [ENGLISH.destination_caption], "windows shown")
        check_files_unchanged(s, before)
        check_uninstaller(s, present=False)
        check_nothing_registered(s, s.registry())
    return run_cancel


for _name, _action in [("cancel-button", "click 2"), ("cancel-esc", "esc"), ("cancel-close", "close"),
                       ("cancel-altf4", "altf4")]:
    SCENARIOS[_name] = cancels(_action)


@scenario("browse")
def installs_into_the_folder_chosen_last(s):
    s.windows_version("winxp")
    s.write_distribution()
    s.make_folder("C:\\First")
    s.make_folder("C:\\Chosen\\Folder")
    caption = ENGLISH.destination_caption
    t = s.run(run_steps(ENGLISH, [(caption, "click 1024"), ("@browser", "choose C:\\First"),
                                       (caption, "click 1024"), ("@browser", "choose C:\\Chosen\\Folder"),
                                       (caption, "click 1")]))
    dialog = check_destination(s, t, ENGLISH, "C:\\Chosen\\Folder")
    s.check_equal(dialog.texts(1025), [DEFAULT_DESTINATION, "C:\\First", "C:\\Chosen\\Folder"],
                  "edit 1025 over the run")
    s.check_equal(len([w for w in t.windows if w.last["class"] == "#32770" and
                       any(c["class"] == "SysTreeView32" for c in w.last["controls"])]), 2, "folder browsers")
    check_product_files(s, "C:\\Chosen\\Folder")
    s.check_equal(sorted(s.files() & {"first\\ada.ini", "program files\\lexaver"}), [],
                  "files outside the chosen folder")


@scenario("browse-root")
def installs_into_a_drive_root(s):
    s.windows_version("winxp")
    s.write_distribution()
    caption = ENGLISH.destination_caption
    t = s.run(run_steps(ENGLISH, [(caption, "click 1024"), ("@browser", "choose C:\\"),
                                       (caption, "click 1")]))
    check_destination(s, t, ENGLISH, "C:\\")
    check_product_files(s, "C:\\")
    check_uninstaller(s)


@scenario("uncreatable")
def reports_a_folder_that_cannot_be_created(s):
    s.windows_version("winxp")
    s.place_file("C:\\afile.txt", b"a file where a folder would be\r\n")
    s.set_registry("HKLM", CURRENT_VERSION, {"ProgramFilesDir": "C:\\afile.txt\\sub"})
    s.write_distribution()
    before = s.files()
    t = s.run([(ENGLISH.destination_caption, "click 1"), ("@messagebox", "click 1")])
    folder = "C:\\afile.txt\\sub\\Lexaver"
    check_destination(s, t, ENGLISH, folder)
    s.check_equal([w.caption for w in t.windows], [ENGLISH.destination_caption, "Install"], "windows shown")
    check_message_box(s, t.windows[1], ENGLISH.message_138 % (folder, s.system_message(3)))
    s.check_equal(s.read("C:\\afile.txt"), b"a file where a folder would be\r\n", "C:\\afile.txt")
    check_files_unchanged(s, before)
    check_uninstaller(s, present=False)


@scenario("no-ocx")
def goes_on_without_the_control(s):
    s.windows_version("winxp")
    s.write_distribution(without=["Lexaver.ocx"])
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")] * 2)
    progress = check_progress(s, t, ENGLISH)
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 2, "message boxes")
    check_message_box(s, boxes[0], ENGLISH.message_134 % ("C:\\dist\\Lexaver.ocx", s.system_message(2)),
                      what="first message")
    s.check(boxes_during(t, progress[0])[:1] == [boxes[0]], "the first message came after the progress window")
    # The control registration then finds no control in the destination: its message, once, and
    # no system box about the missing file.
    check_message_box(s, boxes[1], MESSAGE_4, what="second message")
    s.check(boxes[1].appeared > progress[0].closed, "the control's message came before the progress window closed")
    check_uninstaller(s, present=False)
    check_product_files(s, DEFAULT_DESTINATION, missing=["Lexaver.ocx"])
    return [progress_note(progress)]


def speaks(language):
    def run_language(s):
        s.windows_version("winxp")
        s.write_distribution()
        t = s.run(run_steps(language), language=language)
        check_destination(s, t, language, DEFAULT_DESTINATION)
        progress = check_progress(s, t, language)
        return [progress_note(progress)]
    return run_language


for _language in LANGUAGES:
    SCENARIOS["language-" + _language.key] = speaks(_language)


@scenario("robot-bounds")
def robot_stops_what_it_started(s):
    s.windows_version("winxp")
    s.write_distribution()
    code, _, _ = s.robot(["--timeout", "5", "--transcript", "C:\\missing.jsonl", "--script", "C:\\none.txt",
                          "--", "C:\\dist\\Install.exe"], 30)
    s.check_equal(code, 1, "robot exit code for a script it cannot read")
    code, _, _ = s.robot(["--timeout", "5", "--transcript", "C:\\start.jsonl", "--accept-defaults",
                          "--", "C:\\dist\\Missing.exe"], 30)
    s.check_equal(code, 3, "robot exit code for a program that cannot be started")
    t = s.run([("No such window", "none")], timeout=4, expect_end=False)
    s.check_equal(s.robot_exit, 2, "robot exit code on timeout")
    s.check(t.timed_out and t.unmatched == ["No such window | none"], "the robot did not report its timeout")
    only_window(s, t, ENGLISH.destination_caption)
    s.check(s.prefix.wait_idle(20), "setup was still running after the robot's timeout")
