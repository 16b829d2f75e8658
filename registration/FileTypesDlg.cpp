#include "registration/FileTypesDlg.h"

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
