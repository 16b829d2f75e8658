// While it lives, the program's run-time lookups of the WoW64 functions answer as another system
// would: one without them (Windows 95 to 2000), a 32-bit one, or 64-bit Windows running this
// program under WoW64, whose 32-bit system folder is kWow64Folder.
#ifndef TESTS_SIMULATEDWOW64_H
#define TESTS_SIMULATEDWOW64_H

#include "ImportReplacement.h"

extern const char kWow64Folder[];

class SimulatedWow64 {
public:
    enum System { WithoutWow64Functions, Windows32, Windows64 };
    explicit SimulatedWow64(System system);
    ~SimulatedWow64();

    bool Replaced() const { return m_lookup.Replaced(); }

private:
    ImportReplacement m_lookup;
};

#endif
