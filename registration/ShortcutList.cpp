#include "registration/ShortcutList.h"

#include "app/CaseFolding.h"

std::vector<ShortcutEntry> SplitShortcutList(std::string_view list)
{
    // Every "=", "," and line feed ends a field; three fields make an entry.
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        char c = list[i];
        if (c == '=' || c == ',' || c == '\n') {
            fields.emplace_back(list.substr(start, i - start));
            start = i + 1;
        }
    }

    std::vector<ShortcutEntry> entries;
    for (std::size_t i = 0; i + 2 < fields.size() && !fields[i].empty(); i += 3)
        entries.push_back(ShortcutEntry{fields[i], fields[i + 1], fields[i + 2]});
    return entries;
}

bool IsUninstallerTarget(const std::string& target, unsigned codePage)
{
    static const char kUninstaller[] = "Unlexa.exe";
    const int length = sizeof kUninstaller - 1;
    // Exactly 10 characters: a shorter target differs at its terminator.
    return CompareFoldedInCodePage(codePage, target.c_str(), kUninstaller, length) == 0;
}
