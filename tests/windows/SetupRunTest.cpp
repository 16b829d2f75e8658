// A whole run of setup on this thread, as far as its dialogs are answered: the shell is called
// with COM initialised.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "DialogAnswerer.h"
#include "ImportReplacement.h"
#include "TestFolder.h"
#include "app/InstallApp.h"
#include "res/resource.h"
#include "ui/UIStaticLink.h"

namespace {

// What CoInitialize answered inside each shell call of the run.
HRESULT g_inFolderBrowser = E_UNEXPECTED;
HRESULT g_inLinkOpen = E_UNEXPECTED;

HRESULT ProbeApartment()
{
    HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result)) CoUninitialize();
    return result;
}

LPITEMIDLIST WINAPI BrowseProbe(LPBROWSEINFOA)
{
    g_inFolderBrowser = ProbeApartment();
    return nullptr;  // as if cancelled
}

HINSTANCE WINAPI OpenProbe(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)
{
    g_inLinkOpen = ProbeApartment();
    return reinterpret_cast<HINSTANCE>(33);
}

}  // namespace

TEST(SetupRun, TheFolderBrowserAndTheLinkFindCOMInitialisedAndTheRunUninitialisesItAtItsEnd)
{
    ASSERT_EQ(S_OK, ProbeApartment()) << "COM was left initialised on this thread before the run";
    TestFolder folder("SetupRun");
    std::string destination = folder / "Lexaver";
    ImportReplacement browse("shell32.dll", "SHBrowseForFolderA", reinterpret_cast<void*>(&BrowseProbe));
    ASSERT_TRUE(browse.Replaced());
    UIStaticLink::OpenFunction systemOpen = UIStaticLink::s_open;
    UIStaticLink::s_open = &OpenProbe;

    // Browse, then Next into the test folder; no Mfc42.dll is carried or installed here, so the
    // upgrade dialog comes: its link clicked, then Esc ends the run.
    DialogAnswerer answerer([&destination](HWND dialog) {
        if (HWND browseButton = GetDlgItem(dialog, IDC_BROWSE)) {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), reinterpret_cast<LPARAM>(browseButton));
            SetDlgItemTextA(dialog, IDC_FOLDER, destination.c_str());
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else if (HWND link = GetDlgItem(dialog, IDC_DOWNLOAD_LINK)) {
            SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    CInstallApp app;
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    const std::vector<AnsweredDialog>& seen = answerer.Stop();
    UIStaticLink::s_open = systemOpen;

    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(S_FALSE, g_inFolderBrowser);
    EXPECT_EQ(S_FALSE, g_inLinkOpen);
    EXPECT_EQ(S_OK, ProbeApartment()) << "the run left COM initialised";
}
