#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/FileLists.h"

namespace {

std::vector<std::string> Names(const char* block)
{
    std::vector<std::string> names;
    for (const char* name = *block ? block : nullptr; name; name = NextName(name)) names.push_back(name);
    return names;
}

}  // namespace

TEST(FileLists, ProductFilesAre65InInstallOrder)
{
    std::vector<std::string> names = Names(ProductFileList);
    ASSERT_EQ(65u, names.size());
    EXPECT_EQ("Ada.ini", names.front());
    EXPECT_EQ("Lexaver.exe", names[12]);
    EXPECT_EQ("Lexaver.exe.manifest", names[13]);
    EXPECT_EQ("Lexaver.ocx", names[14]);
    EXPECT_EQ("Lexaver.pub", names[16]);
    EXPECT_EQ("Eiffel.ini", names[17]);
    EXPECT_EQ("Xml.ini", names.back());
    for (const std::string& name : names) EXPECT_FALSE(name.empty());
    // The longest, which decides how deep a destination may be.
    EXPECT_EQ(20, LongestName(ProductFileList));
}

TEST(FileLists, ObsoleteFilesAreTheTwoOldLanguageFiles)
{
    EXPECT_EQ((std::vector<std::string>{"C#.ini", "C++.ini"}), Names(ObsoleteFileList));
}

TEST(FileLists, SystemLibrariesWithTheirMinimumVersionsInOrder)
{
    ASSERT_EQ(4, CountSystemLibraries());
    EXPECT_STREQ("Mfc42.dll", SystemLibraryTable[0].name);
    EXPECT_EQ(21, SystemLibraryTable[0].minimumMinor);
    EXPECT_STREQ("Msvcrt.dll", SystemLibraryTable[1].name);
    EXPECT_STREQ("Oleaut32.dll", SystemLibraryTable[2].name);
    EXPECT_EQ(4054, SystemLibraryTable[2].minimumBuild);
    EXPECT_STREQ("Olepro32.dll", SystemLibraryTable[3].name);
    EXPECT_EQ(4055, SystemLibraryTable[3].minimumBuild);
    EXPECT_STREQ("", SystemLibraryTable[4].name);
}

TEST(FileLists, StageTotalCountsEveryEntryPlusOne)
{
    EXPECT_EQ(72, StageTotal());
    EXPECT_EQ(0, CountNames("\0"));
}
