// Modal and modeless dialogs from templates, with data exchange between members and controls.
#ifndef FRAMEWORK_CDIALOG_H
#define FRAMEWORK_CDIALOG_H

#include "CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    CDialog() = default;   // modeless: the template is given to Create
    CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_pParentWnd(parent) {}

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Runs the dialog until EndDialog; IDOK, IDCANCEL or another result, -1 when it cannot be created.
    virtual INT_PTR DoModal();
    // Creates the modeless window; TRUE when it exists.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    // FALSE moves members into controls, TRUE controls into members; FALSE back when validation failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();

protected:
    static const MessageMapEntry messageEntries[];
    virtual void DoDataExchange(CDataExchange* dx) {}
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Centres a dialog that nobody placed: a hidden template, unowned or over a disabled owner.
    void CenterIfPlacedByNoOne(const RECT& before);
    BOOL TemplateIsVisible() const;
    LRESULT OnCommandOK(WPARAM, LPARAM);
    LRESULT OnCommandCancel(WPARAM, LPARAM);
};

#endif
