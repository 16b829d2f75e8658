// CreateShortcut: the saved .lnk file read back through the shell's link object.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <string>

#include "SavedShortcut.h"
#include "TestFolder.h"
#include "registration/Shortcut.h"

namespace {

// S_OK, not S_FALSE: nothing of COM was left initialised on this thread.
bool ComIsUninitialised()
{
    HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result)) CoUninitialize();
    return result == S_OK;
}

}  // namespace

TEST(CreateShortcut, EveryFieldComesBackFromTheSavedFile)
{
    TestFolder folder("CreateShortcut");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    std::string file = folder / "Lexaver.lnk";

    const char arguments[] = "/Lexaver /C:\\Program Files\\Lexaver";
    ASSERT_EQ(S_OK, CreateShortcut(target.c_str(), file.c_str(), "Lexaver's help", arguments, "", 0));
    EXPECT_TRUE(ComIsUninitialised());
    SavedShortcut link = ReadSavedShortcut(file);
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(target, link.path);
    EXPECT_EQ("Lexaver's help", link.description);
    EXPECT_EQ(arguments, link.arguments);
    EXPECT_EQ(SW_SHOWNORMAL, link.showCommand);
    EXPECT_EQ("", link.iconPath);
}

TEST(CreateShortcut, IconIsSetOnlyWhenAPathIsGiven)
{
    TestFolder folder("CreateShortcutIcon");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    std::string file = folder / "Icon.lnk";
    ASSERT_EQ(S_OK, CreateShortcut(target.c_str(), file.c_str(), "", "", target.c_str(), 2));
    SavedShortcut link = ReadSavedShortcut(file);
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(target, link.iconPath);
    EXPECT_EQ(2, link.iconIndex);
}

TEST(CreateShortcut, ExistingShortcutIsOverwritten)
{
    TestFolder folder("CreateShortcutAgain");
    std::string file = folder / "Lexaver.lnk";
    TestFolder::WriteFile(file, "not a shortcut");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    ASSERT_EQ(S_OK, CreateShortcut(target.c_str(), file.c_str(), "Lexaver", "", "", 0));
    EXPECT_EQ("Lexaver", ReadSavedShortcut(file).description);
}

TEST(CreateShortcut, FailingSaveReturnsItsResultWritesNothingAndUninitialises)
{
    TestFolder folder("CreateShortcutFails");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    std::string file = folder / "Missing\\Lexaver.lnk";

    HRESULT result = CreateShortcut(target.c_str(), file.c_str(), "Lexaver", "", "", 0);
    EXPECT_TRUE(FAILED(result)) << std::hex << result;
    EXPECT_FALSE(TestFolder::Exists(file));
    EXPECT_FALSE(TestFolder::Exists(folder / "Missing"));
    EXPECT_TRUE(ComIsUninitialised());
}

// CoInitialize is refused on a thread of the multithreaded apartment; the caller's COM must stay.
TEST(CreateShortcut, RefusedInitialisationIsNotUndone)
{
    TestFolder folder("CreateShortcutApartment");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CreateShortcut(target.c_str(), (folder / "Lexaver.lnk").c_str(), "Lexaver", "", "", 0);
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialised());
}

// A path past MAX_PATH must fail rather than save under a cut name.
TEST(CreateShortcut, OverlongShortcutPathIsRefused)
{
    TestFolder folder("CreateShortcutLong");
    std::string target = folder / "Lexaver.exe";
    TestFolder::WriteFile(target, "MZ");
    std::string name(300 - folder.Path().size(), 'n');
    std::string file = folder / (name + ".lnk");

    HRESULT result = CreateShortcut(target.c_str(), file.c_str(), "Lexaver", "", "", 0);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), result);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder / "n*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_TRUE(ComIsUninitialised());
}
