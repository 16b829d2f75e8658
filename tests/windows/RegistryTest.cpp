#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "registration/Registry.h"

namespace {

// The system hands out the lowest free handle slot: a handle left open by the operations under
// test takes the slot that a probe handle freed, and the next probe lands elsewhere.
HANDLE ProbeHandle()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return probe;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Every test works below a key of its own, removed before and after.
class Registry : public ::testing::Test {
protected:
    const std::string base = "Software\\LexaverTests";
    std::string root;

    void SetUp() override
    {
        root = base + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTestKeys();
    }
    void TearDown() override { RemoveTestKeys(); }

    void RemoveTestKeys() { DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverTests"); }

    void SetRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }

    LONG QueryRaw(const std::string& path, const char* name, DWORD* type, std::string* data)
    {
        HKEY key;
        LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
        if (status != ERROR_SUCCESS) return status;
        char buffer[1024];
        DWORD size = sizeof buffer;
        status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (status == ERROR_SUCCESS) data->assign(buffer, size);
        return status;
    }

    // Who may do what with the key: everyone `access`, or everything with `access` 0 (no list).
    void SetKeyAccess(const std::string& path, REGSAM access)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key));
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
        alignas(DWORD) BYTE aclBytes[128];
        ACL* acl = reinterpret_cast<ACL*>(aclBytes);
        InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, access, everyone);
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, access ? acl : nullptr, FALSE);
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor));
        FreeSid(everyone);
        RegCloseKey(key);
    }
};

}  // namespace

TEST_F(Registry, WriteCreatesEveryMissingKeyOfThePath)
{
    std::string path = root + "\\One\\Two\\Three";
    DWORD value = 42;
    EXPECT_EQ(ERROR_SUCCESS, WriteRegValue(HKEY_CURRENT_USER, path.c_str(), "Count", REG_DWORD, &value, 4));
    DWORD type = 0;
    std::string data;
    ASSERT_EQ(ERROR_SUCCESS, QueryRaw(path, "Count", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ASSERT_EQ(4u, data.size());
    EXPECT_EQ(42u, *reinterpret_cast<const DWORD*>(data.data()));
}

TEST_F(Registry, ReadGivesBackWhatWasWritten)
{
    std::string path = root + "\\Settings";
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Folder", REG_SZ, "C:\\Program Files"));
    char buffer[260];
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "Folder", buffer, sizeof buffer));
    EXPECT_STREQ("C:\\Program Files", buffer);
}

TEST_F(Registry, EmptyPathAddressesTheRootKeyItself)
{
    // HKEY_CURRENT_USER itself holds no values of ours: use an opened key as the root.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, WriteRegString(key, "", "Direct", REG_SZ, "here"));
    char buffer[16];
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(key, "", "Direct", buffer, sizeof buffer));
    EXPECT_STREQ("here", buffer);
    RegCloseKey(key);
    DWORD type;
    std::string data;
    EXPECT_EQ(ERROR_SUCCESS, QueryRaw(root, "Direct", &type, &data));
}

TEST_F(Registry, DoubledAndTrailingSeparatorsOpenTheSameKeys)
{
    EXPECT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, (root + "\\\\A\\").c_str(), "V", REG_SZ, "x"));
    char buffer[8];
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, (root + "\\A").c_str(), "V", buffer, sizeof buffer));
    EXPECT_STREQ("x", buffer);
}

TEST_F(Registry, StringsAreWrittenWithTheirTerminatorCounted)
{
    std::string path = root + "\\Strings";
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Plain", REG_SZ, "abc"));
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Expand", REG_EXPAND_SZ, "%PATH%;C:\\x"));
    DWORD type = 0;
    std::string data;
    ASSERT_EQ(ERROR_SUCCESS, QueryRaw(path, "Plain", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string("abc", 4), data);
    ASSERT_EQ(ERROR_SUCCESS, QueryRaw(path, "Expand", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ(std::string("%PATH%;C:\\x", 12), data);
}

TEST_F(Registry, AStoredTextWithoutTerminatorIsReadTerminated)
{
    std::string path = root + "\\Unterminated";
    SetRaw(path, "Text", REG_SZ, "abcd", 4);
    char buffer[16];
    memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "Text", buffer, sizeof buffer));
    EXPECT_STREQ("abcd", buffer);
}

TEST_F(Registry, ATextThatLeavesNoRoomForItsTerminatorIsTooLarge)
{
    std::string path = root + "\\Tight";
    SetRaw(path, "Text", REG_SZ, "abcd", 4);
    char buffer[4];
    EXPECT_EQ(ERROR_MORE_DATA, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "Text", buffer, sizeof buffer));
    // With its terminator stored, the same text fits five bytes exactly.
    SetRaw(path, "Whole", REG_SZ, "abcd", 5);
    char five[5];
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "Whole", five, sizeof five));
    EXPECT_STREQ("abcd", five);
}

TEST_F(Registry, AValueLargerThanTheBufferGivesMoreData)
{
    std::string path = root + "\\Large";
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Text", REG_SZ, "0123456789"));
    char buffer[6];
    EXPECT_EQ(ERROR_MORE_DATA, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "Text", buffer, sizeof buffer));
}

TEST_F(Registry, AValueThatIsNoTextIsNotReadAsOne)
{
    std::string path = root + "\\Types";
    DWORD number = 0x005C3A43;  // "C:\\" in its bytes
    SetRaw(path, "Number", REG_DWORD, &number, sizeof number);
    SetRaw(path, "Bytes", REG_BINARY, "C:\\Folder\\Deeper", 16);  // fills the buffer, no terminator
    SetRaw(path, "List", REG_MULTI_SZ, "C:\\A\0C:\\B\0", 11);
    for (const char* name : {"Number", "Bytes", "List"}) {
        char buffer[16];
        memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(ERROR_INVALID_DATATYPE, ReadRegValue(HKEY_CURRENT_USER, path.c_str(), name, buffer, sizeof buffer))
            << name;
        EXPECT_EQ('\0', buffer[0]) << name;
    }
}

TEST_F(Registry, ReadOfAMissingKeyOrValueFails)
{
    char buffer[16];
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              ReadRegValue(HKEY_CURRENT_USER, (root + "\\Nowhere").c_str(), "X", buffer, sizeof buffer));
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, root.c_str(), "Other", REG_SZ, "y"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRegValue(HKEY_CURRENT_USER, root.c_str(), "X", buffer, sizeof buffer));
    // Reading never creates the keys it walks.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + "\\Nowhere"));
}

TEST_F(Registry, AKeyThatMayBeReadButNotChangedIsRead)
{
    SetRaw(root, "Common Programs", REG_SZ, "C:\\Common", 10);
    SetKeyAccess(root, KEY_READ);
    HKEY probe;
    LONG fullAccess = RegOpenKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, KEY_ALL_ACCESS, &probe);
    if (fullAccess == ERROR_SUCCESS) RegCloseKey(probe);
    EXPECT_EQ(ERROR_ACCESS_DENIED, fullAccess) << "the key's access list is not in force";

    char buffer[64] = {};
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, root.c_str(), "Common Programs", buffer, sizeof buffer));
    EXPECT_STREQ("C:\\Common", buffer);
    SetKeyAccess(root, 0);
}

TEST_F(Registry, DeleteTreeRemovesThreeLevelsAndLeavesSiblingsAndParent)
{
    std::string parent = root + "\\Parent";
    for (const char* sub : {"\\Doomed", "\\Doomed\\Level2", "\\Doomed\\Level2\\Level3", "\\Doomed\\Other"})
        ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, (parent + sub).c_str(), "Value", REG_SZ, "v"));
    DWORD number = 7;
    ASSERT_EQ(ERROR_SUCCESS, WriteRegValue(HKEY_CURRENT_USER, (parent + "\\Doomed\\Level2").c_str(), "N", REG_DWORD, &number, 4));
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, (parent + "\\Sibling\\Child").c_str(), "Keep", REG_SZ, "k"));
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, parent.c_str(), "ParentValue", REG_SZ, "p"));

    EXPECT_EQ(ERROR_NO_MORE_ITEMS, DeleteRegKeyTree(HKEY_CURRENT_USER, parent.c_str(), "Doomed"));

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, parent + "\\Doomed"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, parent + "\\Sibling\\Child"));
    char buffer[8];
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, (parent + "\\Sibling\\Child").c_str(), "Keep", buffer, sizeof buffer));
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, parent.c_str(), "ParentValue", buffer, sizeof buffer));
    EXPECT_STREQ("p", buffer);
}

TEST_F(Registry, DeleteTreeOfAMissingKeyOrParentReportsTheOpenError)
{
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, (root + "\\Present").c_str(), "V", REG_SZ, "v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegKeyTree(HKEY_CURRENT_USER, root.c_str(), "Absent"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegKeyTree(HKEY_CURRENT_USER, (root + "\\NoParent").c_str(), "Present"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, root + "\\Present"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + "\\NoParent"));
}

TEST_F(Registry, NoHandleStaysOpenAfterAnyOperation)
{
    std::string path = root + "\\A\\B\\C";
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path.c_str(), "Warm", REG_SZ, "up"));
    HANDLE before = ProbeHandle();
    ASSERT_EQ(before, ProbeHandle()) << "handle slots are not reused here; the check would prove nothing";
    char buffer[8];
    for (int i = 0; i < 20; ++i) {
        WriteRegString(HKEY_CURRENT_USER, path.c_str(), "V", REG_SZ, "v");
        ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "V", buffer, sizeof buffer);
        ReadRegValue(HKEY_CURRENT_USER, (root + "\\Missing\\Deeper").c_str(), "V", buffer, sizeof buffer);
        ReadRegValue(HKEY_CURRENT_USER, path.c_str(), "V", buffer, 1);
        DeleteRegKeyTree(HKEY_CURRENT_USER, (root + "\\A").c_str(), "B");
        DeleteRegKeyTree(HKEY_CURRENT_USER, root.c_str(), "Absent");
    }
    EXPECT_EQ(before, ProbeHandle());
    // And the probe does see a handle that stays open.
    HKEY leaked;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, root.c_str(), 0, KEY_READ, &leaked));
    EXPECT_NE(before, ProbeHandle());
    RegCloseKey(leaked);
}

// Run under code page 932 (an entry of its own in the test list).
TEST(RegistryDoubleByte, AKeyNameWhoseCharacterEndsInABackslashByteIsOneKey)
{
    ASSERT_EQ(932u, GetACP());
    // A key of its own: the other registry tests may run beside this one in the same prefix.
    // "ソフト": the second byte of its first character is 0x5C.
    const char path[] = "Software\\LexaverDoubleByte\\\x83\x5C\x83\x74\x83\x67";
    DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverDoubleByte");
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, path, "Found", REG_SZ, "yes"));
    char buffer[16] = {};
    EXPECT_EQ(ERROR_SUCCESS, ReadRegValue(HKEY_CURRENT_USER, path, "Found", buffer, sizeof buffer));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\LexaverDoubleByte", 0, KEY_READ, &key));
    wchar_t name[64] = {};
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegEnumKeyW(key, 0, name, 64);
    RegCloseKey(key);
    EXPECT_EQ(1u, subkeys);
    EXPECT_EQ(std::wstring(L"\u30BD\u30D5\u30C8"), name);
    DeleteRegKeyTree(HKEY_CURRENT_USER, "Software", "LexaverDoubleByte");
}
