// What setup takes for the system folder of its libraries on each kind of system.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SimulatedWow64.h"
#include "app/Wow64.h"

namespace {

std::string SystemFolder()
{
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string LibraryFolder()
{
    char folder[MAX_PATH] = {};
    UINT length = GetLibraryFolder(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder) : "(failed)";
}

}  // namespace

TEST(Wow64, TheLibrariesOfA32BitProcessOn64BitWindowsAreNamedByTheirOwnFolder)
{
    SimulatedWow64 system(SimulatedWow64::Windows64);
    ASSERT_TRUE(system.Replaced());
    EXPECT_TRUE(RunsUnderWow64());
    EXPECT_EQ(LibraryFolder(), kWow64Folder);
}

TEST(Wow64, ElsewhereTheLibrariesAreInTheSystemFolder)
{
    for (SimulatedWow64::System kind : {SimulatedWow64::Windows32, SimulatedWow64::WithoutWow64Functions}) {
        SimulatedWow64 system(kind);
        ASSERT_TRUE(system.Replaced());
        EXPECT_FALSE(RunsUnderWow64()) << kind;
        EXPECT_EQ(LibraryFolder(), SystemFolder()) << kind;
    }
}
