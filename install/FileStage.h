// The file installation stage under one progress display: system libraries, product files,
// obsolete files, and the uninstaller.
#ifndef INSTALL_FILESTAGE_H
#define INSTALL_FILESTAGE_H

#include "app/RunState.h"

class CProgressDlg;

class FileStage {
public:
    FileStage() = default;
    ~FileStage();
    FileStage(const FileStage&) = delete;
    FileStage& operator=(const FileStage&) = delete;

    // Opens the progress display and sets its range to the stage's entries.
    void Open();
    // Shows the entry's name and moves the bar to the entries already begun.
    void Step(const char* name);
    // Deletes the progress display, which destroys its window.
    void Close();

    int EntriesBegun() const { return m_entryCounter; }
    CProgressDlg* Dialog() const { return m_dialog; }

private:
    CProgressDlg* m_dialog = nullptr;
    int m_entryCounter = 0;
};

// Copies every present product file over whatever is there; a file the distribution lacks is
// skipped, and any other copy failure is reported with Retry and Cancel. False: the user cancelled.
bool CopyProductFiles(FileStage& stage, const RunState& state);

// Removes the files that no current release has; absent ones are the normal case.
void RemoveObsoleteFiles(FileStage& stage, const RunState& state);

// Puts the uninstaller into the Windows folder when the distribution holds the control with its
// version information, and sets the uninstaller path; otherwise reports it and leaves the path
// empty. A copy that fails is reported as the product files' are. False: the user cancelled.
bool InstallUninstaller(RunState& state);

// Whether the uninstaller that the uninstaller path names is there to be run.
bool UninstallerInPlace(const RunState& state);

#endif
