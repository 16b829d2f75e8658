// While it lives, this program's calls of a system function go to a replacement: its entry in the
// import address table is swapped. For failures and answers of other Windows versions that cannot
// be brought about otherwise (a full registry, a drive root that refuses CreateDirectoryA).
#ifndef TESTS_IMPORTREPLACEMENT_H
#define TESTS_IMPORTREPLACEMENT_H

#include <windows.h>

class ImportReplacement {
public:
    ImportReplacement(const char* module, const char* function, void* replacement);
    ~ImportReplacement();
    ImportReplacement(const ImportReplacement&) = delete;
    ImportReplacement& operator=(const ImportReplacement&) = delete;

    bool Replaced() const { return m_slot != nullptr; }

private:
    void Swap(void* target);

    void** m_slot = nullptr;
    void* m_original = nullptr;
};

#endif
