#include "registration/Closing.h"

#include <afxwin.h>

#include "registration/RestartDlg.h"
#include "res/resource.h"

ExitWindowsProc g_exitWindows = &ExitWindowsEx;
bool (*g_holdsShutdownPrivilege)() = &HoldsShutdownPrivilege;

namespace {

// TOKEN_ALL_ACCESS as Windows NT 4 defines it; later systems' value asks for rights it lacks.
const DWORD kTokenAllAccessNT4 = 0xF00FF;

// The token functions are looked up, not imported: Windows 95's advapi32 need not have them all,
// and a missing import would keep the program from starting at all there.
struct TokenApi {
    BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE);
    BOOL(WINAPI* lookupPrivilegeValue)(LPCSTR, LPCSTR, PLUID);
    BOOL(WINAPI* adjustTokenPrivileges)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    BOOL(WINAPI* privilegeCheck)(HANDLE, PPRIVILEGE_SET, LPBOOL);
};

template <class Proc>
void Find(HMODULE module, const char* name, Proc& proc)
{
    proc = module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

bool FindTokenApi(TokenApi& api)
{
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    Find(advapi, "OpenProcessToken", api.openProcessToken);
    Find(advapi, "LookupPrivilegeValueA", api.lookupPrivilegeValue);
    Find(advapi, "AdjustTokenPrivileges", api.adjustTokenPrivileges);
    Find(advapi, "PrivilegeCheck", api.privilegeCheck);
    return api.openProcessToken && api.lookupPrivilegeValue && api.adjustTokenPrivileges && api.privilegeCheck;
}

}  // namespace

bool HoldsShutdownPrivilege()
{
    TokenApi api;
    if (!FindTokenApi(api)) return true;  // as when the calls fail: the flag stays as it started
    HANDLE token = nullptr;
    if (!api.openProcessToken(GetCurrentProcess(), kTokenAllAccessNT4, &token)) return true;

    TOKEN_PRIVILEGES enable = {};
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    api.lookupPrivilegeValue("", "SeShutdownPrivilege", &enable.Privileges[0].Luid);
    TOKEN_PRIVILEGES previous = {};
    DWORD previousSize = 0;
    BOOL adjusted = api.adjustTokenPrivileges(token, FALSE, &enable, sizeof enable, &previous, &previousSize);
    // Set by a successful call too: the token lacks one of the privileges asked for.
    bool notAssigned = adjusted && GetLastError() == ERROR_NOT_ALL_ASSIGNED;

    PRIVILEGE_SET wanted = {};
    wanted.PrivilegeCount = 1;
    wanted.Control = PRIVILEGE_SET_ALL_NECESSARY;
    wanted.Privilege[0] = enable.Privileges[0];
    BOOL checked = FALSE;
    bool held;
    // NT answers this only for an impersonation token; for the process's own token the
    // adjustment above has told already.
    if (api.privilegeCheck(token, &wanted, &checked)) held = checked != FALSE;
    else held = !notAssigned;
    CloseHandle(token);
    return held;
}

void FinishInstallation(const RunState& state)
{
    bool privilegeHeld = !state.isNT || g_holdsShutdownPrivilege();
    if (state.restartNeeded) {
        // A changed search path needs no word of its own: the restart brings it into effect too.
        if (privilegeHeld) {
            CRestartDlg dialog(nullptr);
            // Only OK with "restart now" restarts: a user who closes the window (Esc, the close
            // box) or was never shown it expects nothing drastic, and other programs' unsaved
            // work is at stake. The replacements happen at the next start of Windows all the same.
            if (dialog.DoModal() == IDOK && dialog.m_choice == 0) g_exitWindows(EWX_REBOOT, 0);
        } else {
            AfxMessageBox(IDS_RESTART_NEEDED, MB_ICONINFORMATION);
        }
    } else if (state.pathChanged) {
        if (AfxMessageBox(IDS_LOGOFF, MB_YESNO | MB_ICONINFORMATION) == IDYES) g_exitWindows(EWX_LOGOFF, 0);
    } else {
        AfxMessageBox(IDS_COMPLETED, MB_ICONINFORMATION);
    }
}
