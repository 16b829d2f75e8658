// The closing step with its two seams replaced: restart and logoff requests are recorded, never
// made, and the shutdown privilege is held or not as the test says.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "registration/Closing.h"
#include "res/resource.h"

namespace {

std::vector<UINT> g_requests;
int g_privilegeChecks = 0;
bool g_privilegeHeld = true;

BOOL WINAPI RecordExitWindows(UINT flags, DWORD reserved)
{
    g_requests.push_back(flags);
    return TRUE;
}

bool AnswerPrivilege()
{
    ++g_privilegeChecks;
    return g_privilegeHeld;
}

const char kRestartCaption[] = "Restart Windows";

class Closing : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_requests.clear();
        g_privilegeChecks = 0;
        g_privilegeHeld = true;
        savedExit = g_exitWindows;
        savedCheck = g_holdsShutdownPrivilege;
        g_exitWindows = &RecordExitWindows;
        g_holdsShutdownPrivilege = &AnswerPrivilege;
        state.isNT = true;
    }
    void TearDown() override
    {
        g_exitWindows = savedExit;
        g_holdsShutdownPrivilege = savedCheck;
    }

    // Runs the step with the answer given to every window it shows; returns what was shown.
    std::vector<AnsweredDialog> Finish(DialogAnswerer::Answer answer)
    {
        DialogAnswerer answerer(std::move(answer));
        FinishInstallation(state);
        return answerer.Stop();
    }

    RunState state;
    ExitWindowsProc savedExit = nullptr;
    bool (*savedCheck)() = nullptr;
};

DialogAnswerer::Answer ChooseLaterThenOk()
{
    return [](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_RESTART_LATER), BM_CLICK, 0, 0);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    };
}

}  // namespace

TEST_F(Closing, ARestartComesUpWithRestartNowCheckedAndOkRequestsIt)
{
    state.restartNeeded = true;
    LRESULT now = -1, later = -1;
    auto shown = Finish([&](HWND d) {
        now = SendMessageA(GetDlgItem(d, IDC_RESTART_NOW), BM_GETCHECK, 0, 0);
        later = SendMessageA(GetDlgItem(d, IDC_RESTART_LATER), BM_GETCHECK, 0, 0);
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(kRestartCaption, shown[0].caption);
    EXPECT_EQ(BST_CHECKED, now);
    EXPECT_EQ(BST_UNCHECKED, later);
    EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, g_requests);
    EXPECT_EQ(1, g_privilegeChecks);
}

TEST_F(Closing, RestartLaterRequestsNothingAndSaysNothingMore)
{
    state.restartNeeded = true;
    auto shown = Finish(ChooseLaterThenOk());
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(kRestartCaption, shown[0].caption);
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Closing, EscapeOrTheCloseBoxRequestNoRestartWhicheverButtonIsChecked)
{
    state.restartNeeded = true;
    auto shown = Finish([](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_RESTART_LATER), BM_CLICK, 0, 0);
        HWND focus = GetDlgItem(d, IDC_RESTART_LATER);
        PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ASSERT_EQ(1u, shown.size());
    EXPECT_TRUE(g_requests.empty());

    // "Restart now", checked from the start, is no answer either when the window is closed.
    shown = Finish(DialogAnswerer::CloseBox());
    ASSERT_EQ(1u, shown.size());
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Closing, WithoutTheShutdownPrivilegeMessage142TellsTheUserToRestart)
{
    state.restartNeeded = true;
    state.pathChanged = true;
    g_privilegeHeld = false;
    auto shown = Finish(DialogAnswerer::Press(IDOK));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Some system files were busy and you will have to restart Windows in order to terminate the "
              "installation !",
              shown[0].text);
    EXPECT_EQ(LoadIcon(nullptr, IDI_ASTERISK), shown[0].icon);
    EXPECT_FALSE(shown[0].yesAndNo);
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Closing, OnWindows95TheRestartIsOfferedWithoutAskingForThePrivilege)
{
    state.isNT = false;
    state.restartNeeded = true;
    g_privilegeHeld = false;
    auto shown = Finish(DialogAnswerer::Press(IDOK));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(kRestartCaption, shown[0].caption);
    EXPECT_EQ(0, g_privilegeChecks);
    EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, g_requests);
}

TEST_F(Closing, APendingRestartWithAChangedPathOffersTheRestartOnly)
{
    state.restartNeeded = true;
    state.pathChanged = true;
    auto shown = Finish(ChooseLaterThenOk());
    ASSERT_EQ(1u, shown.size()) << "no logoff question after the restart dialog";
    EXPECT_EQ(kRestartCaption, shown[0].caption);
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Closing, AChangedPathAsksForALogoffThatYesRequestsAndNoDoesNot)
{
    state.pathChanged = true;
    auto shown = Finish(DialogAnswerer::Press(IDYES));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("The Lexaver installation will now effect a Logoff to take the modification of the Path environment "
              "variable into account.",
              shown[0].text);
    EXPECT_TRUE(shown[0].yesAndNo);
    EXPECT_EQ(LoadIcon(nullptr, IDI_ASTERISK), shown[0].icon);
    EXPECT_EQ(std::vector<UINT>{EWX_LOGOFF}, g_requests);

    g_requests.clear();
    shown = Finish(DialogAnswerer::Press(IDNO));
    ASSERT_EQ(1u, shown.size());
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Closing, NothingPendingEndsWithTheCompletionMessageOnly)
{
    auto shown = Finish(DialogAnswerer::Press(IDOK));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Installation normally terminated. You can now use Lexaver.", shown[0].text);
    EXPECT_EQ(LoadIcon(nullptr, IDI_ASTERISK), shown[0].icon);
    EXPECT_FALSE(shown[0].yesAndNo);
    EXPECT_TRUE(g_requests.empty());
}

namespace {

// The shutdown privilege of the process token: held, and whether it is enabled.
struct ShutdownPrivilegeState {
    bool held = false;
    bool enabled = false;
};

ShutdownPrivilegeState QueryShutdownPrivilege()
{
    ShutdownPrivilegeState result;
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return result;
    LUID shutdown = {};
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown);
    std::vector<BYTE> buffer(4096);
    DWORD size = 0;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
            if (entry.Luid.LowPart == shutdown.LowPart && entry.Luid.HighPart == shutdown.HighPart) {
                result.held = true;
                result.enabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
            }
        }
    }
    CloseHandle(token);
    return result;
}

void DisableShutdownPrivilege()
{
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
    TOKEN_PRIVILEGES disable = {};
    disable.PrivilegeCount = 1;
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &disable.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &disable, sizeof disable, nullptr, nullptr);
    CloseHandle(token);
}

}  // namespace

TEST(ShutdownPrivilege, TheTokenCheckEnablesThePrivilegeThatTheTokenHolds)
{
    // Wine's user is an administrator, whose token holds the privilege, disabled at first.
    DisableShutdownPrivilege();
    ASSERT_TRUE(QueryShutdownPrivilege().held);
    ASSERT_FALSE(QueryShutdownPrivilege().enabled);
    EXPECT_TRUE(HoldsShutdownPrivilege());
    EXPECT_TRUE(QueryShutdownPrivilege().enabled);
}

TEST_F(Closing, ARestartDialogThatCannotBeShownRequestsNoRestart)
{
    state.restartNeeded = true;
    CWinApp app;
    app.m_hInstance = GetModuleHandleA("kernel32.dll");  // no dialog templates there: DoModal gives -1
    FinishInstallation(state);
    EXPECT_TRUE(g_requests.empty());
}
