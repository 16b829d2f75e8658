#include <gtest/gtest.h>

#include <string>

#include "registration/SearchPath.h"

namespace {

const char kShort[] = "C:\\PROGRA~1\\LEXAVER";
const unsigned kWestern = 1252;

std::string Added(const std::string& autoexec, const char* folder = kShort)
{
    std::optional<std::string> text = AddToStatement(autoexec, folder, kWestern);
    return text ? *text : "(unchanged)";
}

}  // namespace

TEST(StartupFile, WorkedExamplesExtendTheStatementOrPutOneOnTop)
{
    EXPECT_EQ("ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\PROGRA~1\\LEXAVER\r\n",
              Added("ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"));
    // A new statement extends the search path the system set before the file runs.
    EXPECT_EQ("set PATH=%PATH%;C:\\PROGRA~1\\LEXAVER\r\nECHO OFF\r\nWIN\r\n", Added("ECHO OFF\r\nWIN\r\n"));
    EXPECT_EQ("set PATH=%PATH%;C:\\PROGRA~1\\LEXAVER\r\n", Added(""));
}

TEST(StartupFile, StatementOnTheLastLineOrEndingInASemicolon)
{
    EXPECT_EQ("ECHO OFF\r\nPATH C:\\DOS;C:\\PROGRA~1\\LEXAVER", Added("ECHO OFF\r\nPATH C:\\DOS"));
    EXPECT_EQ("path=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\nWIN\r\n", Added("path=C:\\DOS;\r\nWIN\r\n"));
    EXPECT_EQ("SET PATH=C:\\PROGRA~1\\LEXAVER\r\n", Added("SET PATH=\r\n"));  // nothing to separate
    // A lone LF ends the line too: the folder goes onto the statement, not onto the next line.
    EXPECT_EQ("PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\nWIN\n", Added("PATH=C:\\DOS\nWIN\n"));
}

TEST(StartupFile, FolderPresentInAnotherCaseLeavesTheFileAsItIs)
{
    EXPECT_EQ("(unchanged)", Added("SET PATH=C:\\WINDOWS;c:\\progra~1\\lexaver\r\n"));
    EXPECT_EQ("(unchanged)", Added("SET PATH=C:\\WINDOWS; C:\\PROGRA~1\\LEXAVER\\ ;C:\\X\r\n"));
}

TEST(StartupFile, FolderOnALaterLineIsStillAddedToTheStatement)
{
    EXPECT_EQ("SET PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\nREM C:\\PROGRA~1\\LEXAVER\r\n",
              Added("SET PATH=C:\\DOS\r\nREM C:\\PROGRA~1\\LEXAVER\r\n"));
}

TEST(StartupFile, ZeroBytesAreTextLikeAnyOther)
{
    using namespace std::string_literals;
    EXPECT_EQ("SET PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\n\0tail\r\n"s, Added("SET PATH=C:\\DOS\r\n\0tail\r\n"s));
    // A zero byte above the statement hides neither it nor what follows.
    EXPECT_EQ("ECHO\0\r\nPATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\nWIN"s, Added("ECHO\0\r\nPATH=C:\\DOS\r\nWIN"s));
}

TEST(StartupFile, EndOfFileMarksAfterTheStatementStayLast)
{
    EXPECT_EQ("ECHO OFF\r\nPATH C:\\DOS;C:\\PROGRA~1\\LEXAVER\x1A", Added("ECHO OFF\r\nPATH C:\\DOS\x1A"));
    EXPECT_EQ("SET PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\x1A\x1A", Added("SET PATH=C:\\DOS;\x1A\x1A"));
    EXPECT_EQ("(unchanged)", Added("SET PATH=C:\\DOS;c:\\progra~1\\lexaver\x1A"));
    // Only at the end of the file: a mark on a line of its own stays where it is.
    EXPECT_EQ("PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\n\x1A", Added("PATH=C:\\DOS\r\n\x1A"));
}

TEST(StartupFile, CommentsAndOtherWordsAreNoStatement)
{
    // A rem line, PATHEXT and PATH inside a word are passed over; the real statement below is found.
    EXPECT_EQ("rem PATH C:\\OLD\r\nSET PATHEXT=.COM\r\nMYPATH=X\r\nSET PATH=C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\n",
              Added("rem PATH C:\\OLD\r\nSET PATHEXT=.COM\r\nMYPATH=X\r\nSET PATH=C:\\DOS\r\n"));
    // With none but those, a new statement goes on top.
    EXPECT_EQ("set PATH=%PATH%;C:\\PROGRA~1\\LEXAVER\r\nrem PATH C:\\OLD\r\nPATHS\r\n", Added("rem PATH C:\\OLD\r\nPATHS\r\n"));
}

TEST(StartupFile, StatementFormsWithAtSignBlanksAndCase)
{
    EXPECT_EQ("  @SET   PATH =C:\\DOS;C:\\PROGRA~1\\LEXAVER\r\n", Added("  @SET   PATH =C:\\DOS\r\n"));
    EXPECT_EQ("@path c:\\dos;C:\\PROGRA~1\\LEXAVER", Added("@path c:\\dos"));
    EXPECT_EQ("(unchanged)", Added("PATH = C:\\PROGRA~1\\LEXAVER\r\n"));
    ASSERT_TRUE(FindPathStatement("\tSet Path=X"));
    EXPECT_FALSE(FindPathStatement("SETPATH=X"));
    EXPECT_FALSE(FindPathStatement("SET PATH X"));
    EXPECT_FALSE(FindPathStatement("PATH"));
}

TEST(SearchPath, OnlyWholeEntriesCount)
{
    EXPECT_FALSE(SearchPathHoldsFolder("C:\\Lexaver2;D:\\X", "C:\\Lexaver", kWestern));
    EXPECT_TRUE(SearchPathHoldsFolder("C:\\Lexaver2;c:\\LEXAVER\\", "C:\\Lexaver", kWestern));
    // A drive root is added unless it is an entry itself.
    EXPECT_FALSE(SearchPathHoldsFolder("C:\\WINDOWS;C:\\DOS", "C:\\", kWestern));
    EXPECT_TRUE(SearchPathHoldsFolder("C:\\WINDOWS;C:\\", "C:\\", kWestern));
    EXPECT_FALSE(SearchPathHoldsFolder("", "C:\\Lexaver", kWestern));
    // Cyrillic letters fold in their own code page.
    EXPECT_TRUE(SearchPathHoldsFolder("C:\\\xCF\xF0\xEE\xE3", "C:\\\xEF\xF0\xEE\xE3", 1251));
}

TEST(PathValue, FolderIsAppendedAfterOneSemicolon)
{
    EXPECT_EQ("C:\\WINNT;C:\\WINNT\\system32;C:\\Program Files\\Lexaver",
              AddToPathValue("C:\\WINNT;C:\\WINNT\\system32;", "C:\\Program Files\\Lexaver", kWestern).value());
    EXPECT_EQ("C:\\WINNT;C:\\Lexaver", AddToPathValue("C:\\WINNT", "C:\\Lexaver", kWestern).value());
    // Nothing to separate from: no empty first entry.
    EXPECT_EQ("C:\\Lexaver", AddToPathValue("", "C:\\Lexaver", kWestern).value());
    EXPECT_EQ("C:\\Lexaver", AddToPathValue(";", "C:\\Lexaver", kWestern).value());
    EXPECT_FALSE(AddToPathValue("C:\\WINNT;c:\\lexaver", "C:\\Lexaver", kWestern));
    EXPECT_EQ("C:\\Lexaver2;C:\\Lexaver", AddToPathValue("C:\\Lexaver2", "C:\\Lexaver", kWestern).value());
}

TEST(PathValue, LongValuesKeepEveryCharacter)
{
    std::string value;
    while (value.size() < 20000) value += "C:\\Tools\\Folder" + std::to_string(value.size()) + ";";
    std::optional<std::string> extended = AddToPathValue(value, "C:\\Lexaver", kWestern);
    ASSERT_TRUE(extended);
    EXPECT_EQ(value + "C:\\Lexaver", *extended);
    EXPECT_FALSE(AddToPathValue(*extended, "C:\\LEXAVER", kWestern));
}

TEST(PathValue, OnlyABackslashCharacterEndsAnEntryWithoutCounting)
{
    // Code page 932: "\x83\x5C" is one character whose second byte is that of a backslash.
    const unsigned japanese = 932;
    EXPECT_FALSE(AddToPathValue("C:\\WINDOWS;D:\\\x83\x5C\\", "D:\\\x83\x5C", japanese));
    EXPECT_EQ("D:\\\x83;D:\\\x83\x5C", AddToPathValue("D:\\\x83", "D:\\\x83\x5C", japanese).value());
}
