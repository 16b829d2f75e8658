#include "ClassesRootGuard.h"

#include "registration/Registry.h"

namespace {

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

ClassesRootGuard::ClassesRootGuard(const std::vector<std::string>& keyPaths)
{
    for (const std::string& path : keyPaths) {
        Saved saved;
        saved.path = path;
        saved.existed = KeyExists(path);
        if (!saved.existed) {
            // The first level that is missing is the one to remove again.
            for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
                if (!KeyExists(path.substr(0, at))) {
                    saved.path = path.substr(0, at);
                    break;
                }
            }
        } else {
            HKEY key;
            RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key);
            char buffer[4096];
            DWORD size = sizeof buffer;
            saved.hadValue = RegQueryValueExA(key, "", nullptr, &saved.type, reinterpret_cast<BYTE*>(buffer), &size) ==
                             ERROR_SUCCESS;
            if (saved.hadValue) saved.data.assign(buffer, size);
            RegCloseKey(key);
        }
        m_saved.push_back(saved);
    }
}

ClassesRootGuard::~ClassesRootGuard()
{
    for (const Saved& saved : m_saved) {
        if (!saved.existed) {
            std::size_t last = saved.path.rfind('\\');
            std::string parent = last == std::string::npos ? "" : saved.path.substr(0, last);
            std::string name = last == std::string::npos ? saved.path : saved.path.substr(last + 1);
            DeleteRegKeyTree(HKEY_CLASSES_ROOT, parent.c_str(), name.c_str());
            continue;
        }
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, saved.path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        if (saved.hadValue)
            RegSetValueExA(key, "", 0, saved.type, reinterpret_cast<const BYTE*>(saved.data.data()),
                           static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueA(key, "");
        RegCloseKey(key);
    }
}
