#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registration/RegScript.h"

namespace {

// What the walk asked to write, as text: "key|name|S:text" or "key|name|D:number".
std::vector<std::string> Writes(std::string_view script, int failAt = -1, int* written = nullptr,
                                unsigned codePage = 1252)
{
    std::vector<std::string> writes;
    int result = WalkRegScript(script, codePage, [&](const RegScriptWrite& w) {
        std::string line = std::string(w.key) + "|" + std::string(w.name) + "|";
        line += w.kind == RegScriptValueKind::String ? "S:" + std::string(w.text) : "D:" + std::to_string(w.number);
        writes.push_back(line);
        return static_cast<int>(writes.size()) != failAt;
    });
    if (written) *written = result;
    return writes;
}

const char kSettings[] = "Software\\Lexaver\\App\\Settings";

}  // namespace

TEST(RegScript, SampleScriptGivesItsValuesInOrder)
{
    const std::string script =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Lexaver\\App\\Settings]\r\n"
        "\"Font\"=\"Courier New\"\r\n\"Font size\"=dword:0000000a\r\n\"Tab width\"=dword:00000004\r\n"
        "\"Last folder\"=\"C:\\\\My Documents\"\r\n";
    const std::string k = kSettings;
    EXPECT_EQ((std::vector<std::string>{k + "|Font|S:Courier New", k + "|Font size|D:10", k + "|Tab width|D:4",
                                        k + "|Last folder|S:C:\\\\My Documents"}),
              Writes(script));
}

TEST(RegScript, LineFeedsAloneGiveTheSameWritesAsCarriageReturnLineFeed)
{
    const std::string lf = "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n\"y\"=dword:00000002";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Writes(lf), Writes(crlf));
    EXPECT_EQ((std::vector<std::string>{"A\\B|x|S:1", "A\\B|y|D:2"}), Writes(lf));  // last line without line feed
}

TEST(RegScript, RootNameIsNotLookedAt)
{
    EXPECT_EQ((std::vector<std::string>{"Software\\X|v|S:1"}),
              Writes("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"v\"=\"1\"\n"));
    EXPECT_EQ((std::vector<std::string>{"Software\\X|v|S:1"}), Writes("[anything\\Software\\X]\n\"v\"=\"1\"\n"));
}

TEST(RegScript, DoubleWordsReadEightHexDigitsMostSignificantFirst)
{
    EXPECT_EQ((std::vector<std::string>{"K|a|D:4294967295", "K|b|D:10", "K|c|D:305419896", "K|d|D:16"}),
              Writes("[R\\K]\n\"a\"=dword:FFFFFFFF\n\"b\"=dword:0000000A\n\"c\"=dword:12345678\n"
                     "\"d\"=dword:00000010 trailing text\n"));
    // Non-hexadecimal digits count as 0; the five characters after "d" are not examined.
    EXPECT_EQ((std::vector<std::string>{"K|e|D:1", "K|f|D:256"}),  // " 1" and "0g" give 0x01 and 0x00
              Writes("[R\\K]\n\"e\"=dXXXXX0000zz01\n\"f\"=dword:0000 10g\n"));
}

TEST(RegScript, SkippedLinesHaveNoEffect)
{
    EXPECT_EQ((std::vector<std::string>{"K|after|S:yes"}),
              Writes("REGEDIT4\n; a comment\n\n[R\\K]\n@=\"default as exported\"\n"
                     "\"bin\"=hex:01,02,\\\n  03\n \"blank\"=\"before\"\n\"sz\"= \"blank before value\"\n"
                     "\"lower\"=Dword:00000001\n\"after\"=\"yes\"\n"));
}

TEST(RegScript, EmptyNameIsTheDefaultValueAndDuplicatesComeInOrder)
{
    EXPECT_EQ((std::vector<std::string>{"K||S:default", "K|v|S:1", "K|v|S:2"}),
              Writes("[R\\K]\n\"\"=\"default\"\n\"v\"=\"1\"\n\"v\"=\"2\"\n"));
}

TEST(RegScript, ZeroByteEndsTheScriptAndUnicodeTextImportsNothing)
{
    const std::string script("[R\\K]\n\"a\"=\"1\"\n\0\"b\"=\"2\"\n", 24);
    EXPECT_EQ((std::vector<std::string>{"K|a|S:1"}), Writes(script));
    std::string utf16;
    for (char c : std::string("[R\\K]\r\n\"a\"=\"1\"\r\n")) utf16 += std::string(1, c) + '\0';
    EXPECT_TRUE(Writes("\xFF\xFE" + utf16).empty());
}

TEST(RegScript, FailedWriteStopsTheWalk)
{
    int written = -1;
    std::vector<std::string> tried = Writes("[R\\K]\n\"a\"=\"1\"\n\"b\"=\"2\"\n\"c\"=\"3\"\n", 2, &written);
    EXPECT_EQ(2u, tried.size());  // "c" is never reached
    EXPECT_EQ(1, written);
}

TEST(RegScript, MalformedLinesAreSkippedWithinTheirLine)
{
    // Each search stays within its line: the closing character on a later line does not count.
    EXPECT_EQ((std::vector<std::string>{"K|ok|S:1", "K|ok2|D:2"}),
              Writes("[R\\K]\n\"ok\"=\"1\"\n"
                     "\"unclosed name=\"x\n"        // the name's closing quote is the only later one
                     "\"s\"=\"unclosed string\n"
                     "\"short\"=\n"                 // the value ends before it begins
                     "\"e\"\n"
                     "\"dw\"=dword:1234\n"          // fewer than 8 digits before the line end
                     "\"ok2\"=dword:00000002\n"));
}

TEST(RegScript, ValuesNeedAWellFormedKeyLine)
{
    // Before the first key line, and after a key line without "\" or "]", values are skipped.
    EXPECT_EQ((std::vector<std::string>{"K|in|S:1", "L|again|S:3"}),
              Writes("\"early\"=\"0\"\n[R\\K]\n\"in\"=\"1\"\n[NoBackslash]\n\"lost\"=\"2\"\n"
                     "[R\\Unclosed\n\"lost2\"=\"2\"\n[R]\\X\n\"lost3\"=\"2\"\n[R\\L]\n\"again\"=\"3\"\n"));
}

TEST(RegScript, NothingIsReadPastTheEndOfTheText)
{
    // The views end exactly where the text ends: a copy without terminator is walked safely.
    for (const char* text : {"[R\\K", "[R\\K]\n\"", "[R\\K]\n\"n", "[R\\K]\n\"n\"", "[R\\K]\n\"n\"=",
                             "[R\\K]\n\"n\"=\"", "[R\\K]\n\"n\"=d", "[R\\K]\n\"n\"=dword:0000000"}) {
        std::string exact(text);
        std::vector<char> heap(exact.begin(), exact.end());
        EXPECT_TRUE(Writes(std::string_view(heap.data(), heap.size())).empty()) << text;
    }
}

TEST(RegScript, AKeyNameInDoubleByteCharactersKeepsTheCharactersWhoseSecondByteIsABackslashOrBracket)
{
    // Code page 932: the second byte of U+30BD (0x83 0x5C) is "\", that of U+5F4E (0x9C 0x5D) is "]".
    const std::string key = "Software\\\x83\x5C\x9C\x5D";
    const std::string script = "[HKEY_CURRENT_USER\\" + key + "]\r\n\"Font\"=\"Courier\"\r\n";
    EXPECT_EQ((std::vector<std::string>{key + "|Font|S:Courier"}), Writes(script, -1, nullptr, 932));
}
