// Data exchange between dialog members and controls (DoDataExchange's helpers).
#ifndef FRAMEWORK_DATAEXCHANGE_H
#define FRAMEWORK_DATAEXCHANGE_H

#include "CWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control's window; a missing control is a template fault, reported as a failed exchange.
    HWND PrepareCtrl(int id);
    // Ends the exchange: the helpers after it do nothing, and UpdateData reports the failure.
    void Fail() { m_bFailed = TRUE; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The radio group that begins at firstId and runs to the next WS_GROUP control: value is the
// index of the checked button among the group's radio buttons, -1 when none is checked.
void DDX_Radio(CDataExchange* dx, int firstId, int& value);

#endif
