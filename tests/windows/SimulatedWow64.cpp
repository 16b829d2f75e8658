#include "SimulatedWow64.h"

const char kWow64Folder[] = "C:\\Windows\\SysWOW64";

namespace {

// Taken before any slot is swapped: every other name is looked up by the system.
using LookUp = FARPROC(WINAPI*)(HMODULE, LPCSTR);
const LookUp g_systemLookUp = reinterpret_cast<LookUp>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcAddress")));
SimulatedWow64::System g_system = SimulatedWow64::Windows32;

BOOL WINAPI IsWow64(HANDLE, PBOOL wow64)
{
    *wow64 = g_system == SimulatedWow64::Windows64;
    return TRUE;
}

UINT WINAPI Wow64Folder(LPSTR path, UINT size)
{
    if (g_system != SimulatedWow64::Windows64) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return 0;
    }
    UINT length = lstrlenA(kWow64Folder);
    if (length < size) lstrcpyA(path, kWow64Folder);
    return length < size ? length : length + 1;
}

FARPROC WINAPI LookUpOnTheSimulatedSystem(HMODULE module, LPCSTR name)
{
    bool byName = HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0;
    if (byName && lstrcmpA(name, "IsWow64Process") == 0)
        return g_system == SimulatedWow64::WithoutWow64Functions ? nullptr
                                                                 : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&IsWow64));
    if (byName && lstrcmpA(name, "GetSystemWow64DirectoryA") == 0)
        return g_system == SimulatedWow64::WithoutWow64Functions
                   ? nullptr
                   : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Wow64Folder));
    return g_systemLookUp(module, name);
}

}  // namespace

SimulatedWow64::SimulatedWow64(System system)
    : m_lookup("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&LookUpOnTheSimulatedSystem))
{
    g_system = system;
}

SimulatedWow64::~SimulatedWow64()
{
    g_system = Windows32;
}
