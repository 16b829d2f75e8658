#include "app/Wow64.h"

namespace {

using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, PBOOL);
using GetSystemWow64DirectoryProc = UINT(WINAPI*)(LPSTR, UINT);

FARPROC KernelFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

bool RunsUnderWow64()
{
    // Windows 95, NT 4 and 2000 lack it: looked up, not imported.
    auto isWow64 = reinterpret_cast<IsWow64ProcessProc>(reinterpret_cast<void*>(KernelFunction("IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

UINT GetLibraryFolder(char* path, UINT size)
{
    if (RunsUnderWow64()) {
        auto wow64Folder = reinterpret_cast<GetSystemWow64DirectoryProc>(
            reinterpret_cast<void*>(KernelFunction("GetSystemWow64DirectoryA")));
        UINT length = wow64Folder ? wow64Folder(path, size) : 0;
        if (length > 0 && length < size) return length;
    }
    return GetSystemDirectoryA(path, size);
}

REGSAM SharedKeyView()
{
    return RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
}
