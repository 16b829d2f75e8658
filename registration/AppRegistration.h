// Application registration: the App Paths and Uninstall entries, removal of the old control
// settings, and the import of the settings script "Lexaver.reg" into HKEY_CURRENT_USER.
#ifndef REGISTRATION_APPREGISTRATION_H
#define REGISTRATION_APPREGISTRATION_H

#include "app/RunState.h"

// Failed writes and a failed import are silent; the run goes on.
void RegisterApplication(const RunState& state);

// Imports "Lexaver.reg" from the setup program's own folder; every failure ends it quietly.
void ImportRegScript();

// The import of one script file. Returns the number of values written; values written before a
// failing one stay.
int ImportRegScriptFile(const char* path);

#endif
