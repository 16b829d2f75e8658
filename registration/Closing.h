// The last step of the setup: the restart dialog, the restart notice, the logoff question or the
// completion message, from the restart-needed and path-changed flags of the run.
#ifndef REGISTRATION_CLOSING_H
#define REGISTRATION_CLOSING_H

#include <windows.h>

#include "app/RunState.h"

void FinishInstallation(const RunState& state);

// True unless the process token is known not to hold the shutdown privilege. Enables it.
bool HoldsShutdownPrivilege();

// What asks the system to restart or log off, and what tells whether the user may shut the
// system down (asked on NT only). ExitWindowsEx and HoldsShutdownPrivilege, replaced in tests:
// a real request ends the session the tests run in.
using ExitWindowsProc = BOOL(WINAPI*)(UINT flags, DWORD reserved);
extern ExitWindowsProc g_exitWindows;
extern bool (*g_holdsShutdownPrivilege)();

#endif
