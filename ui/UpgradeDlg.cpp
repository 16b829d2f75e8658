#include "ui/UpgradeDlg.h"

#include "res/resource.h"

CUpgradeDlg::CUpgradeDlg(CWnd* parent) : CDialog(IDD_UPGRADE, parent), m_link(nullptr, FALSE)
{
}

const MessageMap CUpgradeDlg::messageMap = {&CDialog::messageMap, nullptr, 0};

void CUpgradeDlg::DoDataExchange(CDataExchange*)
{
    // Nothing to exchange: the link is a subclassed control, not a value.
}

BOOL CUpgradeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Should the static be missing, the address still shows as plain text.
    m_link.SubclassDlgItem(IDC_DOWNLOAD_LINK, this);
    return TRUE;  // the focus goes to the first tab stop, Exit
}
