#include <gtest/gtest.h>

#include <string>

#include "install/PendingRenames.h"

namespace {

const std::string kMfc = RenameLines("C:\\WINDOWS\\SYSTEM\\MFC42.DLL", "C:\\WINDOWS\\SYSTEM\\TEMP1A2.TMP");
const std::string kOlepro = RenameLines("C:\\WINDOWS\\SYSTEM\\OLEPRO32.DLL", "C:\\WINDOWS\\SYSTEM\\TEMP1A3.TMP");

}  // namespace

TEST(PendingRenames, LinesDeleteTheOldLibraryThenRenameTheCopy)
{
    EXPECT_EQ("NUL=C:\\WINDOWS\\SYSTEM\\MFC42.DLL\r\n"
              "C:\\WINDOWS\\SYSTEM\\MFC42.DLL=C:\\WINDOWS\\SYSTEM\\TEMP1A2.TMP\r\n",
              kMfc);
}

TEST(PendingRenames, NoFileOrEmptyFileGetsExactlyTheHeaderAndTheLines)
{
    EXPECT_EQ("[rename]\r\n" + kMfc + kOlepro, MergeRenameLines("", kMfc + kOlepro));
    RenameInsertion insertion = FindRenameInsertion("");
    EXPECT_EQ(0u, insertion.offset);
    EXPECT_EQ("[rename]\r\n", insertion.lead);
}

TEST(PendingRenames, FileWithoutSectionKeepsItsBytesAndGetsANewSectionAtTheEnd)
{
    const std::string other = "[Settings]\r\nKey=Value\r\n";
    EXPECT_EQ(other + "[rename]\r\n" + kMfc, MergeRenameLines(other, kMfc));
    // No line end at the end of the file: one comes first.
    EXPECT_EQ("[Settings]\r\nKey=Value\r\n[rename]\r\n" + kMfc, MergeRenameLines("[Settings]\r\nKey=Value", kMfc));
    EXPECT_EQ("; LF only\n[rename]\r\n" + kMfc, MergeRenameLines("; LF only\n", kMfc));
}

TEST(PendingRenames, LinesGoAtTheEndOfAnExistingSection)
{
    const std::string before = "[rename]\r\nNUL=C:\\OTHER.DLL\r\n";
    EXPECT_EQ(before + kMfc, MergeRenameLines(before, kMfc));
    EXPECT_EQ(before.size(), FindRenameInsertion(before).offset);
    EXPECT_EQ("", FindRenameInsertion(before).lead);
    // The last line of the section without a line end.
    EXPECT_EQ("[rename]\r\nNUL=C:\\OTHER.DLL\r\n" + kMfc, MergeRenameLines("[rename]\r\nNUL=C:\\OTHER.DLL", kMfc));
    EXPECT_EQ("[rename]\r\n" + kMfc, MergeRenameLines("[rename]", kMfc));
}

TEST(PendingRenames, SectionInTheMiddleTakesTheLinesAndEverythingAroundStays)
{
    const std::string head = "[Before]\r\nA=1\r\n[rename]\r\nC:\\APP\\X.DLL=C:\\APP\\X.NEW\r\n";
    const std::string tail = "\r\n[After]\r\nB=2\r\n";
    EXPECT_EQ(head + kMfc + kOlepro + tail, MergeRenameLines(head + tail, kMfc + kOlepro));
}

TEST(PendingRenames, SectionHeaderIsFoundInAnyLetterCaseAndWithBlanks)
{
    const std::string upper = "[RENAME]\r\nNUL=C:\\OLD.DLL\r\n[Other]\r\n";
    EXPECT_EQ("[RENAME]\r\nNUL=C:\\OLD.DLL\r\n" + kMfc + "[Other]\r\n", MergeRenameLines(upper, kMfc));
    const std::string spaced = "  [Rename]  \nX=Y\n";
    EXPECT_EQ(spaced + kMfc, MergeRenameLines(spaced, kMfc));
    // A header that only begins like it is another section.
    EXPECT_EQ("[renamed]\r\nX=Y\r\n[rename]\r\n" + kMfc, MergeRenameLines("[renamed]\r\nX=Y\r\n", kMfc));
}

TEST(PendingRenames, OnlyTheFirstSectionTakesTheLinesAndZeroBytesAreKept)
{
    const std::string twice = "[rename]\r\nA=B\r\n[x]\r\n[rename]\r\nC=D\r\n";
    EXPECT_EQ("[rename]\r\nA=B\r\n" + kMfc + "[x]\r\n[rename]\r\nC=D\r\n", MergeRenameLines(twice, kMfc));
    const std::string withZero("[a]\r\nK=\0V\r\n", 11);
    std::string merged = MergeRenameLines(withZero, kMfc);
    EXPECT_EQ(withZero, merged.substr(0, withZero.size()));
    EXPECT_EQ("[rename]\r\n" + kMfc, merged.substr(withZero.size()));
}
