// Offers to restart Windows now or later when replaced system libraries wait for a restart.
#ifndef REGISTRATION_RESTARTDLG_H
#define REGISTRATION_RESTARTDLG_H

#include <afxwin.h>

class CRestartDlg : public CDialog {
public:
    explicit CRestartDlg(CWnd* parent = nullptr);
    ~CRestartDlg() override = default;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // 0: restart now, 1: restart later, -1: neither checked. Taken from the buttons on OK only.
    int m_choice;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};

#endif
