// One shell shortcut (.lnk file) made through the shell's link object.
#ifndef REGISTRATION_SHORTCUT_H
#define REGISTRATION_SHORTCUT_H

#include <windows.h>

// Saves a shortcut to target at linkFile. The icon is set only for a non-empty icon path.
// Returns S_OK or the first failing result; COM is initialised only for the length of the call.
HRESULT CreateShortcut(const char* target, const char* linkFile, const char* description, const char* arguments,
                       const char* iconPath, int iconIndex);

#endif
