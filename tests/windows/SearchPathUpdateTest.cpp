// The search path update: the NT "Path" value of a test key, and "Autoexec.bat" in a test folder
// standing for the root of drive C.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ImportReplacement.h"
#include "MessageBoxRecorder.h"
#include "SimulatedWow64.h"
#include "StoredValue.h"
#include "SystemText.h"
#include "TestFolder.h"
#include "registration/Registry.h"
#include "registration/SearchPathUpdate.h"
#include "registration/StartupFile.h"

namespace {

const char kTestKey[] = "Software\\LexaverTest\\Environment";
const char kFolder[] = "C:\\Program Files\\Lexaver";

StoredValue QueryPath()
{
    return QueryStoredValue(HKEY_LOCAL_MACHINE, kTestKey, "Path");
}

LONG WINAPI SetValueOfAFullRegistry(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)
{
    return ERROR_NO_SYSTEM_RESOURCES;
}

// Setup looks the wide registry functions up: the lookup hands out the failing write. Every
// other name is looked up by the system's own function, taken before its slot is swapped.
using LookUp = FARPROC(WINAPI*)(HMODULE, LPCSTR);
LookUp g_systemLookUp = nullptr;

FARPROC WINAPI LookUpInAFullRegistry(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && lstrcmpA(name, "RegSetValueExW") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetValueOfAFullRegistry));
    return g_systemLookUp(module, name);
}

// The access asked for at each level of every key path setup opens. The keys are then opened by
// the system's function, taken before its slot is swapped, as this system can: without the view
// flag of the system simulated.
std::vector<REGSAM> g_accessAsked;
using OpenKey = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
const OpenKey g_systemOpen = reinterpret_cast<OpenKey>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA")));

LONG WINAPI RecordingOpen(HKEY key, LPCSTR name, DWORD options, REGSAM access, PHKEY opened)
{
    g_accessAsked.push_back(access);
    return g_systemOpen(key, name, options, access & ~static_cast<REGSAM>(KEY_WOW64_RES), opened);
}

// The value as NT keeps it, in wide characters.
LONG StoreWidePath(const std::wstring& text)
{
    HKEY key;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\LexaverTest\\Environment", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, L"Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

std::wstring QueryWidePath()
{
    wchar_t text[256] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\LexaverTest\\Environment", 0, KEY_READ, &key)) return L"(none)";
    RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return text;
}

class NtSearchPath : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software", "LexaverTest");
        lstrcpyA(state.destination, kFolder);
        state.destinationLength = lstrlenA(kFolder);
        state.isNT = true;
    }
    void TearDown() override { DeleteRegKeyTree(HKEY_LOCAL_MACHINE, "Software", "LexaverTest"); }

    void StorePath(DWORD type, const std::string& text)
    {
        ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_LOCAL_MACHINE, kTestKey, "Path", type, text.c_str()));
    }

    RunState state;
};

}  // namespace

TEST_F(NtSearchPath, AValueLongerThanEightKilobytesIsExtendedWholeAndWrittenBackExpandable)
{
    std::string entries;
    for (int i = 0; entries.size() < 12000; ++i) entries += "C:\\Tools\\Folder" + std::to_string(i) + ";";
    entries += "%SystemRoot%\\system32";
    StorePath(REG_SZ, entries);
    MessageBoxRecorder boxes;
    EXPECT_TRUE(AddToNtSearchPath(state, kTestKey));
    EXPECT_TRUE(boxes.Stop().empty());
    StoredValue stored = QueryPath();
    ASSERT_EQ(ERROR_SUCCESS, stored.status);
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), stored.type);
    EXPECT_EQ(entries + ";" + kFolder + '\0', stored.data) << "whole, with its terminator";
    EXPECT_TRUE(state.pathChanged);
}

TEST_F(NtSearchPath, AFolderAlreadyThereInOtherCaseLeavesTheValueAndTheFlagAlone)
{
    StorePath(REG_SZ, "C:\\WINDOWS;c:\\program files\\lexaver;C:\\DOS");
    EXPECT_TRUE(AddToNtSearchPath(state, kTestKey));
    StoredValue stored = QueryPath();
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type) << "not rewritten";
    EXPECT_EQ(std::string("C:\\WINDOWS;c:\\program files\\lexaver;C:\\DOS") + '\0', stored.data);
    EXPECT_FALSE(state.pathChanged);
}

TEST_F(NtSearchPath, OtherEntriesKeepCharactersThatTheCodePageCannotHold)
{
    // "C:\Ωmega" is no folder of code page 1252: through the A functions it would become "C:\Omega",
    // another folder, and would pass for a destination of that name.
    ASSERT_EQ(ERROR_SUCCESS, StoreWidePath(L"C:\\\u03A9mega;C:\\\u65E5\u672C;%SystemRoot%"));
    lstrcpyA(state.destination, "C:\\Omega");
    EXPECT_TRUE(AddToNtSearchPath(state, kTestKey));
    EXPECT_EQ(L"C:\\\u03A9mega;C:\\\u65E5\u672C;%SystemRoot%;C:\\Omega", QueryWidePath());
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), QueryPath().type);
    EXPECT_TRUE(state.pathChanged);
}

TEST_F(NtSearchPath, On64BitWindowsThePathIsReadAndWrittenInThe64BitViewAndNowhereElse)
{
    // The 32-bit view would change other programs' "%ProgramFiles%" entries; Windows 2000 and
    // 32-bit systems do not know the flag.
    for (SimulatedWow64::System kind : {SimulatedWow64::Windows64, SimulatedWow64::Windows32,
                                        SimulatedWow64::WithoutWow64Functions}) {
        SCOPED_TRACE(kind);
        StorePath(REG_EXPAND_SZ, "%ProgramFiles%\\Tool;%SystemRoot%\\system32");
        g_accessAsked.clear();
        MessageBoxRecorder boxes;
        {
            SimulatedWow64 system(kind);
            ImportReplacement open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&RecordingOpen));
            ASSERT_TRUE(system.Replaced() && open.Replaced());
            EXPECT_TRUE(AddToNtSearchPath(state, kTestKey));
        }
        EXPECT_TRUE(boxes.Stop().empty());
        ASSERT_FALSE(g_accessAsked.empty());
        REGSAM expected = kind == SimulatedWow64::Windows64 ? KEY_WOW64_64KEY : 0;
        for (REGSAM access : g_accessAsked) EXPECT_EQ(expected, access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY));
        EXPECT_EQ(L"%ProgramFiles%\\Tool;%SystemRoot%\\system32;C:\\Program Files\\Lexaver", QueryWidePath());
    }
}

TEST_F(NtSearchPath, AFailedWriteShowsMessage135WithTheKeyAndAsksForNoLogoff)
{
    StorePath(REG_SZ, "C:\\WINDOWS");
    MessageBoxRecorder boxes;
    bool carriedOn;
    {
        g_systemLookUp = reinterpret_cast<LookUp>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcAddress")));
        ImportReplacement failing("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&LookUpInAFullRegistry));
        ASSERT_TRUE(failing.Replaced());
        carriedOn = AddToNtSearchPath(state, kTestKey);
    }
    EXPECT_FALSE(carriedOn);
    auto shown = boxes.Stop();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(std::string("Write error on file HKEY_LOCAL_MACHINE\\") + kTestKey + " : " +
                  SystemText(ERROR_NO_SYSTEM_RESOURCES),
              shown[0].text);
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), shown[0].icon);
    EXPECT_FALSE(state.pathChanged);
}

TEST_F(NtSearchPath, AValueThatCannotBeReadShowsMessage143AndEndsTheRun)
{
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_LOCAL_MACHINE, kTestKey, "Other", REG_SZ, "x"));
    MessageBoxRecorder boxes;
    EXPECT_FALSE(AddToNtSearchPath(state, kTestKey));
    auto shown = boxes.Stop();
    ASSERT_EQ(1u, shown.size());
    const std::string start = std::string("Could not access key  HKEY_LOCAL_MACHINE\\") + kTestKey + " : ";
    EXPECT_EQ(start, shown[0].text.substr(0, start.size()));
    EXPECT_GT(shown[0].text.size(), start.size()) << "the system's text for the reader's error follows";
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), shown[0].icon);
    EXPECT_FALSE(state.pathChanged);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryPath().status) << "nothing written";
}

namespace {

class StartupFile : public ::testing::Test {
protected:
    StartupFile() : root("StartupFile"), destination(root / "Long Folder Name")
    {
        CreateDirectoryA(destination.c_str(), nullptr);
        char shortForm[MAX_PATH] = {};
        GetShortPathNameA(destination.c_str(), shortForm, sizeof shortForm);
        shortFolder = shortForm[0] ? shortForm : destination;
    }

    std::string Autoexec() const { return root / "Autoexec.bat"; }
    std::string Backup() const { return root / "Autoexec.bak"; }

    static std::string Read(const std::string& path)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        std::string text(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        return text;
    }

    // The names in the root folder, so that no stray file goes unnoticed.
    std::string Listing() const
    {
        std::string names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((root.Path() + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != ".." && name != "Long Folder Name") names += name + " ";
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    bool Run() { return AddToStartupFile(destination.c_str(), root.Path().c_str()); }

    TestFolder root;
    std::string destination;
    std::string shortFolder;
};

bool SameNames(std::string listing, const std::string& expected)
{
    // FindFirstFile gives no order: compare as sets of the few names involved.
    for (const char* name : {"Autoexec.bat ", "Autoexec.bak "}) {
        bool inListing = listing.find(name) != std::string::npos;
        bool inExpected = expected.find(name) != std::string::npos;
        if (inListing != inExpected) return false;
        if (inListing) listing.erase(listing.find(name), lstrlenA(name));
    }
    return listing.empty();
}

}  // namespace

TEST_F(StartupFile, AFileWithoutStatementGetsOneOnTopInShortFormAndIsBackedUp)
{
    const std::string old = "ECHO OFF\r\nWIN\r\n";
    TestFolder::WriteFile(Autoexec(), old);
    MessageBoxRecorder boxes;
    EXPECT_TRUE(Run());
    EXPECT_TRUE(boxes.Stop().empty());
    EXPECT_NE(std::string::npos, shortFolder.find('~')) << "a folder with a long name has a short form: " << shortFolder;
    EXPECT_EQ("set PATH=%PATH%;" + shortFolder + "\r\n" + old, Read(Autoexec()));
    EXPECT_EQ(old, Read(Backup()));
    EXPECT_TRUE(SameNames(Listing(), "Autoexec.bat Autoexec.bak ")) << Listing();
}

TEST_F(StartupFile, ZeroBytesAndTheEndOfFileMarkAreKeptWhereTheyWere)
{
    using namespace std::string_literals;
    const std::string old = "ECHO\0OFF\r\nSET PATH=C:\\DOS\x1A"s;
    TestFolder::WriteFile(Autoexec(), old);
    EXPECT_TRUE(Run());
    EXPECT_EQ("ECHO\0OFF\r\nSET PATH=C:\\DOS;"s + shortFolder + "\x1A", Read(Autoexec()));
    EXPECT_EQ(old, Read(Backup()));
}

TEST_F(StartupFile, AStatementIsExtendedAndAnEarlierBackupIsKept)
{
    TestFolder::WriteFile(Autoexec(), "ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nWIN\r\n");
    TestFolder::WriteFile(Backup(), "the first backup");
    EXPECT_TRUE(Run());
    EXPECT_EQ("ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;" + shortFolder + "\r\nWIN\r\n", Read(Autoexec()));
    EXPECT_EQ("the first backup", Read(Backup()));
    EXPECT_TRUE(SameNames(Listing(), "Autoexec.bat Autoexec.bak ")) << "nothing left aside: " << Listing();
}

TEST_F(StartupFile, AFolderAlreadyOnTheStatementLeavesTheFileUntouchedWithoutBackup)
{
    std::string lower = shortFolder;
    CharLowerA(&lower[0]);
    const std::string old = "PATH C:\\DOS;" + lower + "\r\n";
    TestFolder::WriteFile(Autoexec(), old);
    EXPECT_TRUE(Run());
    EXPECT_EQ(old, Read(Autoexec()));
    EXPECT_TRUE(SameNames(Listing(), "Autoexec.bat ")) << Listing();
}

TEST_F(StartupFile, AMissingFileIsNotCreatedAndNothingIsSaid)
{
    MessageBoxRecorder boxes;
    EXPECT_TRUE(Run());
    EXPECT_TRUE(boxes.Stop().empty());
    EXPECT_TRUE(SameNames(Listing(), "")) << Listing();
}

TEST_F(StartupFile, ANewFileThatCannotBeCreatedLeavesTheOldOneAsItWasAndEndsTheRun)
{
    const std::string old = "ECHO OFF\r\n";
    TestFolder::WriteFile(Autoexec(), old);
    // A folder where the new content would go.
    CreateDirectoryA((root / "Autoexec.$$$").c_str(), nullptr);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(Run());
    auto shown = boxes.Stop();
    ASSERT_EQ(1u, shown.size());
    const std::string start = "Could not create file " + Autoexec() + " : ";
    EXPECT_EQ(start, shown[0].text.substr(0, start.size()));
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), shown[0].icon);
    EXPECT_EQ(old, Read(Autoexec()));
    EXPECT_EQ("<missing>", Read(Backup()));
}

TEST_F(StartupFile, AFileThatCannotBeReplacedStaysAsItWasAndEndsTheRun)
{
    const std::string old = "ECHO OFF\r\n";
    TestFolder::WriteFile(Autoexec(), old);
    TestFolder::WriteFile(Backup(), "the first backup");
    // Open by another program that lets it be read but not renamed.
    HANDLE holder = CreateFileA(Autoexec().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(Run());
    CloseHandle(holder);
    auto shown = boxes.Stop();
    ASSERT_EQ(1u, shown.size());
    const std::string start = "Write error on file " + Autoexec() + " : ";
    EXPECT_EQ(start, shown[0].text.substr(0, start.size()));
    EXPECT_EQ(old, Read(Autoexec()));
    EXPECT_EQ("the first backup", Read(Backup()));
    EXPECT_TRUE(SameNames(Listing(), "Autoexec.bat Autoexec.bak ")) << "nothing left aside: " << Listing();
}

TEST_F(StartupFile, AReadOnlyFileIsRewrittenAndStaysReadOnly)
{
    TestFolder::WriteFile(Autoexec(), "WIN\r\n");
    SetFileAttributesA(Autoexec().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Run());
    EXPECT_EQ("set PATH=%PATH%;" + shortFolder + "\r\nWIN\r\n", Read(Autoexec()));
    DWORD attributes = GetFileAttributesA(Autoexec().c_str());
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(Autoexec().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(Backup().c_str(), FILE_ATTRIBUTE_NORMAL);
}
