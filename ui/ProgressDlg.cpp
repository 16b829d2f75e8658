#include "ui/ProgressDlg.h"

#include "res/resource.h"
#include "ui/Percentage.h"

#include <cstring>

namespace {

const UINT kDefaultCaption = IDS_PROGRESS_CAPTION;

LPARAM RangeParam(int lower, int upper)
{
    return MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper));
}

}  // namespace

CProgressDlg::CProgressDlg(UINT captionStringId)
    : m_captionStringId(captionStringId ? captionStringId : kDefaultCaption)
{
}

CProgressDlg::~CProgressDlg()
{
    if (m_hWnd) DestroyWindow();
}

const MessageMap CProgressDlg::messageMap = {&CDialog::messageMap, nullptr, 0};

BOOL CProgressDlg::Create(CWnd* parent)
{
    m_pParentWnd = GetSafeOwner(parent);
    if (m_pParentWnd && m_pParentWnd->IsWindowEnabled()) {
        m_pParentWnd->EnableWindow(FALSE);
        m_ownerDisabled = TRUE;
    }
    if (CDialog::Create(IDD_PROGRESS, parent)) return TRUE;
    RestoreOwner();
    return FALSE;
}

void CProgressDlg::RestoreOwner()
{
    if (m_ownerDisabled && m_pParentWnd) m_pParentWnd->EnableWindow(TRUE);
    m_ownerDisabled = FALSE;
}

BOOL CProgressDlg::DestroyWindow()
{
    // The owner comes back before this window goes, so that activation returns to it.
    RestoreOwner();
    return CDialog::DestroyWindow();
}

void CProgressDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS_BAR, m_progressBar);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progressBar.SendMessage(PBM_SETRANGE, 0, RangeParam(m_rangeLower, m_rangeUpper));
    m_progressBar.SendMessage(PBM_SETSTEP, m_stepSize);
    m_progressBar.SendMessage(PBM_SETPOS, m_rangeLower);
    CString caption;
    caption.LoadString(m_captionStringId);
    SetWindowText(caption);
    SetForegroundWindow();
    return TRUE;
}

void CProgressDlg::SetRange(int lower, int upper)
{
    m_rangeLower = lower;
    m_rangeUpper = upper;
    if (m_progressBar.m_hWnd) m_progressBar.SendMessage(PBM_SETRANGE, 0, RangeParam(lower, upper));
}

int CProgressDlg::SetPos(int pos)
{
    ProcessPendingMessages();
    if (!m_progressBar.m_hWnd) return 0;
    int previous = static_cast<int>(LOWORD(m_progressBar.SendMessage(PBM_SETPOS, pos)));
    ShowPercentage(pos);
    return previous;
}

void CProgressDlg::ShowPercentage(int pos)
{
    std::string text = PercentText(ProgressPercent(pos, m_rangeLower, m_rangeUpper));
    // Only a changed percentage is written, so that the text does not flicker.
    char current[32] = {};
    GetDlgItemTextA(m_hWnd, IDC_PERCENT, current, sizeof current);
    if (std::strcmp(current, text.c_str()) != 0) SetDlgItemText(IDC_PERCENT, text.c_str());
}

void CProgressDlg::SetFileText(LPCSTR text)
{
    if (m_hWnd) SetDlgItemText(IDC_FILE_TEXT, text);
}

void CProgressDlg::ProcessPendingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (m_hWnd && IsDialogMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
