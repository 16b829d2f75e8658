// The application object: the whole installation is its start-up routine.
#ifndef APP_INSTALLAPP_H
#define APP_INSTALLAPP_H

#include <afxwin.h>

#include "app/RunState.h"

class CDestinationDlg;

class CInstallApp : public CWinApp {
public:
    CInstallApp() : CWinApp(nullptr) {}
    ~CInstallApp() override = default;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    // Runs the setup sequence; FALSE on every path, so that the program then ends.
    BOOL InitInstance() override;
    int ExitInstance() override;

    DWORD m_savedErrorMode = 0;

private:
    void RunSequence(RunState& state, CDestinationDlg& destination);
};

// Shows the destination dialog with the default folder and takes the folder the user accepted
// into the run state. False ends the run: cancelled, not shown at all, or a folder too deep for
// the product's paths (reported).
bool AcceptDestination(RunState& state, CDestinationDlg& destination);

// Creates the destination folder level by level; one that is there already will do. False ends
// the run, after message 138 with the system's reason.
bool CreateDestinationFolder(RunState& state);

#endif
