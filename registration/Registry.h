// Registry values addressed by root key, backslash-separated key path and value name. Every
// operation returns 0 or a Win32 error code and holds no handle once it returns.
#ifndef REGISTRATION_REGISTRY_H
#define REGISTRATION_REGISTRY_H

#include <windows.h>


// Walks the path, opening (or creating) one key at a time; the handles stay in a chain that
// CloseKeyPath closes. On failure the chain is closed already. -1: no memory for the chain.
LONG OpenKeyPath(HKEY root, const char* path, REGSAM access, HKEY* key);
LONG CreateKeyPath(HKEY root, const char* path, REGSAM access, HKEY* key);
void CloseKeyPath();

// Reads a string value into the buffer, always zero-terminated; one that leaves no room for the
// terminator fails with ERROR_MORE_DATA, a value of another type with ERROR_INVALID_DATATYPE.
LONG ReadRegValue(HKEY root, const char* path, const char* name, void* buffer, DWORD capacity);

// Writes a value of the given size, creating missing keys.
LONG WriteRegValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size);

// Writes a REG_SZ or REG_EXPAND_SZ text with its terminating zero counted, as readers expect.
LONG WriteRegString(HKEY root, const char* path, const char* name, DWORD type, const char* text);

// Removes the named key below the parent path with all its subkeys and values. Returns
// ERROR_NO_MORE_ITEMS when the tree is gone, otherwise the error that stopped the walk.
LONG DeleteRegKeyTree(HKEY root, const char* parentPath, const char* keyName);

#endif
