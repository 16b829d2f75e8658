"""Checks that several scenarios share: the destination dialog, the progress display, message
boxes, the files a run leaves behind."""

import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from expected_texts import OBSOLETE_FILES, STAGE_TOTAL, SYSTEM_LIBRARIES  # noqa: E402
from toolmodule import load_tool  # noqa: E402


PRODUCT_FILES = load_tool("make-distribution").PRODUCT_FILES
STAGE_ENTRIES = SYSTEM_LIBRARIES + PRODUCT_FILES + OBSOLETE_FILES
PERCENTS = ["%d%%" % (entry * 100 // STAGE_TOTAL) for entry in range(len(STAGE_ENTRIES))]
TEMPLATE_PERCENT = " 0 %"   # the template's text, until the first position update

DEFAULT_DESTINATION = "C:\\Program Files\\Lexaver"
WINDOWS_UNINSTALLER = "C:\\windows\\Unlexa.exe"


def file_version(data):
    """The four parts of a file's fixed version information, or None without one."""
    at = data.find(struct.pack("<I", 0xFEEF04BD)) if data else -1
    if at < 0:
        return None
    most, least = struct.unpack_from("<II", data, at + 8)
    return (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def run_steps(language, destination_steps=None):
    """The windows of a whole run: today the destination dialog is the only one that asks."""
    return destination_steps or [(language.destination_caption, "click 1")]


def only_window(s, transcript, caption):
    windows = transcript.titled(caption)
    s.check(len(windows) == 1, "expected one window %r, saw %d" % (caption, len(windows)))
    return windows[0]


def check_destination(s, transcript, language, folder):
    """The destination dialog in `language`, showing `folder` when Next was pressed."""
    dialog = only_window(s, transcript, language.destination_caption)
    s.check(dialog.answered, "the destination dialog was never answered")
    state = dialog.answered
    s.check_equal(dialog.text(1, state), language.next_button, "destination dialog: button 1")
    s.check_equal(dialog.text(2, state), language.cancel_button, "destination dialog: button 2")
    s.check_equal(dialog.text(1024, state), language.browse_button, "destination dialog: button 1024")
    s.check_equal(dialog.text(1032, state), language.destination_message(), "destination dialog: static 1032")
    groups = [c["text"] for c in state["controls"]
              if c["class"].lower() == "button" and (int(c["style"], 16) & 0x0F) == 7]
    s.check_equal(groups, [language.folder_group], "destination dialog: group box")
    s.check_equal(dialog.text(1025, state), folder, "destination dialog: edit 1025 when answered")
    s.check_equal(dialog.default_button(), 1, "destination dialog: default button")
    return dialog


def check_progress(s, transcript, language):
    """One progress window with the stage's entry lines in order, and percentages from 0% on.
    Seen from another process, the first and the last states may pass unseen on a busy machine:
    setup is several entries ahead of the robot when the window goes. So most of the percentages
    are required, in order, rather than the first or the last; the in-process tests see every one,
    and the files show that the stage went to its end. Returns (window, percentages seen, entry
    lines seen) for the report."""
    progress = only_window(s, transcript, language.progress_caption)
    percents = progress.texts(1028)
    shown = percents[1:] if percents[:1] == [TEMPLATE_PERCENT] else percents
    s.check(shown and all(p in PERCENTS for p in shown),
            "progress: percentages other than the stage's: %s" % shown)
    values = [int(p[:-1]) for p in shown]
    s.check(values == sorted(values), "progress: percentages went back: %s" % shown)
    s.check(len(set(shown)) >= 30, "progress: only %d of 71 percentages seen: %s" % (len(set(shown)), shown))
    expected_lines = [language.installing % name for name in STAGE_ENTRIES]
    lines = [line for line in progress.texts(1029) if line != ""]
    unknown = [line for line in lines if line not in expected_lines]
    s.check(not unknown, "progress: lines that name no entry of the stage: %s" % unknown)
    order = [expected_lines.index(line) for line in lines]
    s.check(order == sorted(order), "progress: entry lines out of order: %s" % lines)
    return progress, len(set(shown)), len(lines)


def boxes_during(transcript, window):
    return [b for b in transcript.messageboxes()
            if b.appeared >= window.appeared and (window.closed is None or b.appeared <= window.closed)]


def check_message_box(s, box, text, buttons=(1,), icon=True, what="message box"):
    s.check_equal(box.message(), text, "%s: text" % what)
    s.check_equal(box.visible_buttons(), list(buttons), "%s: buttons" % what)
    s.check_equal(box.shows_icon(), icon, "%s: shows an icon" % what)


def check_product_files(s, folder, missing=(), kept=()):
    """Every product file of the distribution is in `folder` with the distribution's bytes; the
    `missing` ones are not there; the `kept` ones are left as they were (checked by the caller)."""
    wrong = []
    for name in PRODUCT_FILES:
        if name in kept:
            continue
        source = s.read("C:\\dist\\" + name)
        target = s.read(folder.rstrip("\\") + "\\" + name)
        if name in missing:
            if target is not None:
                wrong.append("%s is there though the distribution has none" % name)
        elif target != source:
            wrong.append("%s %s" % (name, "is missing" if target is None else "differs from the distribution's"))
    s.check(not wrong, "files in %s: %s" % (folder, "; ".join(wrong)))


def check_uninstaller(s, present=True):
    copied = s.read(WINDOWS_UNINSTALLER)
    if present:
        s.check_equal(copied == s.read("C:\\dist\\Unlexa.exe"), True, "the uninstaller in the Windows folder")
    else:
        s.check(copied is None, "an uninstaller was copied into the Windows folder")


def check_nothing_registered(s, registry):
    for root, key in [("HKCU", "Software\\Lexaver"),
                      ("HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lexaver.exe"),
                      ("HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexaver"),
                      ("HKCR", "Lexaver.SampleControl")]:
        s.check(not registry.has_key(root, key), "the run wrote %s\\%s" % (root, key))


def check_files_unchanged(s, before):
    """No file or folder below C: appeared or went away."""
    after = s.files()
    created, removed = sorted(after - before), sorted(before - after)
    s.check(not created, "the run created: %s" % ", ".join(created[:20]))
    s.check(not removed, "the run removed: %s" % ", ".join(removed[:20]))
