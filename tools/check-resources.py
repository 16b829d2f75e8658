#!/usr/bin/env python3
"""Checks the resources that Install.exe carries, as the resource loader will see them.

Usage: check-resources.py FILE   (a built Install.exe, the compiled resource object, or a .res)
The file is decompiled with windres (the WINDRES environment variable, else i686-w64-mingw32-windres)
and every problem found is printed; the exit status is 1 when there is any, 2 on a usage error.
"""
import os
import re
import subprocess
import sys

LANGUAGES = {0x409: "English", 0x40C: "French", 0x410: "Italian", 0x419: "Russian", 0x816: "Portuguese"}
NEUTRAL = 0
NEUTRAL_STRINGS = (1, 3, 4, 5)
LANGUAGE_STRINGS = range(128, 147)
SHORTCUT_LISTS = (3, 141)
# Destination dialog controls in tab order: icon, message, Next, Cancel, group box, folder, Browse.
DESTINATION_CONTROLS = [-1, 1032, 1, 2, -1, 1025, 1024]
PROGRESS_CONTROLS = [1027, 1028, 1029]
# Upgrade-needed dialog: Exit, message, download address, warning icon, group box; three languages only.
UPGRADE_LANGUAGES = (0x409, 0x40C, 0x410)
UPGRADE_CONTROLS = [1, -1, 1010, 263, -1]
UPGRADE_STYLE = 0x80C800C0  # WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, hidden
DOWNLOAD_ADDRESS = "http://lexaver.example/dlls.zip"
UPGRADE_TEXTS = {
    0x409: ("Exit", "Some files on your system need upgrading before installing Lexaver. "
                    "Click the link below to get these files."),
    0x40C: ("Sortir", "Certains fichiers syst\u00e8me doivent \u00eatre mis \u00e0 jour avant d'installer Lexaver. "
                      "Cliquez sur le lien ci-dessous pour t\u00e9l\u00e9charger ces fichiers."),
    0x410: ("Uscire", "Certi file devono essere aggiornati prima di installare Lexaver. "
                      "Per ottenere questi file, fare clic sul legame qui sotto."),
}
# Rectangles of the controls in tab order, and the dialog's frame.
UPGRADE_LAYOUT = {
    0x409: ((0, 0, 186, 97), [(68, 72, 50, 14), (52, 8, 123, 25), (33, 47, 113, 8), (16, 10, 21, 20), (15, 37, 152, 25)]),
    0x40C: ((0, 0, 207, 98), [(80, 72, 50, 14), (52, 8, 140, 25), (21, 47, 164, 8), (16, 10, 21, 20), (15, 37, 175, 25)]),
    0x410: ((0, 0, 207, 98), [(80, 72, 50, 14), (52, 8, 140, 25), (21, 47, 164, 8), (16, 10, 20, 20), (15, 37, 175, 25)]),
}

# File types dialog: icon, prompt, group box, label, extension list, Yes, No; in every language.
FILE_TYPES_CONTROLS = [-1, -1, -1, -1, 258, 1, 2]
FILE_TYPES_FRAMES = {0x409: (365, 103), 0x40C: (392, 101), 0x410: (365, 103), 0x419: (370, 103), 0x816: (390, 103)}
FILE_TYPES_ENGLISH_LAYOUT = [(12, 11, 20, 20), (42, 11, 254, 25), (10, 46, 344, 46), (22, 63, 22, 8),
                             (51, 61, 290, 20), (304, 9, 50, 14), (304, 27, 50, 14)]
# Caption, then the texts of the controls in tab order (the icon's is its resource id).
FILE_TYPES_TEXTS = {
    0x409: ("File type associations", "Would you like to register the following file types as text files ?\n\n"
            "This will afford opening them by double-clicking on their name in the file Explorer.",
            "Types", "&Types:", "&Yes", "&No"),
    0x40C: ("Associations de types de fichiers", "Souhaitez vous enregistrer les fichiers suivants comme fichiers "
            "texte ?\n\nCela permettra de les ouvrir en double-cliquant sur leur nom dans l'Explorateur de fichiers.",
            "Types", "&Types:", "&Oui", "&Non"),
    0x410: ("Associazioni di tipi di file", "Desidera registrare i file segguenti come file testo ?\n\n"
            "Questo permettera di aprirli faccendo doppio clic sul loro nome nell file Explorer.",
            "Tipi", "&Tipi:", "&Si", "&No"),
    0x419: ("\u0410\u0441\u0441\u043e\u0446\u0438\u0430\u0446\u0438\u0438 \u0442\u0438\u043f\u043e\u0432 "
            "\u0444\u0430\u0439\u043b\u043e\u0432", None,
            "\u0422\u0438\u043f\u044b", "&\u0422\u0438\u043f\u044b:", "&\u0414\u0430", "&\u041d\u0435\u0442"),
    0x816: ("Associa\u00e7\u00f5es de tipos de ficheiros", "Quer guardar os ficheiros que se seguem como ficheiros "
            "de texto?\n\nIsto permitir\u00e1 abri-los com um duplo clique sobre o seu nome no Explorador de ficheiros.",
            "Tipos", "&Tipos:", "&Sim", "&N\u00e3o"),
}
# Restart dialog: prompt, group box, restart now, restart later, OK; the same layout in every language.
RESTART_CONTROLS = [-1, -1, 1030, 1031, 1]
RESTART_LAYOUT = [(11, 11, 176, 16), (12, 36, 176, 46), (17, 48, 133, 12), (17, 62, 129, 12), (75, 89, 50, 14)]
RESTART_CAPTIONS = {0x409: "Restart Windows", 0x40C: "Red\u00e9marrer Windows", 0x410: "Riavviare Windows",
                    0x419: "\u041f\u0435\u0440\u0435\u0437\u0430\u043f\u0443\u0441\u043a Windows",
                    0x816: "Iniciar o Windows"}
# The French prompt's doubled apostrophe is the product's own text.
RESTART_FRENCH_PROMPT = ("Il faut red\u00e9marrer Windows pour terminer l''installation. "
                         "Voulez vous red\u00e9marrer maintenant ?")
DIALOG_STYLE = 0x80C800C0  # WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, hidden

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "b": "\b", "f": "\f", "v": "\v", "\\": "\\", '"': '"'}


def decode_string(body):
    """Decodes the inside of a string literal as windres writes it in rc form."""
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == '"':  # a doubled quote stands for one
            out.append('"')
            i += 2
        elif c != "\\":
            out.append(c)
            i += 1
        elif body[i + 1] == "x":
            m = re.match(r"[0-9a-fA-F]{1,4}", body[i + 2:])
            out.append(chr(int(m.group(0), 16)))
            i += 2 + len(m.group(0))
        elif body[i + 1] in "01234567":
            m = re.match(r"[0-7]{1,3}", body[i + 1:])
            out.append(chr(int(m.group(0), 8)))
            i += 1 + len(m.group(0))
        else:
            out.append(ESCAPES.get(body[i + 1], body[i + 1]))
            i += 2
    return "".join(out)


TOKEN = re.compile(r'\s*(L?"(?:[^"\\]|\\.|"")*"|[^,]+?)\s*(?:,|$)')


def split_fields(text):
    """Splits a comma-separated rc statement, keeping string literals whole."""
    fields, pos = [], 0
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if not m or m.end() == pos:
            break
        fields.append(m.group(1))
        pos = m.end()
    return fields


def literal(field):
    if field.startswith('L"'):
        field = field[1:]
    if field.startswith('"'):
        return decode_string(field[1:-1])
    return field


def number(field):
    return int(field.rstrip("L"), 0)


def control_id(field):
    """A control id; a DIALOG template's 16-bit 65535 is the -1 of the source."""
    n = number(field)
    return -1 if n == 0xFFFF else n


def parse(rc_text):
    """Returns the string tables, dialogs, icon groups, version languages, dialog details, cursor groups
    and cursor hot spots of a decompiled rc text, keyed by language."""
    strings = {}   # (language, id) -> [texts]
    dialogs = {}   # (language, name) -> [[control ids], ...]
    icons = {}     # (language, name) -> [(width, height, colours, bits)]
    versions = []  # languages of VERSIONINFO resources
    details = {}   # (language, name) -> [{"kind", "frame", "style", "caption", "controls": [(id, text, class, style, rect)]}]
    cursors = {}   # (language, name) -> [(width, height, planes, bits, image name)]
    hotspots = {}  # image name -> (x, y)
    detail = None
    language = NEUTRAL
    block, current = None, None
    for line in rc_text.splitlines():
        stripped = line.strip()
        m = re.match(r"LANGUAGE\s+(\d+)\s*,\s*(\d+)$", stripped)
        if m:
            language = int(m.group(2)) << 10 | int(m.group(1))
            continue
        m = re.match(r"(\S+)\s+(DIALOGEX|DIALOG)\b(.*)$", stripped)
        if m:
            block, current = "dialog", []
            dialogs.setdefault((language, literal(m.group(1))), []).append(current)
            frame = tuple(number(f) for f in split_fields(m.group(3).strip())[:4])
            detail = {"kind": m.group(2), "frame": frame, "style": None, "caption": None, "controls": []}
            details.setdefault((language, literal(m.group(1))), []).append(detail)
            continue
        m = re.match(r"(\S+)\s+12\s*/\*\s*RT_GROUP_CURSOR", stripped)
        if m:
            block, current = "cursor", []
            cursors.setdefault((language, literal(m.group(1))), []).append(current)
            continue
        m = re.match(r"(\S+)\s+1\s*/\*\s*RT_CURSOR", stripped)
        if m:
            block, current = "cursor image", literal(m.group(1))
            continue
        if stripped.startswith("STRINGTABLE"):
            block = "strings"
            continue
        m = re.match(r"(\S+)\s+14\s*/\*\s*RT_GROUP_ICON", stripped)
        if m:
            block, current = "icon", []
            icons.setdefault((language, literal(m.group(1))), []).append(current)
            continue
        if re.match(r"\S+\s+VERSIONINFO\b", stripped):
            versions.append(language)
            block = None
            continue
        if stripped == "END":
            if block in ("dialog", "strings", "icon", "cursor", "cursor image"):
                block = None
            continue
        if block == "dialog" and stripped.startswith(("STYLE", "CAPTION")):
            field = stripped.split(None, 1)[1]
            if stripped.startswith("STYLE"):
                detail["style"] = number(field)
            else:
                detail["caption"] = literal(field)
        if block == "dialog" and re.match(r"[A-Z]+\s", stripped) and not stripped.startswith(
                ("BEGIN", "STYLE", "EXSTYLE", "CAPTION", "FONT", "MENU", "CLASS")):
            fields = split_fields(stripped.split(None, 1)[1])
            current.append(control_id(fields[1]))
            if stripped.startswith("CONTROL") and len(fields) >= 8:
                detail["controls"].append((control_id(fields[1]), literal(fields[0]), literal(fields[2]),
                                           number(fields[3]), tuple(number(f) for f in fields[4:8])))
        elif block == "strings":
            m = re.match(r"(\d+),\s*(L?\".*\")$", stripped)
            if m:
                strings.setdefault((language, int(m.group(1))), []).append(literal(m.group(2)))
        elif block == "icon":
            m = re.match(r'(".*?")\s*,\s*(\d+)\s*,\s*(\d+)\s*,', stripped)
            if m:
                w, h, colours = (ord(ch) for ch in literal(m.group(1))[:3])
                current.append((w or 256, h or 256, colours, int(m.group(3))))
        elif block == "cursor":
            m = re.match(r"(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*\S+\s*,\s*(\d+)", stripped)
            if m:
                # The group gives the height of colour plane and mask together.
                w, h, planes, bits, image = (int(g) for g in m.groups())
                current.append((w, h // 2, planes, bits, str(image)))
        elif block == "cursor image":
            m = re.search(r"Hotspot x: (\d+), y: (\d+)", stripped)
            if m:
                hotspots[current] = (int(m.group(1)), int(m.group(2)))
    return strings, dialogs, icons, versions, details, cursors, hotspots


def check_shortcut_list(text):
    """Every entry must be name=target,description and end with a line feed."""
    if not text.endswith("\n"):
        return "does not end with a line feed"
    for entry in text[:-1].split("\n"):
        if not re.fullmatch(r"[^=,\n]+=[^=,\n]+,[^=,\n]+", entry):
            return "has a malformed entry %r" % entry
    return None


def check_upgrade_dialog(details, problems):
    """Template 262: in English, French and Italian only, hidden, with the exact layout and texts."""
    for lang, lname in LANGUAGES.items():
        found = details.get((lang, "262"), [])
        if lang not in UPGRADE_LANGUAGES:
            if found:
                problems.append("dialog 262: must not exist in %s" % lname)
            continue
        if len(found) != 1:
            problems.append("%s dialog 262: expected once, found %d times" % (lname, len(found)))
            continue
        d = found[0]
        what = "%s dialog 262" % lname
        if d["kind"] != "DIALOG":
            problems.append("%s: a %s, expected a DIALOG" % (what, d["kind"]))
        frame, rects = UPGRADE_LAYOUT[lang]
        if d["frame"] != frame:
            problems.append("%s: frame %s, expected %s" % (what, d["frame"], frame))
        if d["style"] != UPGRADE_STYLE:
            problems.append("%s: style %s, expected 0x%X" % (what, d["style"] and hex(d["style"]), UPGRADE_STYLE))
        if d["caption"] != "Dialog":
            problems.append("%s: caption %r, expected 'Dialog'" % (what, d["caption"]))
        ids = [c[0] for c in d["controls"]]
        if ids != UPGRADE_CONTROLS:
            problems.append("%s: controls %s, expected %s" % (what, ids, UPGRADE_CONTROLS))
            continue
        exit_text, message = UPGRADE_TEXTS[lang]
        expected_texts = [exit_text, message, DOWNLOAD_ADDRESS, "263", ""]
        for (cid, text, _, style, rect), want_text, want_rect in zip(d["controls"], expected_texts, rects):
            if text != want_text:
                problems.append("%s: control %d has text %r, expected %r" % (what, cid, text, want_text))
            if rect != want_rect:
                problems.append("%s: control %d at %s, expected %s" % (what, cid, rect, want_rect))
        link_style = d["controls"][2][3]
        if link_style & 0xFF != 1 or link_style & (0x100 | 0x10000):  # SS_CENTER; no SS_NOTIFY, no WS_TABSTOP
            problems.append("%s: the address static has style 0x%X, expected centred text, no notify, no tab stop"
                            % (what, link_style))
    neutral = details.get((NEUTRAL, "262"), [])
    if neutral:
        problems.append("dialog 262: must not be language neutral")


def one_template(details, name, lang, lname, problems):
    found = details.get((lang, name), [])
    if len(found) != 1:
        problems.append("%s dialog %s: expected once, found %d times" % (lname, name, len(found)))
        return None
    d = found[0]
    if d["style"] != DIALOG_STYLE:
        problems.append("%s dialog %s: style %s, expected 0x%X" % (lname, name, d["style"] and hex(d["style"]),
                                                                   DIALOG_STYLE))
    return d


def check_file_types_dialog(details, problems):
    """Template 261: the extension list with Yes and No, "No" the default, in every language."""
    for lang, lname in LANGUAGES.items():
        d = one_template(details, "261", lang, lname, problems)
        if d is None:
            continue
        what = "%s dialog 261" % lname
        if d["frame"] != (0, 0) + FILE_TYPES_FRAMES[lang]:
            problems.append("%s: frame %s, expected %s" % (what, d["frame"], (0, 0) + FILE_TYPES_FRAMES[lang]))
        ids = [c[0] for c in d["controls"]]
        if ids != FILE_TYPES_CONTROLS:
            problems.append("%s: controls %s, expected %s" % (what, ids, FILE_TYPES_CONTROLS))
            continue
        caption, prompt, group, label, yes, no = FILE_TYPES_TEXTS[lang]
        if d["caption"] != caption:
            problems.append("%s: caption %r, expected %r" % (what, d["caption"], caption))
        for (cid, text, _, _, _), want in zip(d["controls"], ["256", prompt, group, label, "", yes, no]):
            if want is not None and text != want:
                problems.append("%s: control %d has text %r, expected %r" % (what, cid, text, want))
        if lang == 0x409:
            rects = [c[4] for c in d["controls"]]
            if rects != FILE_TYPES_ENGLISH_LAYOUT:
                problems.append("%s: layout %s, expected %s" % (what, rects, FILE_TYPES_ENGLISH_LAYOUT))
        icon, edit, yes_style, no_style = (d["controls"][i][3] for i in (0, 4, 5, 6))
        if icon & 0x1F != 3:  # SS_ICON
            problems.append("%s: the first control is no icon" % what)
        # ES_MULTILINE, WS_BORDER, WS_TABSTOP; no ES_AUTOVSCROLL, ES_AUTOHSCROLL, ES_WANTRETURN
        if edit & 0x00810004 != 0x00810004 or edit & (0x40 | 0x80 | 0x1000):
            problems.append("%s: the list has style 0x%X" % (what, edit))
        if yes_style & 0xF != 0 or no_style & 0xF != 1:  # BS_PUSHBUTTON, BS_DEFPUSHBUTTON
            problems.append("%s: Yes must be a plain and No the default push button" % what)


def check_restart_dialog(details, problems):
    """Template 260: a radio group that starts at "restart now", and OK, the same layout everywhere."""
    for lang, lname in LANGUAGES.items():
        d = one_template(details, "260", lang, lname, problems)
        if d is None:
            continue
        what = "%s dialog 260" % lname
        if d["frame"] != (0, 0, 199, 110):
            problems.append("%s: frame %s, expected (0, 0, 199, 110)" % (what, d["frame"]))
        if d["caption"] != RESTART_CAPTIONS[lang]:
            problems.append("%s: caption %r, expected %r" % (what, d["caption"], RESTART_CAPTIONS[lang]))
        ids = [c[0] for c in d["controls"]]
        if ids != RESTART_CONTROLS:
            problems.append("%s: controls %s, expected %s" % (what, ids, RESTART_CONTROLS))
            continue
        rects = [c[4] for c in d["controls"]]
        if rects != RESTART_LAYOUT:
            problems.append("%s: layout %s, expected %s" % (what, rects, RESTART_LAYOUT))
        now, later, ok = (d["controls"][i][3] for i in (2, 3, 4))
        if now & 0xF != 9 or not now & 0x20000 or later & 0xF != 9 or later & 0x20000:  # BS_AUTORADIOBUTTON, WS_GROUP
            problems.append("%s: the two choices must be automatic radio buttons, a group from the first" % what)
        if ok & 0xF != 1 or not ok & 0x20000:
            problems.append("%s: OK must be the default push button and end the radio group" % what)
        if lang == 0x40C and d["controls"][0][1] != RESTART_FRENCH_PROMPT:
            problems.append("%s: prompt %r, expected %r" % (what, d["controls"][0][1], RESTART_FRENCH_PROMPT))
        if d["controls"][4][1] != "OK":
            problems.append("%s: the button reads %r, expected 'OK'" % (what, d["controls"][4][1]))


def check_hand_cursor(cursors, hotspots, problems):
    found = [(lang, images) for (lang, name), group in cursors.items() if name == "264" for images in group]
    if len(found) != 1:
        problems.append("cursor 264: expected once, found %d times" % len(found))
        return
    lang, images = found[0]
    if lang != NEUTRAL:
        problems.append("cursor 264: must be language neutral, found in language 0x%X" % lang)
    if [(w, h, bits) for w, h, _, bits, _ in images] != [(32, 32, 1)]:
        problems.append("cursor 264: images %s, expected one 32x32 monochrome" % images)
    elif hotspots.get(images[0][4]) != (0, 0):
        problems.append("cursor 264: hot spot %s, expected (0, 0)" % (hotspots.get(images[0][4]),))


def check(strings, dialogs, icons, versions, details, cursors, hotspots):
    problems = []
    check_upgrade_dialog(details, problems)
    check_file_types_dialog(details, problems)
    check_restart_dialog(details, problems)
    check_hand_cursor(cursors, hotspots, problems)

    def one(table, key, what):
        found = table.get(key, [])
        if len(found) != 1:
            problems.append("%s: expected once, found %d times" % (what, len(found)))
            return None
        return found[0]

    for sid in NEUTRAL_STRINGS:
        one(strings, (NEUTRAL, sid), "neutral string %d" % sid)
        for lang, lname in LANGUAGES.items():
            if (lang, sid) in strings:
                problems.append("string %d: must be language neutral, also found in %s" % (sid, lname))
    english = {sid: strings.get((0x409, sid), [""])[0] for sid in LANGUAGE_STRINGS}
    for lang, lname in LANGUAGES.items():
        for sid in LANGUAGE_STRINGS:
            text = one(strings, (lang, sid), "%s string %d" % (lname, sid))
            if text is None:
                continue
            if text.count("%s") != english[sid].count("%s"):
                problems.append("%s string %d: %d %%s inserts, English has %d"
                                % (lname, sid, text.count("%s"), english[sid].count("%s")))
            if "\\n" in text:
                problems.append("%s string %d: holds a backslash-n instead of a line feed" % (lname, sid))
        controls = one(dialogs, (lang, "257"), "%s dialog 257" % lname)
        if controls is not None and controls != DESTINATION_CONTROLS:
            problems.append("%s dialog 257: controls %s, expected %s" % (lname, controls, DESTINATION_CONTROLS))
    for lang, sid in sorted(strings):
        if sid in SHORTCUT_LISTS:
            fault = check_shortcut_list(strings[(lang, sid)][0])
            if fault:
                problems.append("string %d (language 0x%X): shortcut list %s" % (sid, lang, fault))
    if "\n" not in strings.get((0x409, 131), [""])[0]:
        problems.append("English string 131: no line feed in the destination message")

    progress = [c for (lang, name), found in dialogs.items() if name == "259" for c in found]
    if len(progress) != 1:
        problems.append("dialog 259: expected once, found %d times" % len(progress))
    elif progress[0] != PROGRESS_CONTROLS:
        problems.append("dialog 259: controls %s, expected %s" % (progress[0], PROGRESS_CONTROLS))

    images = one(icons, (NEUTRAL, "256"), "neutral icon 256")
    if images is not None:
        sizes = sorted((w, h) for w, h, _, _ in images)
        if sizes != [(16, 16), (32, 32)]:
            problems.append("icon 256: images %s, expected one 32x32 and one 16x16" % sizes)
        if any(colours != 16 or bits != 4 for _, _, colours, bits in images):
            problems.append("icon 256: images must have 16 colours (4 bits per pixel): %s" % images)
    images = one(icons, (NEUTRAL, "263"), "neutral icon 263")
    if images is not None and images != [(32, 32, 16, 4)]:
        problems.append("icon 263: images %s, expected one 32x32 with 16 colours" % images)
    if versions != [NEUTRAL]:
        problems.append("VERSIONINFO: expected one, language neutral; found in languages %s" % versions)
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    path = sys.argv[1]
    if not os.path.isfile(path):
        print("check-resources: no such file: %s" % path, file=sys.stderr)
        return 2
    windres = os.environ.get("WINDRES", "i686-w64-mingw32-windres")
    kind = "res" if path.lower().endswith(".res") else "coff"
    run = subprocess.run([windres, "-J", kind, "-i", path, "-O", "rc"], capture_output=True)
    if run.returncode != 0:
        print("check-resources: %s could not decompile %s:\n%s" % (windres, path, run.stderr.decode(errors="replace")),
              file=sys.stderr)
        return 1
    problems = check(*parse(run.stdout.decode("latin-1")))
    for p in problems:
        print("check-resources: %s: %s" % (path, p), file=sys.stderr)
    if problems:
        return 1
    print("check-resources: %s: all resources present" % path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
