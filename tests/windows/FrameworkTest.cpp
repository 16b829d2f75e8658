#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

#include "DialogAnswerer.h"
#include "res/resource.h"
#include "ui/DestinationDlg.h"

namespace {

// Ends itself right after initialisation, as a user pressing a button would.
class SelfEndingDestinationDlg : public CDestinationDlg {
public:
    explicit SelfEndingDestinationDlg(UINT command) : m_command(command) {}
    std::string folderShownAtInit;
    std::string messageShownAtInit;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CDestinationDlg::OnInitDialog();
        char text[1024] = {};
        GetDlgItemTextA(m_hWnd, IDC_FOLDER, text, sizeof text);
        folderShownAtInit = text;
        GetDlgItemTextA(m_hWnd, IDC_MESSAGE, text, sizeof text);
        messageShownAtInit = text;
        ::SetDlgItemTextA(m_hWnd, IDC_FOLDER, "C:\\Chosen");
        PostMessage(WM_COMMAND, m_command);
        return result;
    }

private:
    UINT m_command;
};

// A request no heap can meet.
void ExhaustMemory()
{
    void* volatile block = ::operator new(PTRDIFF_MAX - 15);
    ::operator delete(block);
}

// Runs out of memory in its initialisation, or when OK is pressed.
class OutOfMemoryDlg : public CDialog {
public:
    explicit OutOfMemoryDlg(bool inInit) : CDialog(IDD_RESTART), m_inInit(inInit) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_inInit) ExhaustMemory();
        return TRUE;
    }
    void OnOK() override { ExhaustMemory(); }

private:
    bool m_inInit;
};

// What a run that runs out of memory shows and how it ends, told on the standard error stream:
// the process ends before anything else could be asked. Presses OK on every dialog and box.
class OutOfMemoryWitness : public CWinApp {
public:
    OutOfMemoryWitness()
        : m_answerer([](HWND dialog) {
              AnsweredDialog shown = DialogAnswerer::Describe(dialog);
              if (!shown.text.empty())
                  std::fprintf(stderr, "box \"%s\"%s;", shown.text.c_str(),
                               shown.icon == LoadIcon(nullptr, IDI_HAND) ? " with the stop icon" : "");
              PostMessageA(dialog, WM_COMMAND, IDOK, 0);
          })
    {
    }
    int ExitInstance() override
    {
        std::fprintf(stderr, " then ExitInstance");
        return 29;
    }

private:
    DialogAnswerer m_answerer;
};

// A static that colours itself through the reflected WM_CTLCOLORSTATIC.
class ReflectingStatic : public CStatic {
public:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            {WM_REFLECT_BASE + WM_CTLCOLORSTATIC, 0, 0, MapHandler(&ReflectingStatic::OnCtlColor)},
        };
        static const MessageMap map = MakeMessageMap(CStatic::GetMessageMap(), entries);
        return &map;
    }
    int calls = 0;

private:
    LRESULT OnCtlColor(WPARAM, LPARAM)
    {
        ++calls;
        return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    }
};

class ReflectionDlg : public CDialog {
public:
    ReflectionDlg() : CDialog(IDD_DESTINATION) {}
    ReflectingStatic message;
    LRESULT colourReturned = 0;
    LRESULT plainReturned = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_MESSAGE, message); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        HDC dc = GetDC(m_hWnd);
        colourReturned = SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(message.m_hWnd));
        plainReturned = SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(GetDlgItemHandle(IDC_FOLDER)));
        ReleaseDC(m_hWnd, dc);
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }
};

}  // namespace

TEST(CStringTest, LoadsAWholeStringResourceWithItsLineFeeds)
{
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_DESTINATION_MESSAGE));
    EXPECT_STREQ("Setup will install %s in the following folder.\n\nTo install to this folder, click &Next.\n\n"
                 "To install to a different folder, click &Browse and select another folder.\n\n"
                 "You can choose not to install %s by clicking Cancel to exit setup.",
                 text);
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringTest, FormatsFromAStringResourceAndFromText)
{
    CString line;
    line.Format(IDS_INSTALLING, "Ada.ini");
    EXPECT_STREQ("Installing Ada.ini.", line);
    std::string longName(2000, 'n');
    line.Format("%s|%d", longName.c_str(), 7);
    EXPECT_EQ(longName + "|7", std::string(line));
    // Around each buffer size tried, where the system formatter fills the buffer without a terminator.
    for (size_t length : {255u, 256u, 257u, 511u, 512u, 513u}) {
        std::string text(length, 'x');
        line.Format("%s", text.c_str());
        EXPECT_EQ(text, std::string(line)) << length;
    }
    line.Format("%s", "");
    EXPECT_TRUE(line.IsEmpty());
}

TEST(DialogTest, NextReturnsOkAndTakesTheControlsIntoTheMembers)
{
    SelfEndingDestinationDlg dialog(IDOK);
    dialog.m_folder = "C:\\Program Files\\Lexaver";
    dialog.m_message = "Message";
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("C:\\Program Files\\Lexaver", dialog.folderShownAtInit);
    EXPECT_EQ("Message", dialog.messageShownAtInit);
    EXPECT_STREQ("C:\\Chosen", dialog.m_folder);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(DialogTest, CancelReturnsCancelAndLeavesTheMembers)
{
    SelfEndingDestinationDlg dialog(IDCANCEL);
    dialog.m_folder = "C:\\Default";
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_STREQ("C:\\Default", dialog.m_folder);
}

TEST(DialogTest, TheFolderBrowserIsOwnedByTheDestinationDialogWhichWaitsForIt)
{
    CDestinationDlg dialog(nullptr);
    HWND destination = nullptr;
    HWND browserOwner = nullptr;
    BOOL destinationEnabled = TRUE;
    DialogAnswerer answerer([&](HWND d) {
        char caption[64] = {};
        GetWindowTextA(d, caption, sizeof caption);
        if (lstrcmpA(caption, "Lexaver installation") != 0) {
            // The browser: while it is up, Next or a second Browse must not reach the dialog.
            browserOwner = GetWindow(d, GW_OWNER);
            destinationEnabled = IsWindowEnabled(destination);
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        } else if (!destination) {
            destination = d;
            PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED), 0);
        } else {
            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        }
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    ASSERT_EQ(3u, answerer.Stop().size());
    EXPECT_EQ(destination, browserOwner);
    EXPECT_FALSE(destinationEnabled);
}

TEST(DialogTest, AMissingTemplateFailsWithMinusOne)
{
    CDialog dialog(4000);
    EXPECT_EQ(-1, dialog.DoModal());
}

TEST(DialogTest, TheDestinationEditCannotBeTypedIntoNorTabbedTo)
{
    struct Probe : CDestinationDlg {
        LONG style = 0;
        BOOL OnInitDialog() override
        {
            CDestinationDlg::OnInitDialog();
            style = GetWindowLongA(GetDlgItemHandle(IDC_FOLDER), GWL_STYLE);
            PostMessage(WM_COMMAND, IDCANCEL);
            return TRUE;
        }
    } dialog;
    dialog.DoModal();
    EXPECT_NE(0L, dialog.style & ES_READONLY);
    EXPECT_EQ(0L, dialog.style & WS_TABSTOP);
    EXPECT_EQ(0L, dialog.style & WS_BORDER);
}

TEST(MessageReflectionTest, TheParentOffersCtlColorStaticToTheSubclassedChild)
{
    ReflectionDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.message.calls);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)), dialog.colourReturned);
    EXPECT_NE(dialog.colourReturned, dialog.plainReturned);
    EXPECT_EQ(nullptr, dialog.message.m_hWnd);  // detached when its window went
}

TEST(MessageBoxTest, CaptionIsTheProgramNameWithoutExtension)
{
    struct TestApp : CWinApp {
        int shown = 0;
        BOOL InitInstance() override
        {
            shown = AfxMessageBox(IDS_NO_MEMORY, MB_ICONHAND);
            return FALSE;
        }
        int ExitInstance() override { return 17; }
    } app;
    DialogAnswerer answerer(DialogAnswerer::Press(IDOK));
    EXPECT_EQ(17, AfxWinMain(GetModuleHandleA(nullptr)));
    const std::vector<AnsweredDialog>& seen = answerer.Stop();
    EXPECT_EQ(IDOK, app.shown);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("windows_tests", seen[0].caption);
    EXPECT_EQ("Could not allocate memory", seen[0].text);
}

// Message 129 with the stop icon, then the run ends as InitInstance's return would end it.
const char kOutOfMemoryEnd[] = "box \"Could not allocate memory\" with the stop icon; then ExitInstance";

TEST(OutOfMemoryTest, AnAllocationThatFailsInAStepShowsMessage129AndEndsTheRun)
{
    EXPECT_EXIT({
        OutOfMemoryWitness app;
        ExhaustMemory();
    }, testing::ExitedWithCode(29), kOutOfMemoryEnd);
}

TEST(OutOfMemoryTest, AnAllocationThatFailsInsideADialogShowsMessage129AndEndsTheRun)
{
    for (bool inInit : {true, false}) {
        SCOPED_TRACE(inInit ? "initialisation" : "OK pressed");
        EXPECT_EXIT({
            OutOfMemoryWitness app;
            OutOfMemoryDlg(inInit).DoModal();
        }, testing::ExitedWithCode(29), kOutOfMemoryEnd);
    }
}
