#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

#include "DialogAnswerer.h"
#include "registration/FileTypesDlg.h"
#include "res/resource.h"

namespace {

const char kDefaultList[] =
    "1st asm asp bas c cbl cpp css def dpr for f77 frm h hpj idl inc ini is jav java log lsp lst m me out "
    "pas pl pov py rc rex sql tex ts txt";

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(FileTypesDialog, AppearsWithTheDefaultListAndTheCaretAfterItsLastCharacter)
{
    CFileTypesDlg dialog;
    EXPECT_STREQ(kDefaultList, dialog.m_types);
    std::string shown;
    DWORD start = 1, end = 0;
    DialogAnswerer answerer([&](HWND d) {
        HWND list = GetDlgItem(d, IDC_TYPES);
        shown = ItemText(d, IDC_TYPES);
        SendMessageA(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    auto seen = answerer.Stop();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("File type associations", seen[0].caption);
    EXPECT_EQ(kDefaultList, shown);
    EXPECT_EQ(sizeof kDefaultList - 1, start) << "the caret stands after the last character";
    EXPECT_EQ(start, end) << "nothing is selected";
    // Whether it comes to the foreground is not asserted: the scenarios that run beside these
    // tests show windows of other prefixes on the same display, which the system may prefer.
}

TEST(FileTypesDialog, YesReturnsOkWithTheListAsEdited)
{
    CFileTypesDlg dialog;
    DialogAnswerer answerer([](HWND d) {
        SetDlgItemTextA(d, IDC_TYPES, "txt  log ");
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ("txt  log ", dialog.m_types);
}

TEST(FileTypesDialog, NoEscapeTheCloseBoxAndEnterInTheListReturnCancel)
{
    const struct {
        const char* how;
        DialogAnswerer::Answer answer;
    } ways[] = {
        {"No", DialogAnswerer::Press(IDCANCEL)},
        {"Esc", DialogAnswerer::Key(IDC_TYPES, VK_ESCAPE)},
        {"close box", DialogAnswerer::CloseBox()},
        {"Enter in the list", DialogAnswerer::Key(IDC_TYPES, VK_RETURN)},
    };
    for (const auto& way : ways) {
        CFileTypesDlg dialog;
        DialogAnswerer answerer([&](HWND d) {
            SetDlgItemTextA(d, IDC_TYPES, "edited");
            way.answer(d);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal()) << way.how;
        EXPECT_STREQ(kDefaultList, dialog.m_types) << way.how;
        auto seen = answerer.Stop();
        ASSERT_EQ(1u, seen.size()) << way.how;
        EXPECT_TRUE(seen[0].answered) << way.how;
    }
}
