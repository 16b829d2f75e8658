// Tells the user that system files must be upgraded first, with a link to an archive of them.
#ifndef UI_UPGRADEDLG_H
#define UI_UPGRADEDLG_H

#include <afxwin.h>

#include "ui/UIStaticLink.h"

class CUpgradeDlg : public CDialog {
public:
    explicit CUpgradeDlg(CWnd* parent = nullptr);
    ~CUpgradeDlg() override = default;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Opens the address that the template shows: a new dialog starts in the link colour.
    UIStaticLink m_link;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};

#endif
