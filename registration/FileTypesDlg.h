// Asks whether the editor should open and print a list of file extensions as text files.
#ifndef REGISTRATION_FILETYPESDLG_H
#define REGISTRATION_FILETYPESDLG_H

#include <afxwin.h>

class CFileTypesDlg : public CDialog {
public:
    explicit CFileTypesDlg(CWnd* parent = nullptr);
    ~CFileTypesDlg() override = default;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Extensions without their points, separated by spaces; what the user left in the box on Yes.
    CString m_types;

protected:
    // On Yes, a list with an extension that must not become a text file is refused with a
    // message naming it, and the dialog stays open.
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};

#endif
