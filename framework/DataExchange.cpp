#include "DataExchange.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control) Fail();
    return control;
}

void CDataExchange::Fail()
{
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        int length = ::GetWindowTextLengthA(control);
        ::GetWindowTextA(control, value.GetBuffer(length + 1), length + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd) return;
    HWND window = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(window)) dx->Fail();
}
