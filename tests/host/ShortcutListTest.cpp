#include <gtest/gtest.h>

#include "registration/ShortcutList.h"

TEST(ShortcutList, EnglishListGivesSixEntriesExactlyAsWritten)
{
    auto entries = SplitShortcutList(
        "Lexaver.lnk=Lexaver.exe,Lexaver\nLexaver's help.lnk=HelpUs.hlp,Lexaver's help\n"
        "LexaverX's help.lnk=Ocx.hlp,LexaverX's help\nLxXsamp.zip.lnk=LxXsamp.zip,LxXsamp.zip\n"
        "Information.lnk=ReadmeUs.doc,Information\nUninstall.lnk=Unlexa.exe,Uninstall\n");
    ASSERT_EQ(6u, entries.size());
    EXPECT_EQ("Lexaver.lnk", entries[0].name);
    EXPECT_EQ("Lexaver.exe", entries[0].target);
    EXPECT_EQ("Lexaver", entries[0].description);
    EXPECT_EQ("Uninstall.lnk", entries[5].name);
    EXPECT_EQ("Unlexa.exe", entries[5].target);
}

TEST(ShortcutList, BlanksAreKept)
{
    auto italian = SplitShortcutList(" LxXsamp.zip.lnk=LxXsamp.zip,LxXsamp.zip\nDisinstallare.lnk=Unlexa.exe, Disinstallare\n");
    ASSERT_EQ(2u, italian.size());
    EXPECT_EQ(" LxXsamp.zip.lnk", italian[0].name);
    EXPECT_EQ(" Disinstallare", italian[1].description);
    auto french = SplitShortcutList("Aide de  Lexaver.lnk=HelpFr.hlp,Aide de Lexaver\n");
    ASSERT_EQ(1u, french.size());
    EXPECT_EQ("Aide de  Lexaver.lnk", french[0].name);
}

TEST(ShortcutList, ListEndsAtAnEmptyNameOrAnIncompleteEntry)
{
    EXPECT_EQ(1u, SplitShortcutList("a.lnk=a,A\n\nb.lnk=b,B\n").size());
    EXPECT_EQ(1u, SplitShortcutList("a.lnk=a,A\nb.lnk=b\n").size());
    EXPECT_EQ(0u, SplitShortcutList("").size());
    EXPECT_EQ(0u, SplitShortcutList("no separators at all").size());
}

TEST(ShortcutList, UninstallerIsRecognisedInAnyCaseOverExactlyTenCharacters)
{
    EXPECT_TRUE(IsUninstallerTarget("Unlexa.exe", 1252));
    EXPECT_TRUE(IsUninstallerTarget("UNLEXA.EXE", 1252));
    EXPECT_TRUE(IsUninstallerTarget("unlexa.exe", 1251));
    EXPECT_TRUE(IsUninstallerTarget("Unlexa.exe.bak", 1252));  // only the first 10 count
    EXPECT_FALSE(IsUninstallerTarget("Unlexa.ex", 1252));
    EXPECT_FALSE(IsUninstallerTarget("Unlexa", 1252));
    EXPECT_FALSE(IsUninstallerTarget("Lexaver.exe", 1252));
    EXPECT_FALSE(IsUninstallerTarget("", 1252));
}
