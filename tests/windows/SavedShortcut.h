// A .lnk file read back through the shell's link object, as the shell itself would see it.
#ifndef TESTS_SAVEDSHORTCUT_H
#define TESTS_SAVEDSHORTCUT_H

#include <string>

struct SavedShortcut {
    bool loaded = false;
    std::string path, description, arguments, iconPath;
    int iconIndex = -1;
    int showCommand = -1;
};

SavedShortcut ReadSavedShortcut(const std::string& file);

#endif
