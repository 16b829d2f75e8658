#include "CDialog.h"

#include "DataExchange.h"

const MessageMapEntry CDialog::messageEntries[] = {
    {WM_COMMAND, BN_CLICKED, IDOK, MapHandler(&CDialog::OnCommandOK)},
    {WM_COMMAND, BN_CLICKED, IDCANCEL, MapHandler(&CDialog::OnCommandCancel)},
};
const MessageMap CDialog::messageMap = MakeMessageMap(&CWnd::messageMap, messageEntries);

INT_PTR CDialog::DoModal()
{
    HWND owner = nullptr;
    GetSafeOwner(m_pParentWnd, &owner);
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    HWND parentWindow = parent ? parent->m_hWnd : nullptr;
    ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId), parentWindow,
                         &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return m_hWnd != nullptr;
}

void CDialog::EndDialog(int result)
{
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::OnCommandOK(WPARAM, LPARAM)
{
    OnOK();
    return 0;
}

LRESULT CDialog::OnCommandCancel(WPARAM, LPARAM)
{
    OnCancel();
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;  // everything else reaches the object through its subclass

    // From here on every message passes through the object's map; the dialog manager's own
    // procedure, which calls back into this one, is the default.
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog->SubclassWindow(hwnd)) return FALSE;
    RECT before;
    ::GetWindowRect(hwnd, &before);
    BOOL result = dialog->OnInitDialog();
    dialog->CenterIfPlacedByNoOne(before);
    return result;
}

BOOL CDialog::TemplateIsVisible() const
{
    // The dialog manager creates every dialog hidden and shows it after WM_INITDIALOG, so the
    // window's style cannot tell: the template's own style does.
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_templateId), RT_DIALOG);
    const WORD* words = found ? static_cast<const WORD*>(::LockResource(::LoadResource(instance, found))) : nullptr;
    if (!words) return FALSE;
    bool extended = words[0] == 1 && words[1] == 0xFFFF;   // DLGTEMPLATEEX: style after help id and extended style
    DWORD style = 0;
    ::CopyMemory(&style, extended ? words + 6 : words, sizeof style);
    return (style & WS_VISIBLE) != 0;
}

void CDialog::CenterIfPlacedByNoOne(const RECT& before)
{
    // A template shown from creation, a child, or a dialog placed by its initialisation keeps
    // its place; so does one beside an enabled owner, which is not modal to it.
    if (TemplateIsVisible()) return;
    if (GetStyle() & (WS_VISIBLE | WS_CHILD)) return;
    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    if (after.left != before.left || after.top != before.top) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner)) return;
    CenterWindow();
}
