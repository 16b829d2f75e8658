// Steps of the setup sequence that decide whether the run goes on: the destination accepted, the
// product files and the uninstaller copied.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "ImportReplacement.h"
#include "MessageBoxRecorder.h"
#include "SystemText.h"
#include "TestFolder.h"
#include "app/InstallApp.h"
#include "install/FileStage.h"
#include "install/SystemLibraries.h"
#include "res/resource.h"
#include "ui/DestinationDlg.h"

namespace {

// A file held open without sharing, as a running program holds its own file.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr))
    {
    }
    ~HeldFile() { Release(); }
    void Release()
    {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    bool IsHeld() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

}  // namespace

TEST(AcceptDestination, ADestinationTooDeepForTheProductsPathsIsRefusedBeforeAnythingIsWritten)
{
    RunState state;
    lstrcpyA(state.productName, "Lexaver");
    // With "\" and "Lexaver.exe.manifest", 238 characters make a path of 259; one more would not fit.
    for (int length : {238, 239}) {
        SCOPED_TRACE(length);
        std::string folder = "C:\\" + std::string(length - 3, 'd');
        CDestinationDlg dialog(nullptr);
        DialogAnswerer answerer([&](HWND d) {
            char caption[64] = {};
            GetWindowTextA(d, caption, sizeof caption);
            if (lstrcmpA(caption, "Lexaver installation") == 0) {
                SetDlgItemTextA(d, IDC_FOLDER, folder.c_str());
                PostMessageA(d, WM_COMMAND, IDOK, 0);
            } else {
                PostMessageA(d, WM_COMMAND, IDOK, 0);
            }
        });
        bool accepted = AcceptDestination(state, dialog);
        const std::vector<AnsweredDialog>& shown = answerer.Stop();
        if (length == 238) {
            EXPECT_TRUE(accepted);
            EXPECT_EQ(folder, state.destination);
            EXPECT_EQ(1u, shown.size());
        } else {
            EXPECT_FALSE(accepted);
            ASSERT_EQ(2u, shown.size());
            EXPECT_EQ("Could not create directory " + folder + " : " + SystemText(ERROR_FILENAME_EXCED_RANGE),
                      shown[1].text);
            EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), shown[1].icon);
        }
    }
}

namespace {

// CreateDirectoryA as Windows 7 and later answer it for a drive root: "Access is denied" for a
// folder that is there; and so for a folder named "Denied", which is not.
BOOL WINAPI CreateDirectoryRefusingRoots(LPCSTR path, LPSECURITY_ATTRIBUTES attributes)
{
    std::string name(path);
    bool root = name.size() == 3 && name.compare(1, 2, ":\\") == 0;
    if (root || (name.size() >= 7 && name.compare(name.size() - 7, 7, "\\Denied") == 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // The lookup is not replaced: it gives the system's own function.
    auto create = reinterpret_cast<decltype(&CreateDirectoryA)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateDirectoryA")));
    return create(path, attributes);
}

}  // namespace

TEST(CreateDestinationFolder, ADriveRootIsAcceptedWhateverTheSystemAnswers)
{
    RunState state;
    ImportReplacement refusing("kernel32.dll", "CreateDirectoryA",
                               reinterpret_cast<void*>(&CreateDirectoryRefusingRoots));
    ASSERT_TRUE(refusing.Replaced());
    lstrcpyA(state.destination, "C:\\");
    {
        MessageBoxRecorder recorder;
        EXPECT_TRUE(CreateDestinationFolder(state));
        EXPECT_TRUE(recorder.Stop().empty());
    }
    // A folder that is not there after the refusal is reported with the system's reason.
    TestFolder parent("DestinationParent");
    lstrcpyA(state.destination, (parent / "Denied").c_str());
    MessageBoxRecorder recorder;
    EXPECT_FALSE(CreateDestinationFolder(state));
    const std::vector<ShownMessageBox>& shown = recorder.Stop();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Could not create directory " + (parent / "Denied") + " : " + SystemText(ERROR_ACCESS_DENIED),
              shown[0].text);
}

TEST(AcceptDestination, ADialogThatCannotBeShownEndsTheRunAsCancelDoes)
{
    CWinApp app;
    app.m_hInstance = GetModuleHandleA("kernel32.dll");  // no dialog templates there: DoModal gives -1
    RunState state;
    CDestinationDlg dialog(nullptr);
    EXPECT_FALSE(AcceptDestination(state, dialog));
    EXPECT_STREQ("", state.destination);
}

namespace {

class ProductFileCopy : public ::testing::Test {
protected:
    TestFolder distribution{"ProductFileCopyFrom"};
    TestFolder destination{"ProductFileCopyTo"};
    RunState state;
    FileStage stage;  // not opened: no progress window

    void SetUp() override
    {
        lstrcpyA(state.moduleFolder, distribution.Path().c_str());
        lstrcpyA(state.destination, destination.Path().c_str());
        lstrcpyA(state.windowsFolder, destination.Path().c_str());
        TestFolder::WriteFile(distribution / "Ada.ini", "new Ada");
        TestFolder::WriteFile(distribution / "Asm.ini", "new Asm");
        TestFolder::WriteFile(distribution / "Xml.ini", "new Xml");
    }

    static std::string Read(const std::string& path)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "(none)";
        char bytes[64];
        DWORD read = 0;
        ReadFile(file, bytes, sizeof bytes, &read, nullptr);
        CloseHandle(file);
        return std::string(bytes, read);
    }
};

}  // namespace

TEST_F(ProductFileCopy, AFileInUseIsReportedAndRetryCopiesItOnceItIsFree)
{
    TestFolder::WriteFile(destination / "Asm.ini", "old Asm");
    HeldFile held(destination / "Asm.ini");
    ASSERT_TRUE(held.IsHeld());
    std::vector<std::string> texts;
    DialogAnswerer answerer([&](HWND box) {
        char text[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        texts.push_back(text);
        held.Release();
        PostMessageA(box, WM_COMMAND, IDRETRY, 0);
    });
    EXPECT_TRUE(CopyProductFiles(stage, state));
    const std::vector<AnsweredDialog>& shown = answerer.Stop();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Copying " + (distribution / "Asm.ini") + " to " + (destination / "Asm.ini") + " : " +
                  SystemText(ERROR_SHARING_VIOLATION),
              texts[0]);
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), shown[0].icon);
    EXPECT_EQ("new Asm", Read(destination / "Asm.ini"));
    EXPECT_EQ("new Xml", Read(destination / "Xml.ini"));
    // The product files the distribution does not carry are skipped without a word.
    EXPECT_FALSE(TestFolder::Exists(destination / "Lexaver.exe"));
}

TEST_F(ProductFileCopy, CancelEndsTheCopyAtTheFileThatCouldNotBeWritten)
{
    TestFolder::WriteFile(destination / "Asm.ini", "old Asm");
    HeldFile held(destination / "Asm.ini");
    DialogAnswerer answerer(DialogAnswerer::Press(IDCANCEL));
    EXPECT_FALSE(CopyProductFiles(stage, state));
    EXPECT_EQ(1u, answerer.Stop().size());
    held.Release();
    EXPECT_EQ("new Ada", Read(destination / "Ada.ini"));
    EXPECT_EQ("old Asm", Read(destination / "Asm.ini"));
    EXPECT_EQ("(none)", Read(destination / "Xml.ini"));
}

TEST_F(ProductFileCopy, SetupStartedFromTheDestinationFindsEveryFileInPlace)
{
    // The distribution is the destination, named otherwise: its short name, in other letters.
    TestFolder::WriteFile(destination / "Ada.ini", "Ada in place");
    char shortName[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(destination.Path().c_str(), shortName, MAX_PATH));
    CharLowerA(shortName);
    lstrcpyA(state.moduleFolder, shortName);
    MessageBoxRecorder recorder;
    EXPECT_TRUE(CopyProductFiles(stage, state));
    EXPECT_TRUE(recorder.Stop().empty());
    EXPECT_EQ("Ada in place", Read(destination / "Ada.ini"));
}

TEST_F(ProductFileCopy, ADistributionThatIsGoneIsACopyFailureNotAMissingFile)
{
    // The disk taken out after the first file: every later one is missing with its folder.
    lstrcpyA(state.moduleFolder, (distribution / "Gone").c_str());
    std::vector<std::string> texts;
    DialogAnswerer answerer([&](HWND box) {
        char text[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        texts.push_back(text);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(CopyProductFiles(stage, state));
    ASSERT_EQ(1u, answerer.Stop().size());
    std::string expected = "Copying " + (distribution / "Gone") + "\\";
    EXPECT_EQ(expected, texts[0].substr(0, expected.size()));
}

TEST_F(ProductFileCopy, AnUninstallerThatCannotBeWrittenIsReportedAndIsNotInPlace)
{
    // The control with its version information makes the uninstaller step copy Unlexa.exe.
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    ASSERT_TRUE(CopyFileA(module, (distribution / "Lexaver.ocx").c_str(), FALSE));
    TestFolder::WriteFile(distribution / "Unlexa.exe", "uninstaller");
    {
        HeldFile held(destination / "Unlexa.exe");
        DialogAnswerer answerer(DialogAnswerer::Press(IDCANCEL));
        EXPECT_FALSE(InstallUninstaller(state));
        EXPECT_EQ(1u, answerer.Stop().size());
    }
    DeleteFileA((destination / "Unlexa.exe").c_str());
    EXPECT_FALSE(UninstallerInPlace(state));
    EXPECT_TRUE(InstallUninstaller(state));
    EXPECT_TRUE(UninstallerInPlace(state));
    EXPECT_EQ("uninstaller", Read(destination / "Unlexa.exe"));
}

TEST(LibraryUpdate, AnUpgradeDialogThatCannotBeShownEndsTheRunAsCancelDoes)
{
    // Neither a carried copy nor an installed library: the upgrade-needed dialog is due.
    TestFolder distribution("LibraryUpdateFrom");
    TestFolder system("LibraryUpdateSystem");
    RunState state;
    lstrcpyA(state.moduleFolder, distribution.Path().c_str());
    lstrcpyA(state.systemFolder, system.Path().c_str());
    FileStage stage;
    CWinApp app;
    app.m_hInstance = GetModuleHandleA("kernel32.dll");  // no dialog templates there: DoModal gives -1
    EXPECT_FALSE(UpdateSystemLibraries(stage, state));
    EXPECT_EQ(1, stage.EntriesBegun());
}
