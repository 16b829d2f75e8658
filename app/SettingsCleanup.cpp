#include "app/SettingsCleanup.h"

#include <windows.h>

void RemoveFileFiltersSetting()
{
    static const char* const levels[] = {"Software", "Lexaver", "App", "Settings"};
    const int levelCount = sizeof levels / sizeof levels[0];
    HKEY keys[levelCount] = {};
    HKEY parent = HKEY_CURRENT_USER;
    int opened = 0;
    for (; opened < levelCount; ++opened) {
        DWORD disposition;
        if (RegCreateKeyExA(parent, levels[opened], 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &keys[opened], &disposition) != ERROR_SUCCESS)
            break;
        parent = keys[opened];
    }
    if (opened == levelCount) RegDeleteValueA(keys[levelCount - 1], "File filters");
    while (opened > 0) RegCloseKey(keys[--opened]);
}
