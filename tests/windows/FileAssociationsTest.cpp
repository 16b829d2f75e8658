// The text file associations as the shell reads them back from HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ClassesRootGuard.h"
#include "DialogAnswerer.h"
#include "StoredValue.h"
#include "registration/ExtensionList.h"
#include "registration/FileAssociations.h"
#include "res/resource.h"

namespace {

const char kDefaultList[] =
    "1st asm asp bas c cbl cpp css def dpr for f77 frm h hpj idl inc ini is jav java log lsp lst m me out "
    "pas pl pov py rc rex sql tex ts txt";
const std::vector<std::string> kTypeKeys = {"txtfile\\DefaultIcon", "txtfile\\shell\\open\\command",
                                            "txtfile\\shell\\print\\command"};

std::vector<std::string> With(std::vector<std::string> keys, const std::vector<std::string>& more)
{
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

// The default value of a key as stored: type and bytes, terminator included.
bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

::testing::AssertionResult HoldsText(const std::string& path, const std::string& text)
{
    if (!KeyExists(path)) return ::testing::AssertionFailure() << "no key " << path;
    StoredValue value = QueryStoredValue(HKEY_CLASSES_ROOT, path, "");
    if (value.status != ERROR_SUCCESS) return ::testing::AssertionFailure() << path << ": status " << value.status;
    if (value.type != REG_SZ) return ::testing::AssertionFailure() << path << ": type " << value.type;
    if (value.data != text + '\0') return ::testing::AssertionFailure() << path << ": \"" << value.data << "\"";
    return ::testing::AssertionSuccess();
}

RunState StateFor(const char* destination)
{
    RunState state;
    lstrcpyA(state.destination, destination);
    state.destinationLength = lstrlenA(destination);
    return state;
}

}  // namespace

TEST(FileAssociations, YesMakesTheEditorOpenAndPrintTextFilesThroughQuotedCommands)
{
    ClassesRootGuard guard(With(kTypeKeys, {".lxvone", ".lxvtwo", "."}));
    ASSERT_FALSE(KeyExists("."));
    DialogAnswerer answerer([](HWND d) {
        SetDlgItemTextA(d, IDC_TYPES, " lxvone  lxvtwo ");
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    AssociateTextFiles(StateFor("C:\\Program Files\\Lexaver"));
    EXPECT_EQ(1u, answerer.Stop().size());

    EXPECT_TRUE(HoldsText("txtfile\\DefaultIcon", "C:\\Program Files\\Lexaver\\Lexaver.exe,0"));
    EXPECT_TRUE(HoldsText("txtfile\\shell\\open\\command", "\"C:\\Program Files\\Lexaver\\Lexaver.exe\" \"%1\""));
    EXPECT_TRUE(HoldsText("txtfile\\shell\\print\\command", "\"C:\\Program Files\\Lexaver\\Lexaver.exe\" /p \"%1\""));
    EXPECT_TRUE(HoldsText(".lxvone", "txtfile"));
    EXPECT_TRUE(HoldsText(".lxvtwo", "txtfile"));
    EXPECT_FALSE(KeyExists(".")) << "blanks before, between and after the extensions make no key";
}

TEST(FileAssociations, ADriveRootDestinationKeepsItsBackslash)
{
    ClassesRootGuard guard(kTypeKeys);
    WriteTextFileAssociations("D:\\", "");
    EXPECT_TRUE(HoldsText("txtfile\\DefaultIcon", "D:\\\\Lexaver.exe,0"));
    EXPECT_TRUE(HoldsText("txtfile\\shell\\open\\command", "\"D:\\\\Lexaver.exe\" \"%1\""));
}

TEST(FileAssociations, NoEscapeTheCloseBoxAndEnterWriteNothing)
{
    ClassesRootGuard guard(With(kTypeKeys, {".lxvdeclined"}));
    const DialogAnswerer::Answer ways[] = {DialogAnswerer::Press(IDCANCEL), DialogAnswerer::Key(IDC_TYPES, VK_ESCAPE),
                                           DialogAnswerer::CloseBox(), DialogAnswerer::Key(IDC_TYPES, VK_RETURN)};
    int way = 0;
    for (const auto& answer : ways) {
        DialogAnswerer answerer([&](HWND d) {
            SetDlgItemTextA(d, IDC_TYPES, "lxvdeclined");
            answer(d);
        });
        AssociateTextFiles(StateFor("C:\\LxvDeclined"));
        EXPECT_EQ(1u, answerer.Stop().size()) << "way " << way;
        EXPECT_FALSE(KeyExists(".lxvdeclined")) << "way " << way;
        EXPECT_FALSE(HoldsText("txtfile\\DefaultIcon", "C:\\LxvDeclined\\Lexaver.exe,0")) << "way " << way;
        ++way;
    }
}

TEST(FileAssociations, YesWithAProgramTypeNamesItInAStopMessageAndKeepsTheListForCorrectionOrNo)
{
    ClassesRootGuard guard(With(kTypeKeys, {".lxvfine", ".exe"}));
    const StoredValue exe = QueryStoredValue(HKEY_CLASSES_ROOT, ".exe", "");
    int visits = 0;
    std::string listAgain;
    DWORD start = 0, end = 0;
    HWND list = nullptr, focus = nullptr;
    DialogAnswerer answerer([&](HWND d) {
        list = GetDlgItem(d, IDC_TYPES);
        if (!list) return DialogAnswerer::Press(IDOK)(d);  // the message
        if (visits++ == 0) {
            SetWindowTextA(list, "lxvfine exe");
            PostMessageA(d, WM_COMMAND, IDOK, 0);
            return;
        }
        // Answered by the dialog's thread once it is back in its loop: the focus is set by then.
        SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        char text[64] = {};
        GetWindowTextA(list, text, sizeof text);
        listAgain = text;
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &thread)) focus = thread.hwndFocus;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    AssociateTextFiles(StateFor("C:\\LxvRefused"));
    auto seen = answerer.Stop();

    ASSERT_EQ(3u, seen.size()) << "the dialog, the message, the dialog again";
    EXPECT_EQ("The type exe cannot be registered !", seen[1].text);
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), seen[1].icon);
    EXPECT_EQ("File type associations", seen[2].caption);
    EXPECT_EQ("lxvfine exe", listAgain) << "the list as typed";
    EXPECT_EQ(list, focus);
    EXPECT_EQ(8u, start) << "the refused entry selected";
    EXPECT_EQ(11u, end);
    EXPECT_FALSE(KeyExists(".lxvfine"));
    EXPECT_FALSE(HoldsText("txtfile\\DefaultIcon", "C:\\LxvRefused\\Lexaver.exe,0"));
    const StoredValue exeAfter = QueryStoredValue(HKEY_CLASSES_ROOT, ".exe", "");
    EXPECT_EQ(exe.status, exeAfter.status);
    EXPECT_EQ(exe.data, exeAfter.data);
}

TEST(FileAssociations, TheDefaultListAttachesThirtySevenExtensionsToTxtfile)
{
    std::vector<std::string> keys;
    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(kDefaultList, at)).empty();)
        keys.push_back(std::string(".").append(extension));
    ASSERT_EQ(37u, keys.size());
    ClassesRootGuard guard(With(kTypeKeys, keys));
    WriteTextFileAssociations("C:\\Lexaver", kDefaultList);
    for (const std::string& key : keys) EXPECT_TRUE(HoldsText(key, "txtfile"));
    EXPECT_TRUE(HoldsText(".1st", "txtfile"));
    EXPECT_TRUE(HoldsText(".txt", "txtfile"));
}

TEST(FileAssociations, ExtensionsBecomeKeyNamesExactlyAsTyped)
{
    std::string tooLong(300, 'x');
    ClassesRootGuard guard(With(kTypeKeys, {"..lxvdot", ".LXVCAPS", ".lxvafter", "." + tooLong.substr(0, 258)}));
    WriteTextFileAssociations("C:\\Lexaver", ".lxvdot LXVCAPS " + tooLong + " lxvafter");
    EXPECT_TRUE(HoldsText("..lxvdot", "txtfile")) << "a typed point is kept";
    EXPECT_TRUE(HoldsText(".LXVCAPS", "txtfile"));
    EXPECT_TRUE(HoldsText(".lxvafter", "txtfile")) << "an extension too long for a key name stops nothing";
}
