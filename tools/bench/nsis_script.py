"""The NSIS 3 scripts the benchmark builds with makensis: the peer that does setup's whole job on
the benchmark's machine, and the one that only copies the product files.

Setup's steps, in setup's order, each with NSIS's own instructions; what setup writes is taken
from the scenarios' expectations (tests/scenarios/expected_texts.py), so that a text changed there
changes here too. The benchmark compares the machine both leave behind after every run, so any step
that does not match shows.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "tests", "scenarios"))
import expected_texts as texts  # noqa: E402

PRODUCT = texts.PRODUCT
# Setup's minimum versions (major, minor, build) of the shared libraries, as its library table has
# them: below one, with no copy carried, setup asks the user to fetch the libraries.
LIBRARY_MINIMUMS = {"Mfc42.dll": (4, 21, 0), "Msvcrt.dll": (5, 0, 0), "Oleaut32.dll": (2, 20, 4054),
                    "Olepro32.dll": (5, 0, 4055)}
APP_PATH_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lexaver.exe"
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + PRODUCT
ENVIRONMENT_KEY = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"
SETTINGS_KEY = "Software\\Lexaver\\App\\Settings"
UNINSTALLER = "Unlexa.exe"


def escaped(text):
    """`text` as it is, inside an NSIS string."""
    return text.replace("$", "$$").replace('"', '$\\"').replace("\r", "$\\r").replace("\n", "$\\n")


def quoted(text):
    return '"%s"' % escaped(text)


def settings_values(script):
    """(kind, key, name, data) for each value setup imports from a settings script, read as setup
    reads it: every key line names a key below HKEY_CURRENT_USER (whatever root it gives), a
    string is the text up to the next quotation mark with no escapes, a dword 8 hex digits."""
    values = []
    key = None
    for line in script.split("\0")[0].split("\n"):
        line = line[:-1] if line.endswith("\r") else line
        if line.startswith("["):
            backslash, bracket = line.find("\\"), line.find("]")
            key = line[backslash + 1:bracket] if 0 <= backslash < bracket else None
        elif line.startswith('"') and key is not None:
            name_end = line.find('"', 1)
            if name_end < 0 or name_end + 2 >= len(line):
                continue
            at = name_end + 2  # one separator, normally "=", passed over unread
            name = line[1:name_end]
            if line[at] == '"':
                text_end = line.find('"', at + 1)
                if text_end >= 0:
                    values.append(("string", key, name, line[at + 1:text_end]))
            elif line[at] == "d" and at + 14 <= len(line):
                try:
                    values.append(("dword", key, name, int(line[at + 6:at + 14], 16)))
                except ValueError:
                    raise ValueError("settings script: a dword setup would read otherwise: %r" % line)
    return values


def _header(out_unix, width, close_itself):
    lines = ["Unicode true"]
    if width == 64:
        lines += ["Target amd64-unicode"]
    return lines + [
        'Name "%s"' % PRODUCT,
        'OutFile "%s"' % out_unix,
        'InstallDir "$PROGRAMFILES%s\\%s"' % ("64" if width == 64 else "", PRODUCT),
        "SetCompress off",
        "RequestExecutionLevel admin",
        # Setup's last window is its own logoff question; NSIS's Completed page would be one more.
        "AutoCloseWindow %s" % ("true" if close_itself else "false"),
        "Page directory",
        "Page instfiles",
    ]


def _libraries():
    """Setup reads each library's version in the system folder and, with no copy carried, asks
    for newer ones when it is below the minimum (the distribution here carries none)."""
    lines = []
    for index, (name, (major, minor, build)) in enumerate(LIBRARY_MINIMUMS.items()):
        old, ok = "library%d_old" % index, "library%d_ok" % index
        lines += [
            '  ClearErrors',
            '  GetDLLVersion "$SYSDIR\\%s" $R0 $R1' % name,
            '  IfErrors %s' % old,  # no version at all: 0.0.0
            '  IntOp $R2 $R0 >>> 16',
            '  IntOp $R3 $R0 & 0xFFFF',
            '  IntOp $R4 $R1 >>> 16',
            '  IntCmpU $R2 %d 0 %s %s' % (major, old, ok),
            '  IntCmpU $R3 %d 0 %s %s' % (minor, old, ok),
            '  IntCmpU $R4 %d %s %s %s' % (build, ok, old, ok),
            '  %s:' % old,
            '  MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION %s /SD IDCANCEL IDOK %s' % (
                quoted(texts.ENGLISH.upgrade_message + "\n\n" + texts.DOWNLOAD_ADDRESS), ok),
            '  Abort',
            '  %s:' % ok,
        ]
    return lines


def _shortcuts():
    """The Start menu group with the English list, the first entry also on the desktop and in
    Send To; the all-users group and desktop, as setup makes them on NT. No working folder, as
    setup sets none (CreateShortCut takes $OUTDIR for it)."""
    lines = ['  SetShellVarContext all',
             '  CreateDirectory "$SMPROGRAMS\\%s"' % PRODUCT,
             '  StrCpy $OUTDIR ""']
    for index, (link, target, description) in enumerate(texts.ENGLISH.shortcuts):
        if target.lower() == UNINSTALLER.lower():
            where, arguments = "$WINDIR\\" + UNINSTALLER, "/%s /$INSTDIR" % PRODUCT
        else:
            where, arguments = "$INSTDIR\\" + target, ""
        folders = ["$SMPROGRAMS\\" + PRODUCT] + (["$DESKTOP", "$SENDTO"] if index == 0 else [])
        for folder in folders:
            lines.append('  CreateShortCut "%s\\%s" "%s" "%s" "" 0 SW_SHOWNORMAL "" %s' % (
                folder, escaped(link), where, arguments, quoted(description)))
    return lines


def _registration(settings_script):
    lines = [
        '  WriteRegStr HKLM "%s" "" "$INSTDIR\\Lexaver.exe"' % APP_PATH_KEY,
        '  WriteRegStr HKLM "%s" "DisplayName" "%s"' % (UNINSTALL_KEY, PRODUCT),
        '  WriteRegStr HKLM "%s" "UninstallString" "$WINDIR\\%s /%s /$INSTDIR"' % (UNINSTALL_KEY, UNINSTALLER, PRODUCT),
        '  DeleteRegKey HKCU "Software\\Lexaver\\Ocx"',
    ]
    for kind, key, name, data in settings_values(settings_script):
        if kind == "dword":
            lines.append('  WriteRegDWORD HKCU %s %s %d' % (quoted(key), quoted(name), data))
        else:
            lines.append('  WriteRegStr HKCU %s %s %s' % (quoted(key), quoted(name), quoted(data)))
    return lines


def _associations():
    lines = [
        '  MessageBox MB_YESNO|MB_ICONQUESTION %s /SD IDYES IDNO types_done' % quoted(
            texts.ENGLISH.types_prompt + "\n\n" + texts.DEFAULT_TYPES),
        '  WriteRegStr HKCR "txtfile\\DefaultIcon" "" "$INSTDIR\\Lexaver.exe,0"',
        '  WriteRegStr HKCR "txtfile\\shell\\open\\command" "" \'"$INSTDIR\\Lexaver.exe" "%1"\'',
        '  WriteRegStr HKCR "txtfile\\shell\\print\\command" "" \'"$INSTDIR\\Lexaver.exe" /p "%1"\'',
    ]
    lines += ['  WriteRegStr HKCR ".%s" "" "txtfile"' % extension for extension in texts.DEFAULT_TYPES.split()]
    return lines + ['  types_done:']


def _search_path():
    """The destination appended to the system Path once, as a whole entry, REG_EXPAND_SZ; then
    the logoff question. A value NSIS cannot read whole is not written back cut."""
    return [
        '  ClearErrors',
        '  ReadRegStr $0 HKLM "%s" "Path"' % ENVIRONMENT_KEY,
        '  IfErrors 0 path_read',
        '  MessageBox MB_OK|MB_ICONSTOP %s /SD IDOK' % quoted(
            "Could not access key  HKEY_LOCAL_MACHINE\\" + ENVIRONMENT_KEY),
        '  Abort',
        '  path_read:',
        '  Call PathHoldsDestination',
        '  StrCmp $1 "1" path_done',
        '  StrCmp $0 "" 0 +3',
        '  StrCpy $0 "$INSTDIR"',
        '  Goto path_write',
        '  StrCpy $2 $0 1 -1',
        '  StrCmp $2 ";" 0 +2',
        '  StrCpy $0 $0 -1',
        '  StrCmp $0 "" 0 +3',  # the value was a lone ";"
        '  StrCpy $0 "$INSTDIR"',
        '  Goto path_write',
        '  StrCpy $0 "$0;$INSTDIR"',
        '  path_write:',
        '  WriteRegExpandStr HKLM "%s" "Path" $0' % ENVIRONMENT_KEY,
        '  MessageBox MB_YESNO|MB_ICONINFORMATION %s /SD IDNO IDNO path_done' % quoted(texts.ENGLISH.message_144),
        "  System::Call 'user32::ExitWindowsEx(i 0, i 0) i'",  # EWX_LOGOFF
        '  path_done:',
    ]


# $1 = "1" when one entry of $0, blanks and a final backslash aside, is $INSTDIR (StrCmp ignores
# case); $2 to $5 are scratch.
PATH_FUNCTION = r'''
Function PathHoldsDestination
  StrCpy $1 "0"
  StrCpy $2 $0
  next_entry:
  StrCmp $2 "" done
  StrCpy $3 0
  scan:
  StrCpy $4 $2 1 $3
  StrCmp $4 "" last
  StrCmp $4 ";" cut
  IntOp $3 $3 + 1
  Goto scan
  cut:
  StrCpy $5 $2 $3
  IntOp $3 $3 + 1
  StrCpy $2 $2 "" $3
  Goto trim_front
  last:
  StrCpy $5 $2
  StrCpy $2 ""
  trim_front:
  StrCpy $4 $5 1
  StrCmp $4 " " +2
  StrCmp $4 "$\t" 0 trim_back
  StrCpy $5 $5 "" 1
  Goto trim_front
  trim_back:
  StrCpy $4 $5 1 -1
  StrCmp $4 " " +2
  StrCmp $4 "$\t" 0 backslash
  StrCpy $5 $5 -1
  Goto trim_back
  backslash:
  StrCpy $4 $5 1 -1
  StrCmp $4 "\" 0 +2
  StrCpy $5 $5 -1
  StrCmp $5 "" next_entry
  StrCmp $5 $INSTDIR 0 next_entry
  StrCpy $1 "1"
  done:
FunctionEnd
'''


def whole_job(dist_unix, out_unix, width, files, settings_script):
    """Setup's whole job on the benchmark's machine (NT, no library carried, the editor there)."""
    lines = ["; Written by tools/bench/bench.py: setup's whole job in NSIS 3, timed beside Install.exe."]
    lines += _header(out_unix, width, close_itself=True)
    lines += ['Section "%s"' % PRODUCT]
    lines += _libraries()
    lines += ['  SetOutPath "$INSTDIR"']
    lines += ['  File "%s/%s"' % (dist_unix, name) for name in files]
    lines += ['  Delete "$INSTDIR\\%s"' % name for name in texts.OBSOLETE_FILES]
    lines += ['  DeleteRegValue HKCU "%s" "File filters"' % SETTINGS_KEY,
              '  SetOutPath "$WINDIR"',
              '  File "%s/%s"' % (dist_unix, UNINSTALLER)]
    lines += _shortcuts()
    lines += _registration(settings_script)
    lines += ['  RegDLL "$INSTDIR\\Lexaver.ocx"']
    lines += _associations()
    lines += _search_path()
    lines += ["SectionEnd", PATH_FUNCTION]
    return "\n".join(lines)


def files_only(dist_unix, out_unix, width, files):
    """Only the product files, and NSIS's Completed page with its Close button."""
    lines = ["; Written by tools/bench/bench.py: only the product files, in NSIS 3."]
    lines += _header(out_unix, width, close_itself=False)
    lines += ['Section "%s"' % PRODUCT, '  SetOutPath "$INSTDIR"']
    lines += ['  File "%s/%s"' % (dist_unix, name) for name in files]
    lines += ["SectionEnd", ""]
    return "\n".join(lines)

