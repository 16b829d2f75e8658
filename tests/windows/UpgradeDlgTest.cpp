#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "LinkTestSupport.h"
#include "res/resource.h"
#include "ui/UpgradeDlg.h"

using namespace linktest;

namespace {

const UINT_PTR kShownTimer = 1;

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The upgrade dialog as setup shows it, with a hook that runs once the modal loop has shown it
// (the loop shows the dialog when its queue first runs empty: a timer waits for that).
class UpgradeProbe : public CUpgradeDlg {
public:
    std::function<void(UpgradeProbe&)> whenShown;

    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            {WM_TIMER, 0, 0, MapHandler(&UpgradeProbe::OnTimer)},
        };
        static const MessageMap map = MakeMessageMap(CUpgradeDlg::GetMessageMap(), entries);
        return &map;
    }

    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CUpgradeDlg::OnInitDialog();
        SetTimer(m_hWnd, kShownTimer, 10, nullptr);
        return result;
    }

private:
    LRESULT OnTimer(WPARAM, LPARAM)
    {
        if (!IsWindowVisible(m_hWnd)) return 0;
        KillTimer(m_hWnd, kShownTimer);
        if (whenShown) whenShown(*this);
        return 0;
    }
};

INT_PTR RunWithKey(WPARAM key)
{
    UpgradeProbe dialog;
    dialog.whenShown = [key](UpgradeProbe&) { PostMessageA(GetFocus(), WM_KEYDOWN, key, 0); };
    return dialog.DoModal();
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

RECT WorkArea()
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void ExpectCentredOn(const RECT& centre, HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_NEAR((centre.left + centre.right) / 2, (rect.left + rect.right) / 2, 1);
    EXPECT_NEAR((centre.top + centre.bottom) / 2, (rect.top + rect.bottom) / 2, 1);
}

// Where the dialog manager alone puts a template, for a dialog that nobody moves.
POINT PlaceWithoutFramework(UINT templateId, HWND owner)
{
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, &PlainDialogProc, 0);
    RECT rect = {};
    GetWindowRect(window, &rect);
    DestroyWindow(window);
    return {rect.left, rect.top};
}

void ExpectAt(POINT expected, HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(expected.x, rect.left);
    EXPECT_EQ(expected.y, rect.top);
}

HWND MakeOwner(int x, int y, BOOL enabled)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, x, y, 500, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EnableWindow(owner, enabled);
    return owner;
}

}  // namespace

TEST(UpgradeDialog, EnterClosesItWithOkFromTheExitButtonThatHasTheFocus)
{
    UpgradeProbe dialog;
    HWND focus = nullptr, exitButton = nullptr;
    dialog.whenShown = [&](UpgradeProbe& d) {
        focus = GetFocus();
        exitButton = d.Item(IDOK);
        PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_NE(nullptr, exitButton);
    EXPECT_EQ(exitButton, focus);
}

TEST(UpgradeDialog, EscapeAndTheCloseBoxCloseItWithCancel)
{
    EXPECT_EQ(IDCANCEL, RunWithKey(VK_ESCAPE));
    UpgradeProbe dialog;
    dialog.whenShown = [](UpgradeProbe& d) { PostMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(UpgradeDialog, TheAddressIsASubclassedStaticThatTheKeyboardCannotReach)
{
    UpgradeProbe dialog;
    LONG style = 0;
    std::string address, caption;
    CWnd* attached = nullptr;
    bool visible = false, owned = true;
    dialog.whenShown = [&](UpgradeProbe& d) {
        HWND link = d.Item(IDC_DOWNLOAD_LINK);
        style = GetWindowLongA(link, GWL_STYLE);
        address = TextOf(link);
        attached = CWnd::FromHandlePermanent(link);
        caption = TextOf(d.m_hWnd);
        visible = IsWindowVisible(d.m_hWnd) != FALSE;
        owned = GetWindow(d.m_hWnd, GW_OWNER) != nullptr;
        PostMessageA(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    dialog.DoModal();
    EXPECT_EQ(0L, style & WS_TABSTOP);
    EXPECT_EQ(0L, style & SS_NOTIFY);
    EXPECT_EQ(kDownloadAddress, address);
    EXPECT_EQ(&dialog.m_link, attached);
    EXPECT_EQ("Dialog", caption);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(owned);
    EXPECT_EQ(nullptr, dialog.m_link.m_hWnd);  // let go with the dialog
}

TEST(UpgradeDialog, AClickOnTheAddressOpensItAndLeavesTheDialogOpen)
{
    ShellRecorder shell(false, 33);   // never a real browser
    UpgradeProbe dialog;
    bool openWhileShown = false;
    int purpleAfterClick = 0;
    dialog.whenShown = [&](UpgradeProbe& d) {
        SendMessageA(d.Item(IDC_DOWNLOAD_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        openWhileShown = IsWindowVisible(d.m_hWnd) && shell.opens.size() == 1;
        purpleAfterClick = CountTextPixels(d.Item(IDC_DOWNLOAD_LINK), kPurple);
        // A click that the dialog would take for a command would end it before this key arrives.
        PostMessageA(d.Item(IDC_DOWNLOAD_LINK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(d.Item(IDC_DOWNLOAD_LINK), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(openWhileShown);
    EXPECT_GT(purpleAfterClick, 0);
    ASSERT_EQ(2u, shell.opens.size());
    EXPECT_EQ(kDownloadAddress, shell.opens[0].file);
    EXPECT_EQ(kDownloadAddress, shell.opens[1].file);
    EXPECT_EQ(0, shell.beeps);
}

TEST(UpgradeDialog, ShownASecondTimeTheAddressStartsBlueAgain)
{
    ShellRecorder shell(false, 33);
    for (int occurrence = 0; occurrence < 2; ++occurrence) {
        UpgradeProbe dialog;
        int blue = 0, purple = 0;
        dialog.whenShown = [&](UpgradeProbe& d) {
            HWND link = d.Item(IDC_DOWNLOAD_LINK);
            blue = CountTextPixels(link, kBlue);
            purple = CountTextPixels(link, kPurple);
            SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
        };
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_GT(blue, 0) << "occurrence " << occurrence;
        EXPECT_EQ(0, purple) << "occurrence " << occurrence;
    }
    EXPECT_EQ(2u, shell.opens.size());
}

// Run under several user-interface languages (see CMakeLists.txt): the dialog always comes up.
TEST(UpgradeDialogLanguage, ComesUpInTheUserInterfaceLanguageOrTheLoadersFallback)
{
    UpgradeProbe dialog;
    std::string exitText, address;
    dialog.whenShown = [&](UpgradeProbe& d) {
        exitText = TextOf(d.Item(IDOK));
        address = TextOf(d.Item(IDC_DOWNLOAD_LINK));
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(kDownloadAddress, address);
    const char* expected = std::getenv("EXPECTED_EXIT_TEXT");
    if (expected) EXPECT_EQ(expected, exitText);
    else EXPECT_TRUE(exitText == "Exit" || exitText == "Sortir" || exitText == "Uscire") << exitText;
}

TEST(DialogCentring, AHiddenUnownedTemplateComesUpCentredOnTheWorkArea)
{
    UpgradeProbe dialog;
    RECT shown = {};
    dialog.whenShown = [&](UpgradeProbe& d) {
        GetWindowRect(d.m_hWnd, &shown);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    RECT area = WorkArea();
    EXPECT_NEAR((area.left + area.right) / 2, (shown.left + shown.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (shown.top + shown.bottom) / 2, 1);
    EXPECT_GT(shown.left, area.left);
}

TEST(DialogCentring, ATemplateVisibleFromCreationStaysAtItsPosition)
{
    POINT expected = PlaceWithoutFramework(IDD_DESTINATION, nullptr);
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_DESTINATION));
    ExpectAt(expected, dialog.m_hWnd);
    RECT area = WorkArea();
    EXPECT_LT(expected.x, (area.left + area.right) / 4);   // the template's 0, 0: near the top-left corner
    dialog.DestroyWindow();
}

TEST(DialogCentring, AHiddenTemplateOverADisabledOwnerIsCentredOnTheOwner)
{
    HWND ownerWindow = MakeOwner(150, 100, FALSE);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(ownerWindow));
    CUpgradeDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_UPGRADE, &owner));
    RECT ownerRect;
    GetWindowRect(ownerWindow, &ownerRect);
    ExpectCentredOn(ownerRect, dialog.m_hWnd);
    dialog.DestroyWindow();
    owner.Detach();
    DestroyWindow(ownerWindow);
}

TEST(DialogCentring, AHiddenTemplateBesideAnEnabledOwnerStaysAtItsPosition)
{
    HWND ownerWindow = MakeOwner(150, 100, TRUE);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(ownerWindow));
    POINT expected = PlaceWithoutFramework(IDD_UPGRADE, ownerWindow);
    CUpgradeDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_UPGRADE, &owner));
    ExpectAt(expected, dialog.m_hWnd);
    POINT client = {0, 0};
    ClientToScreen(dialog.m_hWnd, &client);
    EXPECT_EQ(150, client.x);   // the template's 0, 0 is the owner's client origin
    EXPECT_EQ(100, client.y);
    dialog.DestroyWindow();
    owner.Detach();
    DestroyWindow(ownerWindow);
}

TEST(DialogCentring, ADialogThatPlacesItselfAtInitialisationStaysThere)
{
    struct Placing : UpgradeProbe {
        BOOL OnInitDialog() override
        {
            BOOL result = UpgradeProbe::OnInitDialog();
            SetWindowPos(m_hWnd, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return result;
        }
    } dialog;
    RECT shown = {};
    dialog.whenShown = [&](UpgradeProbe& d) {
        GetWindowRect(d.m_hWnd, &shown);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(10, shown.left);
    EXPECT_EQ(20, shown.top);
}
