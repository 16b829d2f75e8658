// Puts keys of HKEY_CLASSES_ROOT back as they were: the default value of a key that existed, or
// no key at all where there was none (from the first missing level of its path down).
#ifndef TESTS_CLASSESROOTGUARD_H
#define TESTS_CLASSESROOTGUARD_H

#include <windows.h>

#include <string>
#include <vector>

class ClassesRootGuard {
public:
    explicit ClassesRootGuard(const std::vector<std::string>& keyPaths);
    ~ClassesRootGuard();

private:
    struct Saved {
        std::string path;      // the key, or its first missing level
        bool existed = false;
        bool hadValue = false;
        DWORD type = REG_NONE;
        std::string data;
    };
    std::vector<Saved> m_saved;
};

#endif
