#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registration/ExtensionList.h"

namespace {

const char kDefaultList[] = "1st asm asp bas c cbl cpp css def dpr for f77 frm h hpj idl inc ini is jav java log lsp "
                            "lst m me out pas pl pov py rc rex sql tex ts txt";

}  // namespace

std::vector<std::string> Extensions(std::string_view list)
{
    std::vector<std::string> extensions;
    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(list, at)).empty();)
        extensions.emplace_back(extension);
    return extensions;
}

TEST(ExtensionList, OnlySpacesSeparate)
{
    EXPECT_EQ((std::vector<std::string>{"txt", "log"}), Extensions(" txt  log "));
    EXPECT_EQ((std::vector<std::string>{".txt", "TXT", "a\tb", "c\r\nd", "a\\b"}),
              Extensions(".txt TXT a\tb c\r\nd a\\b"));
    EXPECT_TRUE(Extensions("").empty());
    EXPECT_TRUE(Extensions("   ").empty());
    EXPECT_EQ(37u, Extensions(kDefaultList).size());
}

TEST(ExtensionList, ProgramShortcutAndScriptTypesAreRefusedInAnyLetterCase)
{
    const std::vector<std::string> types = {"exe", "com", "bat", "cmd", "pif", "scr", "cpl", "lnk", "msi", "reg", "vbs",
                                            "js", "hta", "EXE", "Lnk", "wsf", "url", "ps1", "appref-ms", "APPLICATION"};
    for (const std::string& type : types) {
        std::string list = "  txt " + type + " bat";
        std::string_view refused = FindRefusedExtension(list, 1252);
        EXPECT_EQ(type, refused);
        EXPECT_EQ(list.data() + 6, refused.data()) << type << ": the first one, a view into the list";
    }
    EXPECT_TRUE(FindRefusedExtension(kDefaultList, 1252).empty());
    // A typed point gives the key "..exe"; a longer or shorter name is another type.
    EXPECT_TRUE(FindRefusedExtension(".exe exe. exes xe ex e jsx sj applications pp ms appref", 1252).empty());
    EXPECT_TRUE(FindRefusedExtension("", 1252).empty());
    EXPECT_TRUE(FindRefusedExtension("   ", 1252).empty());
}

TEST(ExtensionList, ControlCharactersAndThoseNoFileNameHoldsAreRefused)
{
    const std::vector<std::string> entries = {"a\\b", "a/b", "c:", "*", "t?t", "\"txt\"", "<t", "t>", "a|b", "tab\tx",
                                              "c\r\nd", std::string("nul\0x", 5), "\x1F", "del\x7F"};
    for (const std::string& entry : entries) {
        EXPECT_EQ(entry, FindRefusedExtension("txt " + entry + " log", 1252)) << entry;
    }
    // Bytes from 0x80 up are letters of the user's code page.
    EXPECT_TRUE(FindRefusedExtension("\xE9t\xE9 \x80\xFF \xD1\xE5\xF1 a-b_c.d ~$ #1 (x) [y] {z} a+b=c; 'q' %1 @!^&", 1252)
                    .empty());
    // In code page 932 a character's second byte may be that of "\" or "|": the character is no
    // backslash, and a lone lead byte at the end holds none either.
    EXPECT_TRUE(FindRefusedExtension("\x83\x5C \x83\x7C \x83", 932).empty());
    EXPECT_EQ("a\x83\x5C\\b", FindRefusedExtension("\x83\x5C a\x83\x5C\\b", 932));
}
