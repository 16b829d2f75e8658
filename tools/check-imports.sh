#!/usr/bin/env bash
# Fails when the program imports a DLL other than the system's always-present ones, or is not a
# 32-bit GUI program for subsystem 4.0: anything else would be looked up beside the program.
set -u
exe=${1:?usage: check-imports.sh Install.exe}
dump=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe"; exit 1; }
allowed="KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll OLE32.dll msvcrt.dll"
status=0
for dll in $(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p'); do
    found=0
    for ok in $allowed; do [ "${dll^^}" = "${ok^^}" ] && found=1; done
    if [ $found -eq 1 ]; then echo "import ok: $dll"; else echo "FORBIDDEN import: $dll"; status=1; fi
done
grep -q 'file format pei-i386' <<<"$(i686-w64-mingw32-objdump -f "$exe")" || { echo "not PE32 for i386"; status=1; }
grep -qE '^MajorSubsystemVersion\s+4$' <<<"$dump" || { echo "subsystem major version is not 4"; status=1; }
grep -qE '^MinorSubsystemVersion\s+0$' <<<"$dump" || { echo "subsystem minor version is not 0"; status=1; }
grep -qE '^Subsystem\s+00000002' <<<"$dump" || { echo "not a GUI program"; status=1; }
# Nothing newer than Windows 95 / NT 4 may be imported by name: such calls are looked up at run time.
for fn in SetDllDirectoryA SetDefaultDllDirectories GetFileVersionInfoSizeA InitCommonControls InitCommonControlsEx; do
    if grep -qE "^\s+[0-9a-f]+\s+[0-9]+\s+$fn\$" <<<"$dump"; then echo "imported by name, must be looked up: $fn"; status=1; fi
done
[ $status -eq 0 ] && echo "imports and headers ok"
exit $status
