#include "registration/FileTypesDlg.h"

#include <string_view>

#include "registration/ExtensionList.h"
#include "res/resource.h"

CFileTypesDlg::CFileTypesDlg(CWnd* parent)
    : CDialog(IDD_FILE_TYPES, parent),
      m_types("1st asm asp bas c cbl cpp css def dpr for f77 frm h hpj idl inc ini is jav java log lsp lst m me out "
              "pas pl pov py rc rex sql tex ts txt")
{
}

const MessageMap CFileTypesDlg::messageMap = {&CDialog::messageMap, nullptr, 0};

void CFileTypesDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_TYPES, m_types);
    if (dx->m_bFailed) return;
    // A program type made a text file would open in the editor instead of running, everywhere.
    std::string_view list(m_types, m_types.GetLength());
    std::string_view refused = dx->m_bSaveAndValidate ? FindRefusedExtension(list, GetACP()) : std::string_view();
    if (refused.empty()) return;
    CString entry(refused.data(), static_cast<int>(refused.size()));
    CString message;
    message.Format(IDS_TYPE_REFUSED, static_cast<LPCSTR>(entry));
    // Unowned, as every message of setup: task-modal so that the dialog waits for it.
    AfxMessageBox(message, MB_ICONHAND | MB_TASKMODAL);
    // Back in the list with the entry selected, for the user to correct it or answer No: the
    // dialog, disabled while the message was up, gets no focus back by itself.
    HWND edit = GetDlgItemHandle(IDC_TYPES);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    int start = static_cast<int>(refused.data() - list.data());
    ::SendMessageA(edit, EM_SETSEL, start, start + static_cast<int>(refused.size()));
    dx->Fail();
}

BOOL CFileTypesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Posted: the dialog manager selects the whole text of the focused edit after this returns,
    // and the caret is to end up after the last extension with nothing selected.
    int end = m_types.GetLength();
    ::PostMessageA(GetDlgItemHandle(IDC_TYPES), EM_SETSEL, end, end);
    SetForegroundWindow();
    return TRUE;  // the focus goes to the first tab stop, the list
}
