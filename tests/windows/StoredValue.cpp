#include "StoredValue.h"

StoredValue QueryStoredValue(HKEY root, const std::string& path, const char* name)
{
    StoredValue value;
    HKEY key;
    value.status = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS) return value;
    DWORD size = 0;
    value.status = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.data.resize(size);
        value.status = RegQueryValueExA(key, name, nullptr, &value.type,
                                        reinterpret_cast<BYTE*>(size ? &value.data[0] : nullptr), &size);
        value.data.resize(value.status == ERROR_SUCCESS ? size : 0);
    }
    RegCloseKey(key);
    return value;
}
