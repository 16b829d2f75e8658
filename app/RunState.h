// What one run of the setup knows and shares between its steps.
#ifndef APP_RUNSTATE_H
#define APP_RUNSTATE_H

#include <windows.h>

const UINT kShortcutListReduced = 3;
const UINT kShortcutListFull = 141;

struct RunState {
    // Out of line, so that a run builds it with a few stores instead of copying an image of
    // itself kept in the program.
    RunState();

    char productName[32] = {};
    int productNameLength = 0;
    bool isNT = false;
    char moduleFolder[MAX_PATH] = {};     // the distribution folder, no trailing backslash
    char windowsFolder[MAX_PATH] = {};
    char systemFolder[MAX_PATH] = {};
    char destination[MAX_PATH] = {};      // as the user accepted it; a drive root keeps its backslash
    int destinationLength = 0;
    bool restartNeeded = false;
    UINT shortcutListId = kShortcutListReduced;
    char uninstallerPath[MAX_PATH] = {};  // empty when no uninstaller was installed
    int uninstallerPathLength = 0;
    bool pathChanged = false;
};

#endif
