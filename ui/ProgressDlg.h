// The modeless progress window of the file installation: the current file line, a bar and a
// percentage. Its position update is also where the thread's pending messages are processed.
#ifndef UI_PROGRESSDLG_H
#define UI_PROGRESSDLG_H

#include <afxwin.h>

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(UINT captionStringId = 0);
    ~CProgressDlg() override;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    BOOL DestroyWindow() override;

    BOOL Create(CWnd* parent = nullptr);
    void SetRange(int lower, int upper);
    int SetPos(int pos);
    void SetFileText(LPCSTR text);
    void ProcessPendingMessages();

    CProgressCtrl m_progressBar;
    UINT m_captionStringId;
    int m_rangeLower = 0;
    int m_rangeUpper = 100;
    int m_stepSize = 10;
    BOOL m_ownerDisabled = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}      // the dialog cannot be closed by the user:
    void OnCancel() override {}  // not by Enter, Esc or a close request

private:
    void RestoreOwner();
    void ShowPercentage(int pos);
};

#endif
