// The first window of setup: where the product goes, with a folder browser to choose another.
#ifndef UI_DESTINATIONDLG_H
#define UI_DESTINATIONDLG_H

#include <afxwin.h>

class CDestinationDlg : public CDialog {
public:
    explicit CDestinationDlg(CWnd* parent = nullptr);
    ~CDestinationDlg() override = default;

    const MessageMap* GetMessageMap() const override;

    CString m_folder;
    CString m_message;
    HICON m_hIcon;   // a shared resource icon: never destroyed

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);
};

#endif
