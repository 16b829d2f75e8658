#include "app/Wow64.h"

#include "app/SystemDlls.h"

namespace {

using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetSystemWow64DirectoryProc = UINT(WINAPI*)(LPSTR, UINT);

}  // namespace

bool RunsUnderWow64()
{
    // Windows 95, NT 4 and 2000 lack it: looked up, not imported.
    auto isWow64 = GetSystemProc<IsWow64ProcessProc>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

UINT GetLibraryFolder(char* path, UINT size)
{
    if (RunsUnderWow64()) {
        auto wow64Folder =
            GetSystemProc<GetSystemWow64DirectoryProc>(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA");
        UINT length = wow64Folder ? wow64Folder(path, size) : 0;
        if (length > 0 && length < size) return length;
    }
    return GetSystemDirectoryA(path, size);
}

REGSAM SharedKeyView()
{
    return RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
}
