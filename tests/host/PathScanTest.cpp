#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PathScan.h"

namespace {

// "ソフト" in code page 932: the second byte of "ソ" is 0x5C, the backslash.
const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67";
const std::size_t kNone = std::string::npos;

// The backslashes at which the levels that folder creation makes end, in order.
std::vector<std::size_t> FolderLevelEnds(const std::string& path, unsigned codePage)
{
    std::vector<std::size_t> ends;
    for (std::size_t end = FindCharacter(path, '\\', codePage, FirstFolderLevel(path, codePage)); end != kNone;
         end = FindCharacter(path, '\\', codePage, end + 1))
        ends.push_back(end);
    return ends;
}

}  // namespace

TEST(FolderLevels, EveryBackslashAfterTheDriveEndsALevel)
{
    EXPECT_EQ((std::vector<std::size_t>{4, 6}), FolderLevelEnds("C:\\A\\B\\C", 1252));
    EXPECT_EQ((std::vector<std::size_t>{4}), FolderLevelEnds("C:\\A\\", 1252));
    EXPECT_TRUE(FolderLevelEnds("C:\\Lexaver", 1252).empty());
}

TEST(FolderLevels, ASecondByteThatLooksLikeABackslashEndsNoLevel)
{
    std::string path = "D:\\" + kSofuto + "\\Lexaver\\Sub";
    EXPECT_EQ((std::vector<std::size_t>{9, 17}), FolderLevelEnds(path, 932));
    // The same bytes in a single-byte code page are other characters, with a backslash among them.
    EXPECT_EQ((std::vector<std::size_t>{4, 9, 17}), FolderLevelEnds(path, 1252));
}

TEST(FolderLevels, TheServerAndShareOfANetworkPathAreNoLevels)
{
    EXPECT_EQ((std::vector<std::size_t>{22}), FolderLevelEnds("\\\\server\\share\\Lexaver\\Sub", 1252));
    EXPECT_TRUE(FolderLevelEnds("\\\\server\\share\\Lexaver", 1252).empty());
    EXPECT_TRUE(FolderLevelEnds("\\\\server\\share", 1252).empty());
    EXPECT_TRUE(FolderLevelEnds("\\\\server", 1252).empty());
    // A share named in double-byte characters ends where its own backslash is.
    std::string share = "\\\\server\\" + kSofuto + "\\Lexaver\\Sub";
    EXPECT_EQ((std::vector<std::size_t>{23}), FolderLevelEnds(share, 932));
}

TEST(LastBackslash, StepsOverTheSecondByteOfACharacter)
{
    EXPECT_EQ(2u, LastBackslash("D:\\" + kSofuto, 932));
    EXPECT_EQ(4u, LastBackslash("D:\\" + kSofuto, 1252));
    EXPECT_EQ(9u, LastBackslash("D:\\" + kSofuto + "\\Install.exe", 936));
    EXPECT_EQ(kNone, LastBackslash("Install.exe", 932));
}

TEST(FindCharacter, ALeadByteAtTheEndIsACharacterOfItsOwn)
{
    EXPECT_EQ(kNone, FindCharacter("\x83", '\\', 932));
    EXPECT_EQ(1u, NextCharacter("\x83", 0, 932));
    EXPECT_EQ(2u, FindCharacter("\x81\x5D]", ']', 949));
    EXPECT_EQ(1u, FindCharacter("\x81\x5D]", ']', 1252));
}

TEST(IsLeadByteInCodePage, KnowsTheFourDoubleByteCodePages)
{
    EXPECT_TRUE(IsLeadByteInCodePage(932, 0x81));
    EXPECT_FALSE(IsLeadByteInCodePage(932, 0xA5));  // half-width katakana stand alone
    EXPECT_TRUE(IsLeadByteInCodePage(932, 0xFC));
    for (unsigned codePage : {936u, 949u, 950u}) {
        EXPECT_TRUE(IsLeadByteInCodePage(codePage, 0x81));
        EXPECT_TRUE(IsLeadByteInCodePage(codePage, 0xFE));
        EXPECT_FALSE(IsLeadByteInCodePage(codePage, 0x80));
    }
    EXPECT_FALSE(IsLeadByteInCodePage(1252, 0x83));
}
