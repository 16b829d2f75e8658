#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/CaseFolding.h"

namespace {

struct Run {
    int firstLower, lastLower, firstUpper;
};

// The folding each code page must have beyond "a" to "z", written out independently of the code.
const std::map<unsigned, std::vector<Run>> kExpectedRuns = {
    {1250, {{0x9A, 0x9A, 0x8A}, {0x9C, 0x9F, 0x8C}, {0xB3, 0xB3, 0xA3}, {0xBA, 0xBA, 0xAA},
            {0xBF, 0xBF, 0xAF}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}}},
    {1251, {{0x90, 0x90, 0x80}, {0x9A, 0x9A, 0x8A}, {0x9C, 0x9F, 0x8C}, {0xB8, 0xB8, 0xA8},
            {0xBA, 0xBA, 0xAA}, {0xBF, 0xBF, 0xAF}, {0xE0, 0xFF, 0xC0}}},
    {1252, {{0x9A, 0x9A, 0x8A}, {0x9C, 0x9C, 0x8C}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFF, 0xD8}}},
    {1253, {{0xE0, 0xF1, 0xC0}, {0xF3, 0xFE, 0xD3}}},
    {1254, {{0x9A, 0x9A, 0x8A}, {0x9C, 0x9C, 0x8C}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}}},
    {1255, {}},
    {1256, {{0x9C, 0x9C, 0x8C}}},
    {1257, {{0xBF, 0xBF, 0xAF}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}}},
    {437, {}},   // any other code page: the default table
    {932, {}},
};

int Expected(unsigned codePage, int byte)
{
    if (byte >= 'a' && byte <= 'z') return byte - 'a' + 'A';
    for (const Run& run : kExpectedRuns.at(codePage))
        if (byte >= run.firstLower && byte <= run.lastLower) return run.firstUpper + (byte - run.firstLower);
    return byte;
}

}  // namespace

TEST(CaseFolding, EveryByteOfEveryTableFoldsAsTheCodePageRequires)
{
    for (const auto& entry : kExpectedRuns) {
        unsigned codePage = entry.first;
        for (int byte = 0; byte < 256; ++byte)
            EXPECT_EQ(Expected(codePage, byte), FoldCaseInCodePage(codePage, static_cast<unsigned char>(byte)))
                << "code page " << codePage << ", byte 0x" << std::hex << byte;
    }
}

TEST(CaseFolding, CodePagesOutsideTheKnownOnesShareTheDefaultTable)
{
    EXPECT_EQ(FoldingTable(437), FoldingTable(65001));
    EXPECT_EQ(FoldingTable(0), FoldingTable(1258));
    EXPECT_NE(FoldingTable(1252), FoldingTable(1254));
}

TEST(CompareFolded, AccentedLettersCompareEqualToTheirCapitalsUnderWestern)
{
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, "\xE9", "\xC9", 1));
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, "\xFF", "\xDF", 1));
    EXPECT_NE(0, CompareFoldedInCodePage(1252, "\x9F", "\xFF", 1));
}

TEST(CompareFolded, GreekFinalSigmaIsNotCapitalSigma)
{
    EXPECT_NE(0, CompareFoldedInCodePage(1253, "\xF2", "\xD3", 1));
    EXPECT_EQ(0, CompareFoldedInCodePage(1253, "\xF3", "\xD3", 1));
}

TEST(CompareFolded, OnlyAsciiLettersFoldUnderHebrewAndUnknownCodePages)
{
    EXPECT_EQ(0, CompareFoldedInCodePage(1255, "unlexa.EXE", "UNLEXA.exe", 10));
    EXPECT_NE(0, CompareFoldedInCodePage(1255, "\xE9", "\xC9", 1));
    EXPECT_NE(0, CompareFoldedInCodePage(850, "\xE9", "\xC9", 1));
}

TEST(CompareFolded, OrdersByFoldedUnsignedBytes)
{
    EXPECT_EQ(-1, CompareFoldedInCodePage(1252, "abc", "ABD", 3));
    EXPECT_EQ(1, CompareFoldedInCodePage(1252, "abd", "ABC", 3));
    // 0xE9 folds to 0xC9, still above every ASCII letter.
    EXPECT_EQ(1, CompareFoldedInCodePage(1252, "\xE9", "Z", 1));
    EXPECT_EQ(-1, CompareFoldedInCodePage(1252, "Z", "\xE9", 1));
}

TEST(CompareFolded, LooksAtExactlyCountBytesEvenPastTheTerminator)
{
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, "x", "y", 0));
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, "x", "y", -5));
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, "Unlexa.exe /x", "UNLEXA.EXE", 10));
    const char a[] = {'a', '\0', 'b'};
    const char b[] = {'A', '\0', 'c'};
    EXPECT_EQ(0, CompareFoldedInCodePage(1252, a, b, 2));
    EXPECT_EQ(-1, CompareFoldedInCodePage(1252, a, b, 3));
}
