#include "DataExchange.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    if (m_bFailed) return nullptr;
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control) Fail();
    return control;
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
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
    if (window && !control.SubclassWindow(window)) dx->Fail();
}

void DDX_Radio(CDataExchange* dx, int firstId, int& value)
{
    HWND control = dx->PrepareCtrl(firstId);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        // Other controls inside the group (a label, say) take no index.
        if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (dx->m_bSaveAndValidate) {
                if (::SendMessageA(control, BM_GETCHECK, 0, 0) != BST_UNCHECKED) value = index;
            } else {
                ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(::GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}
