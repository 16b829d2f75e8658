// The shortcut list of a string resource: entries "name=target,description", each ended by a
// line feed. Text in, entries out.
#ifndef REGISTRATION_SHORTCUTLIST_H
#define REGISTRATION_SHORTCUTLIST_H

#include <string>
#include <string_view>
#include <vector>

struct ShortcutEntry {
    std::string name;         // the .lnk file name, blanks kept
    std::string target;       // a file name in the destination folder
    std::string description;
};

// Fields are taken exactly as written. The list ends at an empty name or where an entry lacks
// one of its three fields.
std::vector<ShortcutEntry> SplitShortcutList(std::string_view list);

// The uninstaller's entry: the first 10 characters of the target are "Unlexa.exe" in any letter
// case of the code page.
bool IsUninstallerTarget(const std::string& target, unsigned codePage);

#endif
