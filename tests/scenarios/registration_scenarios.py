"""Scenarios of what setup registers after the file copy: the program group with its shortcuts
(and the first one's desktop and Send To copies), the application path and uninstall entries,
the removal of the old "Ocx" key, the settings script "Lexaver.reg", and the self-registration
of the control.

Wine runs programs as an administrator, so on NT versions the all-users folders of HKLM are used.
REG_SZ values read back with their terminating zero whatever size setup passed (Wine adds it), so
the sizes setup passes cannot be checked here; types and texts are."""

from checks import (DEFAULT_DESTINATION, WINDOWS_UNINSTALLER, check_message_box, check_progress,
                    check_uninstaller, run_steps)
from expected_texts import (ENGLISH, LANGUAGES, MESSAGE_4, MESSAGE_5, PRODUCT, REDUCED_SHORTCUTS)
from regfile import REG_DWORD, REG_SZ
from scenarios import CURRENT_VERSION, scenario, SCENARIOS

SHELL_FOLDERS = CURRENT_VERSION + "\\Explorer\\Shell Folders"
APP_PATHS = CURRENT_VERSION + "\\App Paths\\Lexaver.exe"
UNINSTALL = CURRENT_VERSION + "\\Uninstall\\" + PRODUCT
SETTINGS = "Software\\Lexaver\\App\\Settings"
OCX = "Software\\Lexaver\\Ocx"
CONTROL_KEY = "Lexaver.SampleControl"
FIXTURE_MARK = "Software\\LexaverTest"   # where the control fixtures note that they ran
UNINSTALL_ARGUMENTS = "/%s /%s" % (PRODUCT, DEFAULT_DESTINATION)
MESSAGEBOX_ICON = 0x0440   # the icon static of Wine's message box
# A colour that Wine's information and stop icons are painted with.
ICON_COLOUR = {"information": "3465a4", "stop": "d30c0c"}
# The sample script of tools/make-distribution.py, as the registry should hold it.
SAMPLE_SETTINGS = {"Font": (REG_SZ, "Courier New"), "Font size": (REG_DWORD, 10), "Tab width": (REG_DWORD, 4),
                   "Last folder": (REG_SZ, "C:\\\\My Documents")}


def shell_folders(s, nt=True):
    """Programs, Desktop and Send To as setup looks them up, read from the prefix before the run."""
    root, programs, desktop = ("HKLM", "Common Programs", "Common Desktop") if nt else ("HKCU", "Programs", "Desktop")
    folders = {"programs": s.prefix.registry_value(root, SHELL_FOLDERS, programs),
               "desktop": s.prefix.registry_value(root, SHELL_FOLDERS, desktop),
               "sendto": s.prefix.registry_value("HKCU", SHELL_FOLDERS, "SendTo")}
    s.check(all(path and s.exists(path) for path in folders.values()),
            "the prefix lacks a shell folder: %s" % folders)
    return folders


def snapshot(s, folders):
    return {key: s.entries(path) for key, path in folders.items()}


def target_of(entry, destination=DEFAULT_DESTINATION, uninstaller=WINDOWS_UNINSTALLER):
    """(target path, arguments) setup gives an entry of a shortcut list."""
    if entry[1].lower() == "unlexa.exe":
        return uninstaller, "/%s /%s" % (PRODUCT, destination)
    return destination.rstrip("\\") + "\\" + entry[1], ""


def check_shortcut(s, path, link, entry, destination=DEFAULT_DESTINATION, uninstaller=WINDOWS_UNINSTALLER):
    """`link`: what read_shortcuts read from the shortcut at `path`."""
    s.check(link is not None, "%s cannot be read as a shortcut" % path)
    target, arguments = target_of(entry, destination, uninstaller)
    seen = {key: link[key] for key in ("path", "arguments", "description", "show_command",
                                       "working_directory", "icon_location")}
    s.check_equal(seen, {"path": target, "arguments": arguments, "description": entry[2], "show_command": 1,
                         "working_directory": "", "icon_location": ""}, "the shortcut %s" % path)


def check_shortcuts(s, folders, before, shortcuts, language=ENGLISH, destination=DEFAULT_DESTINATION):
    """The group holds exactly the list's shortcuts, the first one is also on the desktop and in
    Send To, and nothing else appeared in those folders."""
    group = folders["programs"] + "\\" + PRODUCT
    s.check_equal(sorted(s.entries(folders["programs"]) - before["programs"]), [PRODUCT],
                  "new entries in the Programs folder %s" % folders["programs"])
    s.check_equal(sorted(s.entries(group)), sorted(entry[0] for entry in shortcuts), "the group %s" % group)
    first = shortcuts[0]
    for key in ("desktop", "sendto"):
        s.check_equal(sorted(s.entries(folders[key]) - before[key]), [first[0]],
                      "new entries in the %s folder %s" % (key, folders[key]))
    made = [(group + "\\" + entry[0], entry) for entry in shortcuts]
    made += [(folders[key] + "\\" + first[0], first) for key in ("desktop", "sendto")]
    links = s.read_shortcuts([path for path, _ in made], language)
    for (path, entry), link in zip(made, links):
        check_shortcut(s, path, link, entry, destination)


def typed(values):
    """{name: (type, data)} of RegistryValues, for comparing whole keys."""
    return {name: (value.kind, value.data) for name, value in values.items()}


def message_texts(t):
    return [box.message() for box in t.messageboxes()]


def icon_steps(kind):
    """Records the message box's icon colours, then presses OK. The box paints its icon some time
    after it shows, later still on a busy machine: the robot waits (5 s at most) until the icon
    shows a colour of the kind expected, and check_icon then judges all of its colours."""
    return [("@messagebox", "colours %d %s" % (MESSAGEBOX_ICON, ICON_COLOUR[kind])), ("@messagebox", "click 1")]


def icon_colours(t):
    """The colours of each message box's icon, as the "colours" answers recorded them."""
    return [e["colours"] for e in t.answers() if e["action"].startswith("colours %d" % MESSAGEBOX_ICON)]


def reddish(colour):
    r, g, b = int(colour[0:2], 16), int(colour[2:4], 16), int(colour[4:6], 16)
    return r >= 0xA0 and g < 0x60 and b < 0x60


def bluish(colour):
    r, g, b = int(colour[0:2], 16), int(colour[2:4], 16), int(colour[4:6], 16)
    return b >= 0xA0 and r < 0x60


def check_icon(s, colours, kind, what):
    """Wine's information icon is blue and white, its stop icon red and white."""
    blue = sum(count for colour, count in colours.items() if bluish(colour))
    red = sum(count for colour, count in colours.items() if reddish(colour))
    shown = "information" if blue > 20 and red == 0 else "stop" if red > 20 and blue == 0 else "unclear"
    s.check_equal(shown, kind, "%s: the icon's kind (colours %s)" % (what, colours))


# ---- shortcuts ---------------------------------------------------------------------------------

def makes_shortcuts(language):
    def run_shortcuts(s):
        s.windows_version("winxp")
        s.real_locales(language)
        s.write_distribution()
        folders = shell_folders(s)
        before = snapshot(s, folders)
        t = s.run(run_steps(language), language=language)
        s.check_equal(message_texts(t), [], "message boxes")
        s.check_equal([w.caption for w in t.windows], [language.destination_caption, language.progress_caption],
                      "windows shown")
        check_shortcuts(s, folders, before, language.shortcuts, language)
        return ["group %s: %d shortcuts" % (folders["programs"], len(language.shortcuts))]
    return run_shortcuts


for _language in LANGUAGES:
    SCENARIOS["shortcuts-" + _language.key] = makes_shortcuts(_language)


@scenario("shortcuts-win98")
def makes_the_users_shortcuts_on_windows_98(s):
    s.windows_version("win98")
    s.write_distribution()
    folders = shell_folders(s, nt=False)
    common = shell_folders(s, nt=True)
    before, before_common = snapshot(s, folders), snapshot(s, common)
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    check_shortcuts(s, folders, before, ENGLISH.shortcuts)
    for key in ("programs", "desktop"):
        s.check_equal(sorted(s.entries(common[key]) - before_common[key]), [],
                      "new entries in the all-users %s folder" % key)


@scenario("shortcuts-no-editor")
def makes_the_reduced_list_without_the_editor(s):
    s.windows_version("winxp")
    s.write_distribution(without=["Lexaver.exe"])
    folders = shell_folders(s)
    before = snapshot(s, folders)
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    check_shortcuts(s, folders, before, REDUCED_SHORTCUTS)


@scenario("shortcuts-second-run")
def rewrites_the_shortcuts_in_a_second_run(s):
    s.windows_version("winxp")
    s.write_distribution()
    folders = shell_folders(s)
    before = snapshot(s, folders)
    s.run(run_steps(ENGLISH))
    group = folders["programs"] + "\\" + PRODUCT
    spoiled = [group + "\\Lexaver.lnk", group + "\\Uninstall.lnk", folders["desktop"] + "\\Lexaver.lnk"]
    for path in spoiled:
        s.check(s.exists(path), "the first run made no %s" % path)
        s.place_file(path, b"not a shortcut any more\r\n")
    s.prefix.stop()
    s.set_registry("HKCU", SETTINGS, {"Font": "Arial", "Tab width": 8})
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes of the second run")
    check_progress(s, t, ENGLISH)
    check_shortcuts(s, folders, before, ENGLISH.shortcuts)
    values = typed(s.registry().values("HKCU", SETTINGS))
    s.check_equal({name: values.get(name) for name in SAMPLE_SETTINGS}, SAMPLE_SETTINGS,
                  "the settings after the second run (the script's values again)")


@scenario("shortcuts-no-programs-folder")
def ends_when_the_group_cannot_be_created(s):
    s.windows_version("winxp")
    folders = shell_folders(s)
    s.set_registry("HKLM", SHELL_FOLDERS, {"Common Programs": "C:\\NoSuch\\Programs"})
    s.write_distribution()
    before = snapshot(s, folders)
    t = s.run(run_steps(ENGLISH) + icon_steps("information"))
    boxes = t.messageboxes()
    s.check_equal(len(boxes), 1, "message boxes")
    check_message_box(s, boxes[0], ENGLISH.message_138 % ("C:\\NoSuch\\Programs\\" + PRODUCT, s.system_message(3)))
    colours = icon_colours(t)
    s.check(colours, "the icon's colours were not recorded")
    check_icon(s, colours[-1], "information", "message 138 of the group folder")
    s.check(not s.exists("C:\\NoSuch"), "C:\\NoSuch was created")
    check_uninstaller(s)  # the steps before stay done
    for key in ("desktop", "sendto"):
        s.check_equal(sorted(s.entries(folders[key]) - before[key]), [], "new entries in %s" % folders[key])
    registry = s.registry()
    for root, key in [("HKLM", APP_PATHS), ("HKLM", UNINSTALL), ("HKCR", CONTROL_KEY)]:
        s.check(not registry.has_key(root, key), "the ended run still wrote %s\\%s" % (root, key))
    s.check_equal(typed(registry.values("HKCU", SETTINGS)), {}, "settings imported by the ended run")


# ---- application registration and settings --------------------------------------------------

@scenario("app-registration")
def registers_the_application_and_imports_the_sample_settings(s):
    s.windows_version("winxp")
    s.write_distribution()
    s.set_registry("HKCU", SETTINGS, {"File filters": "*.old", "Kept": "the user's own"})
    s.set_registry("HKCU", OCX, {"Old": "old control setting"})
    s.set_registry("HKCU", OCX + "\\Deeper\\Still", {"Count": 3})
    s.set_registry("HKCU", OCX + "Keep", {"Stay": "a key whose name only begins like Ocx"})
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    registry = s.registry()
    # The blank in "Program Files" is not quoted in either value.
    s.check_equal(typed(registry.values("HKLM", APP_PATHS)),
                  {"": (REG_SZ, DEFAULT_DESTINATION + "\\Lexaver.exe")}, "HKLM\\" + APP_PATHS)
    s.check_equal(typed(registry.values("HKLM", UNINSTALL)),
                  {"DisplayName": (REG_SZ, PRODUCT),
                   "UninstallString": (REG_SZ, WINDOWS_UNINSTALLER + " " + UNINSTALL_ARGUMENTS)},
                  "HKLM\\" + UNINSTALL)
    s.check(not registry.has_key("HKCU", OCX), "the old Ocx key is still there")
    s.check_equal(typed(registry.values("HKCU", OCX + "Keep")),
                  {"Stay": (REG_SZ, "a key whose name only begins like Ocx")}, "a neighbour of the Ocx key")
    s.check_equal(typed(registry.values("HKCU", SETTINGS)), dict(SAMPLE_SETTINGS, Kept=(REG_SZ, "the user's own")),
                  "HKCU\\" + SETTINGS + " (\"File filters\" removed, the script's values added)")
    s.check_equal(typed(registry.values("HKCR", CONTROL_KEY)),
                  {"": (REG_SZ, "Lexaver sample control"), "Path": (REG_SZ, DEFAULT_DESTINATION + "\\Lexaver.ocx")},
                  "the sample control's own key")


@scenario("settings-script")
def imports_a_script_line_by_line(s):
    s.windows_version("winxp")
    script = b"".join([
        b"REGEDIT4\r\n",
        b"\n",
        b"; a comment line, then a key line that names another root: still below HKEY_CURRENT_USER\n",
        b"[HKEY_LOCAL_MACHINE\\Software\\Lexaver\\Script]\r\n",
        b"\"Text\"=\"Courier New\"\n",
        b"\"Max\"=dword:FFFFFFFF\r\n",
        b"\"Mixed\"=dword:00a0B0c1\n",
        b"\"List\"=hex:01,02,03\n",
        b"@=\"an export file's default value line, skipped\"\n",
        b"\"\"=\"the default value\"\n",
        b"\"Slashes\"=\"a\\\\b\\c\"\n",
        b" \"Indented\"=\"skipped\"\n",
        b"\"Twice\"=\"first\"\n",
        b"\"Twice\"=\"second\"\n",
        b"[HKEY_CURRENT_USER\\Software\\Lexaver\\Ocx]\n",
        b"\"New\"=\"from the script\"",   # the last line has no line feed
    ])
    s.write_distribution(files={"Lexaver.reg": script})
    s.set_registry("HKCU", OCX, {"Old": "old control setting"})
    s.set_registry("HKCU", OCX + "\\Sub", {"Deep": 1})
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    registry = s.registry()
    s.check_equal(typed(registry.values("HKCU", "Software\\Lexaver\\Script")),
                  {"Text": (REG_SZ, "Courier New"), "Max": (REG_DWORD, 0xFFFFFFFF), "Mixed": (REG_DWORD, 0x00A0B0C1),
                   "": (REG_SZ, "the default value"), "Slashes": (REG_SZ, "a\\\\b\\c"), "Twice": (REG_SZ, "second")},
                  "HKCU\\Software\\Lexaver\\Script")
    s.check(not registry.has_key("HKLM", "Software\\Lexaver"), "the script wrote below HKEY_LOCAL_MACHINE")
    s.check_equal({key: typed(values) for key, values in registry.tree("HKCU", OCX).items()},
                  {"": {"New": (REG_SZ, "from the script")}}, "HKCU\\" + OCX + " (made anew by the script)")


@scenario("settings-none")
def imports_nothing_without_a_script(s):
    s.windows_version("winxp")
    s.write_distribution(without=["Lexaver.reg"])
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    registry = s.registry()
    # The settings clean-up before the uninstaller step makes the key, empty.
    s.check(registry.has_key("HKCU", SETTINGS), "no HKCU\\" + SETTINGS)
    s.check_equal({key: typed(values) for key, values in registry.tree("HKCU", "Software\\Lexaver").items()
                   if values}, {}, "values below HKCU\\Software\\Lexaver")
    s.check(registry.has_key("HKLM", APP_PATHS), "no application path entry")


@scenario("settings-stop")
def stops_at_a_value_that_cannot_be_written(s):
    s.windows_version("winxp")
    too_long = b"K" * 300   # a key name longer than the registry's 255 characters
    script = b"\r\n".join([
        b"REGEDIT4",
        b"[HKEY_CURRENT_USER\\Software\\Lexaver\\Before]",
        b"\"One\"=\"written\"",
        b"[HKEY_CURRENT_USER\\Software\\Lexaver\\" + too_long + b"]",
        b"\"Two\"=\"cannot be written\"",
        b"[HKEY_CURRENT_USER\\Software\\Lexaver\\After]",
        b"\"Three\"=\"not read any more\"",
        b"",
    ])
    s.write_distribution(files={"Lexaver.reg": script})
    t = s.run(run_steps(ENGLISH))
    s.check_equal(message_texts(t), [], "message boxes")
    registry = s.registry()
    s.check_equal(typed(registry.values("HKCU", "Software\\Lexaver\\Before")), {"One": (REG_SZ, "written")},
                  "the value before the failing line")
    s.check(not registry.has_key("HKCU", "Software\\Lexaver\\" + too_long.decode()), "the long key was written")
    s.check(not registry.has_key("HKCU", "Software\\Lexaver\\After"), "lines after the failing one were imported")
    s.check(registry.has_key("HKCR", CONTROL_KEY), "the control was not registered after the failed import")


@scenario("uninstall-entry-no-uninstaller")
def registers_no_uninstall_entry_without_uninstaller(s):
    """Without the control in the distribution no uninstaller is copied: its path is empty, and
    neither an uninstall entry nor a shortcut offers a removal that cannot run."""
    s.windows_version("winxp")
    s.write_distribution(without=["Lexaver.ocx"])
    folders = shell_folders(s)
    t = s.run(run_steps(ENGLISH) + [("@messagebox", "click 1")] * 2)
    s.check_equal(message_texts(t), [ENGLISH.message_134 % ("C:\\dist\\Lexaver.ocx", s.system_message(2)),
                                     MESSAGE_4], "messages")
    group = folders["programs"] + "\\" + PRODUCT
    s.check(s.exists(group + "\\Lexaver.lnk"), "no shortcuts made at all")
    s.check(not s.exists(group + "\\Uninstall.lnk"), "an uninstaller shortcut without its uninstaller")
    registry = s.registry()
    s.check(not registry.has_key("HKLM", UNINSTALL), "an uninstall entry without its uninstaller was written")
    s.check(registry.has_key("HKLM", APP_PATHS), "the application path entry was left out")
    s.check(not registry.has_key("HKCR", CONTROL_KEY), "a control was registered")


# ---- control registration ---------------------------------------------------------------------

def registers_fixture(fixture, message, mark, helper_in=()):
    """The distribution's control is a fixture; `helper_in`: where LexaverHelper.dll lies
    ("distribution", "destination")."""
    def run_control(s):
        s.windows_version("winxp")
        files = {"Lexaver.ocx": s.fixture(fixture)}
        if "distribution" in helper_in:
            files["LexaverHelper.dll"] = s.fixture("LexaverHelper.dll")
        s.write_distribution(files=files)
        if "destination" in helper_in:
            s.place_file(DEFAULT_DESTINATION + "\\LexaverHelper.dll", open(s.fixture("LexaverHelper.dll"), "rb").read())
        folders = shell_folders(s)
        steps = run_steps(ENGLISH)
        if message:
            steps += icon_steps("stop")
        t = s.run(steps)
        s.check_equal(message_texts(t), [message] if message else [], "messages")
        if message:
            check_message_box(s, t.messageboxes()[0], message)
            check_icon(s, icon_colours(t)[-1], "stop", "the control's message")
        check_uninstaller(s)
        s.check(s.exists(folders["programs"] + "\\" + PRODUCT + "\\Uninstall.lnk"), "no uninstaller shortcut")
        registry = s.registry()
        s.check_equal(registry.value("HKCU", FIXTURE_MARK, "Registered") and
                      registry.value("HKCU", FIXTURE_MARK, "Registered").data, mark,
                      "the fixture's mark (its DllRegisterServer ran)")
        s.check(registry.has_key("HKLM", UNINSTALL), "no uninstall entry")
    return run_control


for _name, _fixture, _message, _mark, _helper in [
        ("control-ok", "RegisterOk.ocx", None, "RegisterOk", ()),
        ("control-s-false", "RegisterFalse.ocx", MESSAGE_5, "RegisterFalse", ()),
        ("control-error", "RegisterError.ocx", MESSAGE_5, "RegisterError", ()),
        ("control-no-export", "NoRegisterExport.ocx", MESSAGE_4, None, ()),
        ("control-helper-beside", "NeedsHelper.ocx", None, "NeedsHelper", ("destination",)),
        # Setup keeps its own folder out of the DLL search: a helper left there is not found.
        ("control-helper-in-distribution", "NeedsHelper.ocx", MESSAGE_4, None, ("distribution",))]:
    SCENARIOS[_name] = registers_fixture(_fixture, _message, _mark, _helper)
