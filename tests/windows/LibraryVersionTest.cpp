// The version triple as setup reads it from real files. The library files are made at build time
// by tools/make-library.py into library-fixtures\ beside this program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFolder.h"
#include "install/LibraryVersion.h"

namespace {

std::string FixturePath(const char* name)
{
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path(module, length);
    return path.substr(0, path.rfind('\\') + 1) + "library-fixtures\\" + name;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Reads the triple into a triple that starts non-zero, so that 0.0.0 is known to be written.
VersionTriple Read(const std::string& path, bool* result = nullptr)
{
    VersionTriple triple;
    triple.major = triple.minor = triple.build = 77;
    bool ok = ReadVersionTriple(path.c_str(), triple);
    if (result) *result = ok;
    return triple;
}

::testing::AssertionResult IsTriple(const VersionTriple& triple, unsigned major, unsigned minor, unsigned build)
{
    if (triple.major == major && triple.minor == minor && triple.build == build)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "read " << triple.major << "." << triple.minor << "."
                                         << triple.build << ", expected " << major << "." << minor
                                         << "." << build;
}

}  // namespace

TEST(LibraryVersion, TakesMajorMinorAndBuildAndIgnoresTheFourthPart)
{
    bool ok = false;
    VersionTriple triple = Read(FixturePath("Ordinary.dll"), &ok);  // 2.40.4275.9
    EXPECT_TRUE(ok);
    EXPECT_TRUE(IsTriple(triple, 2, 40, 4275));
}

TEST(LibraryVersion, PartsAboveSignedSixteenBitsReadAsUnsigned)
{
    EXPECT_TRUE(IsTriple(Read(FixturePath("Largest.dll")), 65535, 65535, 65535));  // 65535.65535.65535.65535
    EXPECT_TRUE(IsTriple(Read(FixturePath("Wide.dll")), 40000, 32768, 50000));     // 40000.32768.50000.1
}

TEST(LibraryVersion, AMissingFileIsZeroAndNoFailure)
{
    TestFolder folder("VersionMissing");
    bool ok = false;
    EXPECT_TRUE(IsTriple(Read(folder / "Absent.dll", &ok), 0, 0, 0));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(IsTriple(Read(folder / "NoFolder\\Absent.dll", &ok), 0, 0, 0));
    EXPECT_TRUE(ok);
}

TEST(LibraryVersion, FilesWithoutVersionInformationAreZero)
{
    bool ok = false;
    EXPECT_TRUE(IsTriple(Read(FixturePath("NoVersion.dll"), &ok), 0, 0, 0));
    EXPECT_TRUE(ok);

    TestFolder folder("VersionText");
    TestFolder::WriteFile(folder / "Oleaut32.dll", "not a library\r\n");
    EXPECT_TRUE(IsTriple(Read(folder / "Oleaut32.dll", &ok), 0, 0, 0));
    EXPECT_TRUE(ok);
    TestFolder::WriteFile(folder / "Empty.dll", "");
    EXPECT_TRUE(IsTriple(Read(folder / "Empty.dll", &ok), 0, 0, 0));
    EXPECT_TRUE(ok);
}

TEST(LibraryVersion, AFileNamedMfc42ReportsItsOwnVersion)
{
    EXPECT_TRUE(IsTriple(Read(FixturePath("Own\\Mfc42.dll")), 4, 21, 0));  // 4.21.0.7
}

// A file named like one of Wine's builtin DLLs. Windows reads the file's own version; Wine reports
// the builtin's version wherever the file lies, unless the DLL is overridden to native first
// (see LibraryVersionNativeFirst).
TEST(LibraryVersion, AFileNamedLikeASystemLibraryInAFolderOfItsOwn)
{
    VersionTriple triple = Read(FixturePath("Builtin\\Msvcrt.dll"));  // 1.2.3.4
    if (!RunningUnderWine()) {
        EXPECT_TRUE(IsTriple(triple, 1, 2, 3));
        return;
    }
    // Wine-only fact: the builtin msvcrt's version, never the file's.
    EXPECT_FALSE(IsTriple(triple, 1, 2, 3));
    EXPECT_NE(0, triple.major);
}

// Run with WINEDLLOVERRIDES=olepro32=n,b (and on Windows as it is): the file's own version.
TEST(LibraryVersionNativeFirst, AFileNamedOlepro32ReportsItsOwnVersion)
{
    EXPECT_TRUE(IsTriple(Read(FixturePath("Builtin\\Olepro32.dll")), 5, 0, 4055));  // 5.0.4055.0
}
