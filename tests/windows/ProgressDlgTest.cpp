#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/SystemDlls.h"
#include "install/FileLists.h"
#include "install/FileStage.h"
#include "res/resource.h"
#include "ui/ProgressDlg.h"

namespace {

std::string ItemText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string Caption(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

int BarPosOf(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
}

// Counts the texts set on the percentage static, to see that an unchanged value is not rewritten.
int g_setTextCount = 0;
WNDPROC g_staticProc = nullptr;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT) ++g_setTextCount;
    return CallWindowProcA(g_staticProc, hwnd, message, wParam, lParam);
}

class ProgressDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitProgressBarClass(); }

    void SetUp() override { ASSERT_TRUE(dialog.Create(nullptr)); }

    HWND Window() const { return dialog.m_hWnd; }
    int BarPos() const { return static_cast<int>(SendDlgItemMessageA(Window(), IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0)); }

    CProgressDlg dialog;
};

}  // namespace

TEST_F(ProgressDialog, OpensVisibleAndUnownedWithTheProgressCaption)
{
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(nullptr, GetWindow(Window(), GW_OWNER));
    EXPECT_EQ("Progress", Caption(Window()));
    EXPECT_EQ(" 0 %", ItemText(Window(), IDC_PERCENT));
    EXPECT_EQ(0L, GetWindowLongA(Window(), GWL_STYLE) & WS_SYSMENU);
}

TEST_F(ProgressDialog, DefaultRangeShowsThePositionAsPercentage)
{
    EXPECT_EQ(0, dialog.SetPos(0));
    EXPECT_EQ("0%", ItemText(Window(), IDC_PERCENT));
    dialog.SetPos(50);
    EXPECT_EQ("50%", ItemText(Window(), IDC_PERCENT));
    EXPECT_EQ(50, dialog.SetPos(100));
    EXPECT_EQ("100%", ItemText(Window(), IDC_PERCENT));
}

TEST_F(ProgressDialog, StageRangeOf72)
{
    dialog.SetRange(0, 72);
    dialog.SetPos(36);
    EXPECT_EQ("50%", ItemText(Window(), IDC_PERCENT));
    EXPECT_EQ(36, BarPos());
    dialog.SetPos(70);
    EXPECT_EQ("97%", ItemText(Window(), IDC_PERCENT));
    dialog.SetPos(72);
    EXPECT_EQ("100%", ItemText(Window(), IDC_PERCENT));
}

TEST_F(ProgressDialog, APositionPastTheRangeFillsTheBarAndWrapsTheText)
{
    dialog.SetPos(150);
    EXPECT_EQ(100, BarPos());
    EXPECT_EQ("50%", ItemText(Window(), IDC_PERCENT));
}

TEST_F(ProgressDialog, AnUnchangedPercentageIsNotWrittenAgain)
{
    dialog.SetRange(0, 1000);
    HWND percent = GetDlgItem(Window(), IDC_PERCENT);
    g_staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(percent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    g_setTextCount = 0;
    dialog.SetPos(10);  // 1%
    dialog.SetPos(15);  // still 1%
    dialog.SetPos(19);  // still 1%
    EXPECT_EQ(1, g_setTextCount);
    dialog.SetPos(20);  // 2%
    EXPECT_EQ(2, g_setTextCount);
    SetWindowLongPtrA(percent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_staticProc));
}

TEST_F(ProgressDialog, TheFileLineShowsTheGivenText)
{
    dialog.SetFileText("Installing Ada.ini.");
    EXPECT_EQ("Installing Ada.ini.", ItemText(Window(), IDC_FILE_TEXT));
}

TEST_F(ProgressDialog, EnterEscapeCloseAndAltF4DoNotCloseIt)
{
    PostMessageA(Window(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(Window(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(Window(), WM_CLOSE, 0, 0);
    PostMessageA(Window(), WM_SYSKEYDOWN, VK_F4, 0x20000000);  // with the Alt context bit
    PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(Window(), WM_COMMAND, IDOK, 0);
    PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 5; ++i) dialog.SetPos(i);  // each position update drains the queue
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(IsWindowVisible(Window()));
}

TEST(ProgressDialogLifetime, DeletingTheObjectDestroysTheWindowAndReenablesTheOwner)
{
    InitProgressBarClass();
    HWND ownerWindow = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, ownerWindow);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(ownerWindow));

    CProgressDlg* dialog = new CProgressDlg(0);
    ASSERT_TRUE(dialog->Create(&owner));
    HWND window = dialog->m_hWnd;
    EXPECT_FALSE(IsWindowEnabled(ownerWindow));
    EXPECT_EQ(ownerWindow, GetWindow(window, GW_OWNER));
    delete dialog;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));

    owner.Detach();
    DestroyWindow(ownerWindow);
}

TEST(ProgressDialogLifetime, WithoutAWindowTheRangeIsKeptAndUpdatesDoNothing)
{
    CProgressDlg dialog(0);
    dialog.SetRange(0, 72);
    EXPECT_EQ(72, dialog.m_rangeUpper);
    EXPECT_EQ(0, dialog.SetPos(10));
    dialog.SetFileText("ignored");
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(ProgressDialogLifetime, TheRangeSetBeforeCreationIsAppliedAtInitialisation)
{
    InitProgressBarClass();
    CProgressDlg dialog(0);
    dialog.SetRange(0, 72);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(72, static_cast<int>(SendDlgItemMessageA(dialog.m_hWnd, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0)));
    dialog.SetPos(36);
    EXPECT_EQ("50%", ItemText(dialog.m_hWnd, IDC_PERCENT));
}

TEST(FileStageProgress, RunsFrom0To97PercentOverTheStagesEntries)
{
    InitProgressBarClass();
    FileStage stage;
    stage.Open();
    HWND window = stage.Dialog()->m_hWnd;
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("Progress", Caption(window));
    EXPECT_EQ(StageTotal(), static_cast<int>(SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0)));

    std::vector<std::string> percentages;
    int entries = CountSystemLibraries() + CountNames(ProductFileList) + CountNames(ObsoleteFileList);
    for (int i = 0; i < entries; ++i) {
        stage.Step(i == 0 ? "Mfc42.dll" : "C++.ini");
        if (i == 0) {
            EXPECT_EQ("Installing Mfc42.dll.", ItemText(window, IDC_FILE_TEXT));
        }
        percentages.push_back(ItemText(window, IDC_PERCENT));
    }
    EXPECT_EQ("0%", percentages.front());
    EXPECT_EQ("97%", percentages.back());
    EXPECT_EQ(70, BarPosOf(window));
    stage.Close();
    EXPECT_FALSE(IsWindow(window));
}
