#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

#include "LinkTestSupport.h"
#include "res/resource.h"
#include "ui/UIStaticLink.h"

using namespace linktest;

namespace {

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

LRESULT Click(HWND control)
{
    return SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
}

// The upgrade template, shown modeless, with links attached by each test to the statics it needs.
class UIStaticLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_UPGRADE));
        ShowWindow(dialog.m_hWnd, SW_SHOWNA);
        UpdateWindow(dialog.m_hWnd);
        address = GetDlgItem(dialog.m_hWnd, IDC_DOWNLOAD_LINK);
        icon = GetDlgItem(dialog.m_hWnd, IDI_UPGRADE_WARNING);
        message = GetWindow(GetDlgItem(dialog.m_hWnd, IDOK), GW_HWNDNEXT);   // the message text follows Exit
        ASSERT_NE(nullptr, message);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    void Attach(UIStaticLink& link, HWND control) { ASSERT_TRUE(link.SubclassWindow(control)); }

    CDialog dialog;
    HWND address = nullptr;
    HWND icon = nullptr;
    HWND message = nullptr;
};

// Restores the class-wide cursor so that every test starts with the search not yet run.
struct FreshCursorSearch {
    FreshCursorSearch() { Reset(); }
    ~FreshCursorSearch() { Reset(); }
    static void Reset()
    {
        UIStaticLink::s_handCursor = nullptr;
        UIStaticLink::s_cursorSearched = FALSE;
    }
};

LRESULT SetCursorOver(HWND control)
{
    return SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

}  // namespace

TEST_F(UIStaticLinkTest, TakesItsAddressFromTheTextAtTheFirstClickAndKeepsIt)
{
    ShellRecorder shell;
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);
    EXPECT_TRUE(link.m_url.IsEmpty());

    EXPECT_EQ(0, Click(address));
    ASSERT_EQ(1u, shell.opens.size());
    const OpenCall& call = shell.opens[0];
    EXPECT_EQ(nullptr, call.owner);
    EXPECT_EQ("open", call.verb);
    EXPECT_EQ(kDownloadAddress, call.file);
    EXPECT_TRUE(call.noParameters);
    EXPECT_TRUE(call.noDirectory);
    EXPECT_EQ(SW_SHOWNORMAL, call.show);

    SetWindowTextA(address, "lexaver-changed:y");
    Click(address);
    ASSERT_EQ(2u, shell.opens.size());
    EXPECT_EQ(kDownloadAddress, shell.opens[1].file);
    EXPECT_EQ(0, shell.beeps);
}

TEST_F(UIStaticLinkTest, AnAddressGivenAtConstructionWinsOverTheText)
{
    ShellRecorder shell;
    UIStaticLink link("lexaver-given:z", FALSE);
    Attach(link, address);
    Click(address);
    ASSERT_EQ(1u, shell.opens.size());
    EXPECT_EQ("lexaver-given:z", shell.opens[0].file);
    EXPECT_EQ(kDownloadAddress, TextOf(address));
}

TEST_F(UIStaticLinkTest, WithNoAddressAndNoTextAClickDoesNothingNotEvenABeep)
{
    ShellRecorder shell(false, 2);
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);
    SetWindowTextA(address, "");
    Click(address);
    EXPECT_TRUE(shell.opens.empty());
    EXPECT_EQ(0, shell.beeps);
    EXPECT_EQ(kBlue, link.m_textColor);

    // The address is still open to be taken from a text that comes later.
    SetWindowTextA(address, "lexaver-later:q");
    Click(address);
    ASSERT_EQ(1u, shell.opens.size());
    EXPECT_EQ("lexaver-later:q", shell.opens[0].file);
}

TEST_F(UIStaticLinkTest, AFailedOpenBeepsAndLeavesTheTextBlue)
{
    ShellRecorder shell(true);
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);
    SetWindowTextA(address, "lexaver-no-such-scheme:x");
    Click(address);
    ASSERT_EQ(1u, shell.opens.size());
    EXPECT_LE(shell.opens[0].result, 32u);
    EXPECT_EQ(1, shell.beeps);
    EXPECT_EQ(kBlue, link.m_textColor);
    EXPECT_GT(CountTextPixels(address, kBlue), 0);
    EXPECT_EQ(0, CountTextPixels(address, kPurple));
}

TEST_F(UIStaticLinkTest, ASuccessfulOpenTurnsTheTextPurpleAndRepaintsTheWholeControl)
{
    // A harmless program that ends by itself stands in for the web address.
    char program[MAX_PATH] = {};
    GetSystemDirectoryA(program, MAX_PATH);
    lstrcatA(program, "\\hostname.exe");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(program));

    ShellRecorder shell(true);
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);
    SetWindowTextA(address, program);
    EXPECT_GT(CountTextPixels(address, kBlue), 0);
    ValidateRect(address, nullptr);

    Click(address);
    ASSERT_EQ(1u, shell.opens.size());
    EXPECT_GT(shell.opens[0].result, 32u);
    EXPECT_EQ(0, shell.beeps);
    EXPECT_EQ(kPurple, link.m_textColor);
    RECT update = {}, client = {};
    EXPECT_TRUE(GetUpdateRect(address, &update, FALSE));
    GetClientRect(address, &client);
    EXPECT_TRUE(EqualRect(&update, &client));
    EXPECT_GT(CountTextPixels(address, kPurple), 0);
    EXPECT_EQ(0, CountTextPixels(address, kBlue));

    Click(address);  // a visited link opens again
    EXPECT_EQ(2u, shell.opens.size());
    EXPECT_EQ(kPurple, link.m_textColor);
}

TEST_F(UIStaticLinkTest, DrawsWithAnUnderlinedCopyOfItsFontInTheLinkColourOverTheParent)
{
    LOGFONTA own = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(address, WM_GETFONT, 0, 0)), sizeof own, &own);
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);
    // The static's own font, whenever its painting selects it.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(address, WM_GETFONT, 0, 0));
    EXPECT_EQ(link.m_underlineFont.GetSafeHandle(), font);
    LOGFONTA underlined = {};
    ASSERT_TRUE(GetObjectA(font, sizeof underlined, &underlined));
    EXPECT_TRUE(underlined.lfUnderline);
    EXPECT_FALSE(own.lfUnderline);
    EXPECT_STREQ(own.lfFaceName, underlined.lfFaceName);
    EXPECT_EQ(own.lfHeight, underlined.lfHeight);

    HDC dc = CreateCompatibleDC(nullptr);
    LRESULT brush = SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(address));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(kBlue, GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    DeleteDC(dc);
}

TEST_F(UIStaticLinkTest, AnIconStaticKeepsItsColoursButTakesThePointerAndTheClicks)
{
    ShellRecorder shell;
    UIStaticLink link(nullptr, FALSE);
    Attach(link, icon);
    HDC dc = CreateCompatibleDC(nullptr);
    LRESULT plain = SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(message));
    SetTextColor(dc, RGB(1, 2, 3));
    LRESULT linked = SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(icon));
    EXPECT_NE(0, plain);
    EXPECT_EQ(plain, linked);
    EXPECT_NE(kBlue, GetTextColor(dc));
    EXPECT_FALSE(link.m_underlineFont.GetSafeHandle());
    DeleteDC(dc);

    EXPECT_EQ(HTTRANSPARENT, SendMessageA(message, WM_NCHITTEST, 0, 0));
    EXPECT_EQ(HTCLIENT, SendMessageA(icon, WM_NCHITTEST, 0, 0));
    Click(icon);
    EXPECT_EQ(1u, shell.opens.size());
}

TEST_F(UIStaticLinkTest, TheHandIsTheProgramsCursor264AndTheHelpViewerIsNeverLoaded)
{
    FreshCursorSearch fresh;
    UIStaticLink link(nullptr, FALSE), other(nullptr, FALSE);
    Attach(link, address);
    Attach(other, icon);
    HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(nullptr, own);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    EXPECT_EQ(TRUE, SetCursorOver(address));
    EXPECT_EQ(own, GetCursor());
    EXPECT_EQ(own, UIStaticLink::s_handCursor);
    EXPECT_EQ(nullptr, GetModuleHandleA("winhlp32.exe"));

    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(TRUE, SetCursorOver(icon));   // a second link shares the cursor
    EXPECT_EQ(own, GetCursor());
    EXPECT_EQ(nullptr, GetModuleHandleA("winhlp32.exe"));

    // Monochrome, pointing from the top-left corner.
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(own, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(0u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    EXPECT_EQ(nullptr, info.hbmColor);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(UIStaticLinkTest, WithoutCursor264TheHelpViewersHandIsSoughtOnceAndTheViewerUnloaded)
{
    FreshCursorSearch fresh;
    // Resources looked up in a module that has no cursor 264.
    CWinApp app;
    app.m_hInstance = GetModuleHandleA("kernel32.dll");
    UIStaticLink link(nullptr, FALSE);
    Attach(link, address);

    LRESULT first = SetCursorOver(address);
    EXPECT_TRUE(UIStaticLink::s_cursorSearched);
    EXPECT_EQ(nullptr, GetModuleHandleA("winhlp32.exe"));
    HCURSOR found = UIStaticLink::s_handCursor;
    EXPECT_EQ(found != nullptr, first == TRUE);

    // The search is not repeated: a found cursor is the same copy, a missing one stays missing.
    LRESULT second = SetCursorOver(address);
    EXPECT_EQ(first, second);
    EXPECT_EQ(found, UIStaticLink::s_handCursor);
    if (found) {
        EXPECT_EQ(found, GetCursor());
        DestroyCursor(found);
    }
}

TEST(UIStaticLinkClass, CarriesRunTimeClassInformationUnderItsNameWithCStaticAsBase)
{
    UIStaticLink link(nullptr, FALSE);
    CWnd plain;
    EXPECT_STREQ("UIStaticLink", link.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(&CStatic::classCStatic, link.GetRuntimeClass()->m_pBaseClass);
    EXPECT_TRUE(link.IsKindOf(&UIStaticLink::classUIStaticLink));
    EXPECT_TRUE(link.IsKindOf(&CStatic::classCStatic));
    EXPECT_TRUE(link.IsKindOf(&CWnd::classCWnd));
    EXPECT_FALSE(plain.IsKindOf(&CStatic::classCStatic));
    EXPECT_EQ(kBlue, link.m_textColor);
    EXPECT_EQ(kBlue, UIStaticLink::LinkColor);
    EXPECT_EQ(kPurple, UIStaticLink::VisitedColor);
}

TEST(UIStaticLinkClass, DeletesItselfAfterItsWindowOnlyWhenAskedTo)
{
    struct Watched : UIStaticLink {
        Watched(BOOL deleteOnDestroy, bool* deleted) : UIStaticLink(nullptr, deleteOnDestroy), m_deleted(deleted) {}
        ~Watched() override { *m_deleted = true; }
        bool* m_deleted;
    };
    for (BOOL deleteOnDestroy : {TRUE, FALSE}) {
        HWND window = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, window);
        bool deleted = false;
        Watched* link = new Watched(deleteOnDestroy, &deleted);
        ASSERT_TRUE(link->SubclassWindow(window));
        DestroyWindow(window);
        EXPECT_EQ(deleteOnDestroy == TRUE, deleted);
        if (!deleted) {
            EXPECT_EQ(nullptr, link->m_hWnd);
            delete link;
        }
    }
}
