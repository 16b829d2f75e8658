#include "app/SystemDlls.h"

namespace {

const DWORD kLoadLibrarySearchDllLoadDir = 0x00000100;
const DWORD kLoadLibrarySearchSystem32 = 0x00000800;

using SetDllDirectoryProc = BOOL(WINAPI*)(LPCSTR);
using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using InitCommonControlsProc = void(WINAPI*)();
using GetFileVersionInfoSizeProc = DWORD(WINAPI*)(LPCSTR, LPDWORD);
using GetFileVersionInfoProc = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
using VerQueryValueProc = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

HMODULE VersionModule()
{
    static HMODULE module = LoadSystemLibrary("version.dll");
    return module;
}

}  // namespace

void NarrowDllSearchPath()
{
    // Neither call exists on Windows 95 or NT 4: look them up instead of importing them.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (auto setDllDirectory = GetSystemProc<SetDllDirectoryProc>(kernel, "SetDllDirectoryA")) setDllDirectory("");
    if (auto setDefault = GetSystemProc<SetDefaultDllDirectoriesProc>(kernel, "SetDefaultDllDirectories"))
        setDefault(kLoadLibrarySearchSystem32);
}

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryA(path);
}

HMODULE LoadLibraryWithItsFolder(const char* path)
{
    // Where NarrowDllSearchPath could set the default directories, only the flags can add the
    // DLL's own folder back; before that, the altered search path puts it in the program's place.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (GetSystemProc<SetDefaultDllDirectoriesProc>(kernel, "SetDefaultDllDirectories"))
        return LoadLibraryExA(path, nullptr, kLoadLibrarySearchDllLoadDir | kLoadLibrarySearchSystem32);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL InitProgressBarClass()
{
    static HMODULE module = LoadSystemLibrary("comctl32.dll");
    auto init = GetSystemProc<InitCommonControlsProc>(module, "InitCommonControls");
    if (!init) return FALSE;
    init();
    return TRUE;
}

namespace VersionDll {

DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle)
{
    static auto proc = GetSystemProc<GetFileVersionInfoSizeProc>(VersionModule(), "GetFileVersionInfoSizeA");
    if (!proc) {
        if (handle) *handle = 0;
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return proc(path, handle);
}

BOOL GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD size, LPVOID data)
{
    static auto proc = GetSystemProc<GetFileVersionInfoProc>(VersionModule(), "GetFileVersionInfoA");
    return proc ? proc(path, handle, size, data) : FALSE;
}

BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length)
{
    static auto proc = GetSystemProc<VerQueryValueProc>(VersionModule(), "VerQueryValueA");
    return proc ? proc(block, subBlock, buffer, length) : FALSE;
}

}  // namespace VersionDll
