// A registry value as stored, read back by the tests without the program's own registry code.
#ifndef TESTS_STOREDVALUE_H
#define TESTS_STOREDVALUE_H

#include <windows.h>

#include <string>

struct StoredValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::string data;  // as stored, terminator included
};

// Reads the value at whatever size it has.
StoredValue QueryStoredValue(HKEY root, const std::string& path, const char* name);

#endif
