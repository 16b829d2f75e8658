// The shortcut step with the shell folders pointed into a test folder for the length of a test.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "MessageBoxRecorder.h"
#include "SavedShortcut.h"
#include "StoredValue.h"
#include "TestFolder.h"
#include "registration/Registry.h"
#include "registration/Shortcuts.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A shell folder value as it was before the test, in one of the two keys that name the folder.
struct SavedValue {
    bool present = false;
    DWORD type = REG_SZ;
    std::string data;
};

struct ShellFolderValue {
    ShellFolderValue(HKEY rootKey, const char* valueName) : root(rootKey), name(valueName) {}
    HKEY root;
    const char* name;
    SavedValue saved[2];
};

// The shell computes a folder from "User Shell Folders" and writes it back into "Shell Folders":
// both are pointed at the test folder, or the shell would undo the change in the middle of a test.
const char* const kFolderKeys[2] = {kShellFolders,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"};

SavedValue SaveValue(HKEY root, const char* path, const char* name)
{
    SavedValue value;
    StoredValue stored = QueryStoredValue(root, path, name);
    if (stored.status == ERROR_SUCCESS) {
        value.present = true;
        value.type = stored.type;
        value.data = stored.data;
    }
    return value;
}

void RestoreValue(HKEY root, const char* path, const char* name, const SavedValue& value)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    if (value.present)
        RegSetValueExA(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

// Target path and arguments of a saved shortcut.
std::pair<std::string, std::string> ReadLink(const std::string& file)
{
    SavedShortcut saved = ReadSavedShortcut(file);
    return {saved.path, saved.arguments};
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class ShortcutStep : public ::testing::Test {
protected:
    TestFolder folders{"ShortcutStep"};
    ShellFolderValue values[5] = {{HKEY_CURRENT_USER, "Programs"},
                                  {HKEY_CURRENT_USER, "Desktop"},
                                  {HKEY_CURRENT_USER, "SendTo"},
                                  {HKEY_LOCAL_MACHINE, "Common Programs"},
                                  {HKEY_LOCAL_MACHINE, "Common Desktop"}};
    RunState state;

    void SetUp() override
    {
        for (ShellFolderValue& value : values) {
            std::string folder = folders / value.name;
            CreateDirectoryA(folder.c_str(), nullptr);
            for (int i = 0; i < 2; ++i) {
                value.saved[i] = SaveValue(value.root, kFolderKeys[i], value.name);
                WriteRegString(value.root, kFolderKeys[i], value.name, REG_SZ, folder.c_str());
            }
        }
        lstrcpyA(state.productName, "Lexaver");
        state.productNameLength = 7;
        lstrcpyA(state.destination, "C:\\Program Files\\Lexaver Test");
        state.destinationLength = lstrlenA(state.destination);
        // The uninstaller in place, as the uninstaller step leaves it.
        TestFolder::WriteFile(Uninstaller(), "uninstaller");
        lstrcpyA(state.uninstallerPath, Uninstaller().c_str());
        state.shortcutListId = 141;
    }

    void TearDown() override
    {
        for (ShellFolderValue& value : values)
            for (int i = 0; i < 2; ++i) RestoreValue(value.root, kFolderKeys[i], value.name, value.saved[i]);
    }

    // Both keys: with the value gone from "Shell Folders" only, the shell would put it back.
    static void DeleteValue(HKEY root, const char* name)
    {
        for (const char* path : kFolderKeys) RestoreValue(root, path, name, SavedValue());
    }

    std::string Folder(const char* name) const { return folders / name; }
    std::string Uninstaller() const { return folders / "Unlexa.exe"; }

    // Runs the step with Programs at `programs`, where the group cannot be made: message 138 with
    // the group's path and the system's text, the information icon, and the end of the run.
    void ExpectGroupNotice(const std::string& programs)
    {
        WriteRegString(HKEY_CURRENT_USER, kShellFolders, "Programs", REG_SZ, programs.c_str());
        MessageBoxRecorder recorder;
        EXPECT_FALSE(CreateShortcuts(state));
        const std::vector<ShownMessageBox>& shown = recorder.Stop();
        ASSERT_EQ(1u, shown.size());
        std::string expected = "Could not create directory " + programs + "\\Lexaver : ";
        EXPECT_EQ(expected, shown[0].text.substr(0, expected.size()));
        EXPECT_GT(shown[0].text.size(), expected.size());  // the system's text follows
        EXPECT_EQ(LoadIcon(nullptr, IDI_INFORMATION), shown[0].icon);
    }
};

}  // namespace

TEST_F(ShortcutStep, FullListFillsTheGroupAndPutsTheEditorOnDesktopAndSendTo)
{
    ASSERT_TRUE(CreateShortcuts(state));

    std::string group = Folder("Programs") + "\\Lexaver";
    std::set<std::string> expected = {"Lexaver.lnk", "Lexaver's help.lnk", "LexaverX's help.lnk",
                                      "LxXsamp.zip.lnk", "Information.lnk", "Uninstall.lnk"};
    EXPECT_EQ(expected, FilesIn(group));
    EXPECT_EQ(std::set<std::string>{"Lexaver.lnk"}, FilesIn(Folder("Desktop")));
    EXPECT_EQ(std::set<std::string>{"Lexaver.lnk"}, FilesIn(Folder("SendTo")));

    auto editor = ReadLink(group + "\\Lexaver.lnk");
    EXPECT_EQ("C:\\Program Files\\Lexaver Test\\Lexaver.exe", editor.first);
    EXPECT_EQ("", editor.second);
    EXPECT_EQ(editor, ReadLink(Folder("Desktop") + "\\Lexaver.lnk"));
    EXPECT_EQ(editor, ReadLink(Folder("SendTo") + "\\Lexaver.lnk"));
    EXPECT_EQ("C:\\Program Files\\Lexaver Test\\HelpUs.hlp", ReadLink(group + "\\Lexaver's help.lnk").first);

    auto uninstaller = ReadLink(group + "\\Uninstall.lnk");
    EXPECT_EQ(Uninstaller(), uninstaller.first);
    EXPECT_EQ("/Lexaver /C:\\Program Files\\Lexaver Test", uninstaller.second);
}

TEST_F(ShortcutStep, ReducedListPutsTheControlHelpOnDesktopAndSendTo)
{
    state.shortcutListId = 3;
    ASSERT_TRUE(CreateShortcuts(state));
    std::set<std::string> expected = {"LexaverX's help.lnk", "Uninstall.lnk"};
    EXPECT_EQ(expected, FilesIn(Folder("Programs") + "\\Lexaver"));
    EXPECT_EQ(std::set<std::string>{"LexaverX's help.lnk"}, FilesIn(Folder("Desktop")));
    EXPECT_EQ(std::set<std::string>{"LexaverX's help.lnk"}, FilesIn(Folder("SendTo")));
}

TEST_F(ShortcutStep, OnNTTheGroupAndDesktopAreTheAllUsersOnes)
{
    state.isNT = true;
    ASSERT_TRUE(CreateShortcuts(state));
    EXPECT_EQ(6u, FilesIn(Folder("Common Programs") + "\\Lexaver").size());
    EXPECT_EQ(std::set<std::string>{"Lexaver.lnk"}, FilesIn(Folder("Common Desktop")));
    EXPECT_EQ(std::set<std::string>{"Lexaver.lnk"}, FilesIn(Folder("SendTo")));
    EXPECT_FALSE(TestFolder::Exists(Folder("Programs") + "\\Lexaver"));
    EXPECT_TRUE(FilesIn(Folder("Desktop")).empty());
}

TEST_F(ShortcutStep, ExistingGroupIsReusedAndItsShortcutsRewritten)
{
    std::string group = Folder("Programs") + "\\Lexaver";
    CreateDirectoryA(group.c_str(), nullptr);
    TestFolder::WriteFile(group + "\\Lexaver.lnk", "old");
    ASSERT_TRUE(CreateShortcuts(state));
    EXPECT_EQ("C:\\Program Files\\Lexaver Test\\Lexaver.exe", ReadLink(group + "\\Lexaver.lnk").first);
}

TEST_F(ShortcutStep, AnUninstallerThatIsNotInPlaceGetsNoShortcut)
{
    std::set<std::string> others = {"Lexaver.lnk", "Lexaver's help.lnk", "LexaverX's help.lnk",
                                    "LxXsamp.zip.lnk", "Information.lnk"};
    // No path (the distribution had no control), then a path but no file (nor the uninstaller).
    DeleteFileA(Uninstaller().c_str());
    for (const char* path : {"", "C:\\windows\\Unlexa-missing.exe"}) {
        SCOPED_TRACE(path);
        lstrcpyA(state.uninstallerPath, path);
        ASSERT_TRUE(CreateShortcuts(state));
        EXPECT_EQ(others, FilesIn(Folder("Programs") + "\\Lexaver"));
    }
}

TEST_F(ShortcutStep, WithoutAProgramsFolderNothingIsMadeAndTheRunGoesOn)
{
    DeleteValue(HKEY_CURRENT_USER, "Programs");
    MessageBoxRecorder recorder;
    EXPECT_TRUE(CreateShortcuts(state));
    EXPECT_TRUE(recorder.Stop().empty());
    EXPECT_TRUE(FilesIn(Folder("Desktop")).empty());
    EXPECT_TRUE(FilesIn(Folder("SendTo")).empty());
}

TEST_F(ShortcutStep, AProgramsFolderStoredAsBytesIsNoFolderAtAll)
{
    // The folder's own path, terminator and all, but as REG_BINARY: no text of a folder.
    std::string programs = Folder("Programs");
    for (const char* path : kFolderKeys) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &key));
        RegSetValueExA(key, "Programs", 0, REG_BINARY, reinterpret_cast<const BYTE*>(programs.c_str()),
                       static_cast<DWORD>(programs.size() + 1));
        RegCloseKey(key);
    }
    MessageBoxRecorder recorder;
    EXPECT_TRUE(CreateShortcuts(state));
    EXPECT_TRUE(recorder.Stop().empty());
    EXPECT_TRUE(FilesIn(programs + "\\Lexaver").empty());
    EXPECT_TRUE(FilesIn(Folder("Desktop")).empty());
}

TEST_F(ShortcutStep, GroupThatCannotBeCreatedIsANoticeAndEndsTheRun)
{
    ExpectGroupNotice(Folder("Programs") + "\\Missing");
    EXPECT_TRUE(FilesIn(Folder("Desktop")).empty());
}

TEST_F(ShortcutStep, APathThatDoesNotFitIsNoShortcutAndAGroupThatDoesNotFitIsANotice)
{
    // A Programs folder of 248 characters: its group "\Lexaver" fits, no "\NAME.lnk" in it does.
    std::string programs = Folder("Programs");
    while (programs.size() < 248) {
        std::size_t more = std::min<std::size_t>(40, 247 - programs.size());
        programs.append("\\").append(more, 'p');
        CreateDirectoryA(programs.c_str(), nullptr);
    }
    ASSERT_EQ(248u, programs.size());
    ASSERT_TRUE(TestFolder::IsFolder(programs));
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, "Programs", REG_SZ, programs.c_str());
    {
        MessageBoxRecorder recorder;
        EXPECT_TRUE(CreateShortcuts(state));
        EXPECT_TRUE(recorder.Stop().empty());
    }
    EXPECT_TRUE(TestFolder::IsFolder(programs + "\\Lexaver"));
    EXPECT_TRUE(FilesIn(programs + "\\Lexaver").empty()) << "a shortcut under a shorter name";
    EXPECT_EQ(std::set<std::string>{"Lexaver.lnk"}, FilesIn(Folder("Desktop")));

    // One where the group itself does not fit: reported as a group that cannot be created.
    std::string deeper = programs + "\\1234567";
    CreateDirectoryA(deeper.c_str(), nullptr);
    ExpectGroupNotice(deeper);
    EXPECT_FALSE(TestFolder::Exists(deeper + "\\Lexave"));
}
