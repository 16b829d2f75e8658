#include "registration/RestartDlg.h"

#include "res/resource.h"

CRestartDlg::CRestartDlg(CWnd* parent) : CDialog(IDD_RESTART, parent), m_choice(0)
{
}

const MessageMap CRestartDlg::messageMap = {&CDialog::messageMap, nullptr, 0};

void CRestartDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IDC_RESTART_NOW, m_choice);
}

BOOL CRestartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetForegroundWindow();
    return TRUE;
}
