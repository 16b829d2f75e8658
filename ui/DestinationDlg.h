// The first window of setup: where the product goes, with a folder browser to choose another.
#ifndef UI_DESTINATIONDLG_H
#define UI_DESTINATIONDLG_H

#include <afxwin.h>

class CDestinationDlg : public CDialog {
public:
    explicit CDestinationDlg(CWnd* parent = nullptr);
    ~CDestinationDlg() override = default;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    CString m_folder;
    CString m_message;
    HICON m_hIcon;   // a shared resource icon: never destroyed

protected:
    static const MessageMapEntry messageEntries[];
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);
};

#endif
