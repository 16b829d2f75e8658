#!/usr/bin/env bash
# Fails when the program imports a function not on the list below, or is not a 32-bit GUI program
# for subsystem 4.0. Each listed function is exported by the DLLs of a clean Windows 95 (and of
# every later Windows): a program that imports anything else does not start there. No C runtime
# DLL: msvcrt.dll is one of the libraries that setup itself brings. A new import fails here until
# it is added knowingly; a function newer than Windows 95 is looked up at run time instead.
set -u
exe=${1:?usage: check-imports.sh Install.exe}
dump=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe"; exit 1; }
allowed="
KERNEL32.dll: CloseHandle CopyFileA CreateDirectoryA CreateFileA DeleteFileA ExitProcess FindResourceA
  FlushFileBuffers FormatMessageA FreeLibrary GetACP GetCurrentProcess GetFileAttributesA
  GetFileInformationByHandle GetFileSize GetLastError GetModuleFileNameA GetModuleHandleA GetProcAddress
  GetProcessHeap GetShortPathNameA GetSystemDirectoryA GetTempFileNameA GetVersionExA GetWindowsDirectoryA
  GlobalAlloc GlobalFree GlobalLock GlobalUnlock HeapAlloc HeapFree LoadLibraryA
  LoadLibraryExA LoadResource LocalFree LockResource MoveFileA MoveFileExA MultiByteToWideChar ReadFile
  SetEndOfFile SetErrorMode SetFileAttributesA SetFilePointer SetLastError WideCharToMultiByte WriteFile
  _llseek lstrcatA lstrcpyA lstrcpynA lstrlenA
USER32.dll: BeginPaint CallWindowProcA CharNextA CopyIcon CreateDialogParamA DefWindowProcA DestroyWindow
  DialogBoxParamA DispatchMessageA DrawIcon EnableWindow EndDialog EndPaint ExitWindowsEx GetClientRect
  GetDlgItem GetDlgItemTextA GetParent GetPropA GetSystemMetrics GetWindow GetWindowLongA GetWindowRect
  GetWindowTextA GetWindowTextLengthA InvalidateRect IsDialogMessageA IsIconic IsWindow IsWindowEnabled
  IsWindowVisible LoadCursorA LoadIconA LoadStringA MessageBeep MessageBoxA PeekMessageA PostMessageA
  RemovePropA SendMessageA SetCursor SetDlgItemTextA SetForegroundWindow SetPropA SetWindowLongA
  SetWindowPos SetWindowTextA SystemParametersInfoA TranslateMessage wsprintfA
GDI32.dll: CreateFontIndirectA DeleteObject GetObjectA GetStockObject SelectObject SetBkMode SetTextColor
ADVAPI32.dll: RegCloseKey RegCreateKeyExA RegDeleteKeyA RegDeleteValueA RegEnumKeyA RegEnumValueA
  RegOpenKeyExA RegQueryValueExA RegSetValueExA
SHELL32.dll: SHBrowseForFolderA SHGetMalloc SHGetPathFromIDListA ShellExecuteA
ole32.dll: CoCreateInstance CoInitialize CoUninitialize OleInitialize OleUninitialize
"
# "DLL function" for each allowed import, the DLL's name in capitals.
allowed_pairs=$(printf '%s\n' "$allowed" | awk '/:/{dll=toupper($1); sub(":", "", dll); $1=""} {for (i = 1; i <= NF; i++) print dll, $i}')
status=0
count=0
while read -r dll fn; do
    count=$((count + 1))
    if ! grep -qxF "${dll^^} $fn" <<<"$allowed_pairs"; then
        echo "import not on the Windows 95 list: $dll $fn"
        status=1
    fi
done < <(printf '%s\n' "$dump" | awk '/DLL Name:/{dll=$3; next} /^$/{dll=""} dll && NF==3 && $1 ~ /^[0-9a-f]+$/ {print dll, $3}')
[ $count -gt 0 ] || { echo "no imports found in $exe"; status=1; }
grep -q 'file format pei-i386' <<<"$(i686-w64-mingw32-objdump -f "$exe")" || { echo "not PE32 for i386"; status=1; }
grep -qE '^MajorSubsystemVersion\s+4$' <<<"$dump" || { echo "subsystem major version is not 4"; status=1; }
grep -qE '^MinorSubsystemVersion\s+0$' <<<"$dump" || { echo "subsystem minor version is not 0"; status=1; }
grep -qE '^Subsystem\s+00000002' <<<"$dump" || { echo "not a GUI program"; status=1; }
[ $status -eq 0 ] && echo "all $count imports are Windows 95's; headers ok"
exit $status
