// The settings import and the application registration, read back from the registry with the
// types and sizes that other programs see.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "StoredValue.h"
#include "TestFolder.h"
#include "registration/AppRegistration.h"
#include "registration/Registry.h"

namespace {

const char kAppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lexaver.exe";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexaver";

StoredValue Query(HKEY root, const std::string& path, const char* name)
{
    return QueryStoredValue(root, path, name);
}

DWORD ValueCount(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

::testing::AssertionResult IsString(const StoredValue& value, const std::string& text)
{
    if (value.status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "status " << value.status;
    if (value.type != REG_SZ) return ::testing::AssertionFailure() << "type " << value.type;
    if (value.data != text + '\0') return ::testing::AssertionFailure() << "data \"" << value.data << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsDoubleWord(const StoredValue& value, DWORD number)
{
    if (value.status != ERROR_SUCCESS) return ::testing::AssertionFailure() << "status " << value.status;
    if (value.type != REG_DWORD) return ::testing::AssertionFailure() << "type " << value.type;
    if (value.data.size() != 4) return ::testing::AssertionFailure() << "size " << value.data.size();
    DWORD stored = 0;
    memcpy(&stored, value.data.data(), 4);
    if (stored != number) return ::testing::AssertionFailure() << "number " << stored;
    return ::testing::AssertionSuccess();
}

std::string ScriptBesideThisProgram()
{
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path(module, length);
    return path.substr(0, path.rfind('\\') + 1) + "Lexaver.reg";
}

class SettingsImport : public ::testing::Test {
protected:
    TestFolder folder{"SettingsImport"};
    const std::string key = "Software\\LexaverTests\\Import";

    void SetUp() override { DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTests"); }
    void TearDown() override { DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTests"); }

    int Import(const std::string& script)
    {
        std::string path = folder / "Lexaver.reg";
        TestFolder::WriteFile(path, script);
        return ImportRegScriptFile(path.c_str());
    }
};

}  // namespace

TEST_F(SettingsImport, ValuesComeBackWithTheirTypesAndSizes)
{
    EXPECT_EQ(6, Import("REGEDIT4\r\n"
                        "\r\n"
                        "[HKEY_CURRENT_USER\\Software\\LexaverTests\\Import]\r\n"
                        "\"Font\"=\"Courier New\"\r\n"
                        "\"Size\"=dword:0000000a\r\n"
                        "\"Mask\"=dword:FFFFFFFF\r\n"
                        "\"Bytes\"=hex:01,02\r\n"
                        "\"Folder\"=\"C:\\\\Lexaver\"\r\n"
                        "@=\"skipped\"\r\n"
                        "\"\"=\"default\"\r\n"
                        "[HKEY_LOCAL_MACHINE\\Software\\LexaverTests\\Import\\Machine]\r\n"
                        "\"Where\"=\"user\""));
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, key, "Font"), "Courier New"));
    EXPECT_EQ(12u, Query(HKEY_CURRENT_USER, key, "Font").data.size());
    EXPECT_TRUE(IsDoubleWord(Query(HKEY_CURRENT_USER, key, "Size"), 10));
    EXPECT_TRUE(IsDoubleWord(Query(HKEY_CURRENT_USER, key, "Mask"), 0xFFFFFFFF));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_CURRENT_USER, key, "Bytes").status);
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, key, "Folder"), "C:\\\\Lexaver"));
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, key, ""), "default"));
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, key + "\\Machine", "Where"), "user"));
    EXPECT_NE(ERROR_SUCCESS, Query(HKEY_LOCAL_MACHINE, key + "\\Machine", "Where").status);
}

TEST_F(SettingsImport, FailingWriteEndsTheImportAndKeepsTheEarlierValues)
{
    // No key name may be longer than 255 characters: creating this one fails.
    std::string tooLong(300, 'k');
    EXPECT_EQ(1, Import("[HKEY_CURRENT_USER\\Software\\LexaverTests\\Import]\n"
                        "\"Before\"=\"kept\"\n"
                        "[HKEY_CURRENT_USER\\Software\\LexaverTests\\" + tooLong + "]\n"
                        "\"Refused\"=\"x\"\n"
                        "[HKEY_CURRENT_USER\\Software\\LexaverTests\\Import]\n"
                        "\"After\"=\"not read\"\n"));
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, key, "Before"), "kept"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_CURRENT_USER, key, "After").status);
}

TEST_F(SettingsImport, MissingOrEmptyScriptWritesNothing)
{
    EXPECT_EQ(0, ImportRegScriptFile((folder / "Missing.reg").c_str()));
    EXPECT_EQ(0, Import(""));
    HKEY probe;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\LexaverTests", 0, KEY_READ, &probe));
}

TEST_F(SettingsImport, ScriptIsTakenFromBesideTheProgram)
{
    std::string script = ScriptBesideThisProgram();
    TestFolder::WriteFile(script, "[HKEY_CURRENT_USER\\Software\\LexaverTests\\Import]\n\"Found\"=dword:00000004\n");
    ImportRegScript();
    DeleteFileA(script.c_str());
    EXPECT_TRUE(IsDoubleWord(Query(HKEY_CURRENT_USER, key, "Found"), 4));
}

namespace {

class AppRegistration : public ::testing::Test {
protected:
    RunState state;

    bool productKeyExisted = false;
    bool uninstallerMade = false;

    void SetUp() override
    {
        RemoveKeys();
        HKEY key;
        productKeyExisted = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Lexaver", 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (productKeyExisted) RegCloseKey(key);
        lstrcpyA(state.productName, "Lexaver");
        state.productNameLength = 7;
        lstrcpyA(state.destination, "C:\\Program Files\\Lexaver Test");
        state.destinationLength = lstrlenA(state.destination);
        lstrcpyA(state.uninstallerPath, "C:\\windows\\Unlexa.exe");
        uninstallerMade = !TestFolder::Exists(state.uninstallerPath);
        if (uninstallerMade) TestFolder::WriteFile(state.uninstallerPath, "");
    }
    void TearDown() override
    {
        if (uninstallerMade) DeleteFileA("C:\\windows\\Unlexa.exe");
        RemoveKeys();
        if (!productKeyExisted) DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "Lexaver");
    }

    static void RemoveKeys()
    {
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", "Lexaver.exe");
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "Lexaver");
        DeleteRegKeyTree(HKEY_CURRENT_USER, "Software\\Lexaver", "Ocx");
        DeleteFileA(ScriptBesideThisProgram().c_str());
    }
};

}  // namespace

TEST_F(AppRegistration, EntriesAreWrittenUnderLocalMachineWithBlanksUnquoted)
{
    RegisterApplication(state);
    EXPECT_TRUE(IsString(Query(HKEY_LOCAL_MACHINE, kAppPathKey, ""), "C:\\Program Files\\Lexaver Test\\Lexaver.exe"));
    EXPECT_EQ(1u, ValueCount(HKEY_LOCAL_MACHINE, kAppPathKey));
    EXPECT_TRUE(IsString(Query(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Lexaver"));
    EXPECT_EQ(8u, Query(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").data.size());
    EXPECT_TRUE(IsString(Query(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
                         "C:\\windows\\Unlexa.exe /Lexaver /C:\\Program Files\\Lexaver Test"));
    EXPECT_EQ(2u, ValueCount(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(AppRegistration, NoUninstallEntryOffersAnUninstallerThatIsNotThere)
{
    state.uninstallerPath[0] = '\0';
    RegisterApplication(state);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").status);
    // The path set, the file not copied (the distribution lacked it).
    lstrcpyA(state.uninstallerPath, "C:\\windows\\Unlexa-missing.exe");
    RegisterApplication(state);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").status);
    EXPECT_TRUE(IsString(Query(HKEY_LOCAL_MACHINE, kAppPathKey, ""), "C:\\Program Files\\Lexaver Test\\Lexaver.exe"));
}

TEST_F(AppRegistration, OldControlSettingsAreRemovedBeforeTheScriptWritesItsOwn)
{
    WriteRegString(HKEY_CURRENT_USER, "Software\\Lexaver\\Ocx", "Old", REG_SZ, "old");
    WriteRegString(HKEY_CURRENT_USER, "Software\\Lexaver\\Ocx\\Below", "Older", REG_SZ, "older");
    TestFolder::WriteFile(ScriptBesideThisProgram(), "[HKEY_CURRENT_USER\\Software\\Lexaver\\Ocx]\n\"New\"=\"new\"\n");
    RegisterApplication(state);
    EXPECT_TRUE(IsString(Query(HKEY_CURRENT_USER, "Software\\Lexaver\\Ocx", "New"), "new"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_CURRENT_USER, "Software\\Lexaver\\Ocx", "Old").status);
    EXPECT_NE(ERROR_SUCCESS, Query(HKEY_CURRENT_USER, "Software\\Lexaver\\Ocx\\Below", "Older").status);
}
