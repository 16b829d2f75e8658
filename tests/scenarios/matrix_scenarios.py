"""The platform matrix: one whole run, from the destination dialog to the last window, for each
Windows version in each user interface language, with the machine state checked afterwards; and
Windows NT 3.51, which setup refuses, in each language.

Each run has a library to replace (an installed Mfc42.dll 4.21.0 under a carried 6.0.8168), so
that it ends with the restart dialog in its language; the robot checks "later" there, so that the
prefix is not restarted. Each accepts the file types. On Windows 95 and 98 a C:\\Autoexec.bat with
a PATH statement is there to be extended."""

from checks import (DEFAULT_DESTINATION, check_files_unchanged, check_message_box, check_nothing_registered,
                    check_product_files, check_progress, check_uninstaller, run_steps)
from closing_scenarios import (AUTOEXEC, BACKUP, check_associations, check_restart_dialog, check_types_dialog,
                               path_value)
from expected_texts import LANGUAGES, PRODUCT
from library_scenarios import MFC, pending_moves, temporary_files
from registration_scenarios import APP_PATHS, UNINSTALL, shell_folders, snapshot
from scenarios import SCENARIOS

VERSIONS = {"win95": False, "win98": False, "nt40": True, "winxp": True, "win10": True}  # NT flag
OLD_AUTOEXEC = b"@ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"


def whole_run(version, language):
    nt = VERSIONS[version]

    def run(s):
        s.windows_version(version)
        s.real_locales(language)  # shortcut names beyond ASCII
        s.write_distribution(libraries={"Mfc42.dll": "6.0.8168.0"})
        s.place_library(MFC, "4.21.0.0")
        if not nt:
            s.place_file(AUTOEXEC, OLD_AUTOEXEC)
            s.make_folder(DEFAULT_DESTINATION)
            short = s.short_path(DEFAULT_DESTINATION).encode("ascii")
        folders = shell_folders(s, nt)
        before = snapshot(s, folders)
        t = s.run(run_steps(language) + [(language.types_caption, "click 1"),
                                         (language.restart_caption, "press 1031"),
                                         (language.restart_caption, "click 1")],
                  language=language, closing=False)

        # What the user saw: every window in the language, in order, and no message.
        s.check_equal([w.caption for w in t.windows], [language.destination_caption, language.progress_caption,
                                                      language.types_caption, language.restart_caption],
                      "windows shown")
        check_progress(s, t, language)
        check_types_dialog(s, t, language)
        check_restart_dialog(s, t, language)

        # Files and the library waiting for the restart.
        check_product_files(s, DEFAULT_DESTINATION)
        check_uninstaller(s)
        s.check_equal(len(temporary_files(s)), 1, "the temporary copy of Mfc42.dll")
        if not nt:
            wininit = s.read("C:\\windows\\wininit.ini") or b""
            s.check(wininit.startswith(b"[rename]\r\nNUL="), "Wininit.ini: %r" % wininit[:80])
            s.check_equal(s.read(AUTOEXEC), OLD_AUTOEXEC.rstrip(b"\r\n") + b";" + short + b"\r\n", "C:\\Autoexec.bat")
            s.check_equal(s.read(BACKUP), OLD_AUTOEXEC, "C:\\Autoexec.bak")

        # Shortcuts: the language's group, and the editor on the desktop.
        group = folders["programs"] + "\\" + PRODUCT
        names = sorted(entry[0] for entry in language.shortcuts)
        s.check_equal(sorted(s.entries(group)), names, "the group %s" % group)
        s.check_equal(sorted(s.entries(folders["desktop"]) - before["desktop"]), [language.shortcuts[0][0]],
                      "new entries on the desktop %s" % folders["desktop"])

        # Registry: the application, the file types and the search path.
        registry = s.registry()
        app = registry.value("HKLM", APP_PATHS)
        s.check_equal(app.data if app else None, DEFAULT_DESTINATION + "\\Lexaver.exe", "App Paths")
        name = registry.value("HKLM", UNINSTALL, "DisplayName")
        s.check_equal(name.data if name else None, PRODUCT, "DisplayName")
        check_associations(s, registry)
        value = path_value(registry)
        if nt:
            s.check_equal(len(pending_moves(s, registry)), 1, "queued moves")
            s.check(value is not None and value.kind == 2 and value.data.endswith(";" + DEFAULT_DESTINATION),
                    "Path: %r" % value)
        else:
            s.check(value is None or DEFAULT_DESTINATION not in value.data, "NT Path extended on %s" % version)
        return ["%s %s: %d shortcuts in %s" % (version, language.key, len(names), group)]
    return run


def refused(language):
    def run(s):
        s.windows_version("nt351")
        s.write_distribution()
        before = s.files()
        t = s.run([("@messagebox", "click 1")], language=language, closing=False)
        s.check_equal([w.caption for w in t.windows], ["Install"], "windows shown")
        check_message_box(s, t.windows[0], language.message_128)
        check_files_unchanged(s, before)
        check_nothing_registered(s, s.registry())
    return run


for _language in LANGUAGES:
    for _version in VERSIONS:
        SCENARIOS["matrix-%s-%s" % (_version, _language.key)] = whole_run(_version, _language)
    SCENARIOS["matrix-nt351-%s" % _language.key] = refused(_language)
