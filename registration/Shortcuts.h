// The shortcut step: the program group with the shortcut list's entries, and the first entry's
// desktop and Send To shortcuts.
#ifndef REGISTRATION_SHORTCUTS_H
#define REGISTRATION_SHORTCUTS_H

#include "app/RunState.h"

// Returns false when the group folder could not be created (message 138 shown): the run ends.
// Without a Programs folder nothing is made and the run goes on.
bool CreateShortcuts(const RunState& state);

#endif
