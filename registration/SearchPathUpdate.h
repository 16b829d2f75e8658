// Puts the destination folder on the command search path: the system environment's "Path" value
// on Windows NT, the PATH statement of "C:\Autoexec.bat" on Windows 95 and 98.
#ifndef REGISTRATION_SEARCHPATHUPDATE_H
#define REGISTRATION_SEARCHPATHUPDATE_H

#include "app/RunState.h"

// False when the run must end; the message has been shown then. Sets state.pathChanged when the
// NT value was extended.
bool UpdateSearchPath(RunState& state);

// The NT branch against the "Path" value of a key of HKEY_LOCAL_MACHINE. A value that cannot be
// read shows message 143 with the key path, one that cannot be written message 135 with the key's
// full name (the flag then stays clear); one of any length is extended whole.
bool AddToNtSearchPath(RunState& state, const char* keyPath);

#endif
