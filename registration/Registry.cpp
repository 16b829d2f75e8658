#include "registration/Registry.h"

#include <cstdlib>
#include <utility>

#include "app/PathScan.h"

namespace {

struct ChainEntry {
    HKEY key;
    ChainEntry* next;
};

// One chain for the process: the path operations run one at a time on the setup's thread.
ChainEntry* g_chainHead = nullptr;
ChainEntry* g_chainTail = nullptr;

const DWORD kComponentSize = 260;

// Null when no memory can be had.
ChainEntry* NewEntry(HKEY key)
{
    auto* entry = static_cast<ChainEntry*>(std::malloc(sizeof(ChainEntry)));
    if (entry) *entry = ChainEntry{key, nullptr};
    return entry;
}

LONG WalkKeyPath(HKEY root, const char* path, REGSAM access, bool create, HKEY* key)
{
    CloseKeyPath();
    g_chainHead = NewEntry(root);
    if (!g_chainHead) return -1;
    g_chainTail = g_chainHead;

    const char* p = path ? path : "";
    const unsigned codePage = GetACP();
    while (*p) {
        char component[kComponentSize];
        DWORD length = 0;
        while (*p && *p != '\\') {
            // By character: the second byte of a double-byte character may be 0x5C.
            int size = IsLeadByteInCodePage(codePage, static_cast<unsigned char>(*p)) && p[1] ? 2 : 1;
            for (; size > 0; --size, ++p)
                if (length < kComponentSize - 1) component[length++] = *p;
        }
        component[length] = '\0';
        if (*p == '\\') ++p;

        ChainEntry* entry = NewEntry(nullptr);
        if (!entry) {
            CloseKeyPath();
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        LONG status;
        if (create) {
            DWORD disposition;
            status = RegCreateKeyExA(g_chainTail->key, component, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                                     access, nullptr, &entry->key, &disposition);
        } else {
            status = RegOpenKeyExA(g_chainTail->key, component, 0, access, &entry->key);
        }
        if (status != ERROR_SUCCESS) {
            std::free(entry);
            CloseKeyPath();
            return status;
        }
        g_chainTail->next = entry;
        g_chainTail = entry;
    }
    *key = g_chainTail->key;
    return ERROR_SUCCESS;
}

}  // namespace

LONG OpenKeyPath(HKEY root, const char* path, REGSAM access, HKEY* key)
{
    return WalkKeyPath(root, path, access, false, key);
}

LONG CreateKeyPath(HKEY root, const char* path, REGSAM access, HKEY* key)
{
    return WalkKeyPath(root, path, access, true, key);
}

void CloseKeyPath()
{
    // The first entry is the caller's root key: it is not ours to close.
    bool isRoot = true;
    while (g_chainHead) {
        ChainEntry* next = g_chainHead->next;
        if (!isRoot && g_chainHead->key) RegCloseKey(g_chainHead->key);
        isRoot = false;
        std::free(g_chainHead);
        g_chainHead = next;
    }
    g_chainTail = nullptr;
}

LONG ReadRegValue(HKEY root, const char* path, const char* name, void* buffer, DWORD capacity)
{
    // Read access only: a user who may read a key of the machine but not change it reads it.
    HKEY key;
    LONG status = OpenKeyPath(root, path, KEY_READ, &key);
    if (status != ERROR_SUCCESS) return status;
    DWORD type = 0;
    DWORD size = capacity;
    status = RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(buffer), &size);
    CloseKeyPath();
    if (status != ERROR_SUCCESS) return status;
    char* text = static_cast<char*>(buffer);
    // Every caller takes the value for a folder: a number or bytes are no text, and no terminator
    // ends them.
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        if (capacity > 0) text[0] = '\0';
        return ERROR_INVALID_DATATYPE;
    }

    // A stored text need not carry its terminator; the caller always gets one.
    if (size > 0 && text[size - 1] == '\0') return ERROR_SUCCESS;
    if (size >= capacity) return ERROR_MORE_DATA;
    text[size] = '\0';
    return ERROR_SUCCESS;
}

LONG WriteRegValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    LONG status = CreateKeyPath(root, path, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    CloseKeyPath();
    return status;
}

LONG WriteRegString(HKEY root, const char* path, const char* name, DWORD type, const char* text)
{
    return WriteRegValue(root, path, name, type, text, static_cast<DWORD>(lstrlenA(text)) + 1);
}

namespace {

// One key on the way down the tree being deleted, with the name its parent knows it by.
struct OpenSubkey {
    HKEY key;
    OpenSubkey* parent;
    char name[1];
};

OpenSubkey* PushSubkey(OpenSubkey* parent, HKEY key, const char* name)
{
    auto* entry = static_cast<OpenSubkey*>(std::malloc(sizeof(OpenSubkey) + lstrlenA(name)));
    if (!entry) return nullptr;
    entry->key = key;
    entry->parent = parent;
    lstrcpyA(entry->name, name);
    return entry;
}

OpenSubkey* PopSubkey(OpenSubkey* entry)
{
    RegCloseKey(entry->key);
    OpenSubkey* parent = entry->parent;
    std::free(entry);
    return parent;
}

}  // namespace

LONG DeleteRegKeyTree(HKEY root, const char* parentPath, const char* keyName)
{
    HKEY parent;
    LONG status = OpenKeyPath(root, parentPath, KEY_ALL_ACCESS, &parent);
    if (status != ERROR_SUCCESS) return status;
    HKEY key;
    status = RegOpenKeyExA(parent, keyName, 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) {
        CloseKeyPath();
        return status;
    }

    // Bottom-up without recursion: the stack holds the keys from the named one down to the
    // current one; the chain holds the parent.
    OpenSubkey* current = PushSubkey(nullptr, key, keyName);
    if (!current) {
        RegCloseKey(key);
        status = ERROR_NOT_ENOUGH_MEMORY;
    }
    while (current) {
        char name[261];
        status = RegEnumKeyA(current->key, 0, name, sizeof name);
        if (status == ERROR_NO_MORE_ITEMS) {
            for (;;) {
                char valueName[261];
                DWORD valueLength = sizeof valueName;
                if (RegEnumValueA(current->key, 0, valueName, &valueLength, nullptr, nullptr, nullptr, nullptr) !=
                        ERROR_SUCCESS ||
                    RegDeleteValueA(current->key, valueName) != ERROR_SUCCESS)
                    break;
            }
            HKEY above = current->parent ? current->parent->key : parent;
            RegCloseKey(current->key);
            LONG deleted = RegDeleteKeyA(above, current->name);
            std::free(std::exchange(current, current->parent));
            if (deleted != ERROR_SUCCESS) {
                status = deleted;
                break;
            }
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        HKEY subkey;
        status = RegOpenKeyExA(current->key, name, 0, KEY_ALL_ACCESS, &subkey);
        if (status != ERROR_SUCCESS) break;
        OpenSubkey* pushed = PushSubkey(current, subkey, name);
        if (!pushed) {
            RegCloseKey(subkey);
            status = ERROR_NOT_ENOUGH_MEMORY;
            break;
        }
        current = pushed;
    }
    // Whatever is left open after a failure is unwound; the chain closes the parent itself.
    while (current) current = PopSubkey(current);
    CloseKeyPath();
    return status;
}
