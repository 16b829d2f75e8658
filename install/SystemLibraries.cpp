#include "install/SystemLibraries.h"

#include "app/Messages.h"
#include "app/PathCompose.h"
#include "install/FileLists.h"
#include "install/LibraryVersion.h"
#include "install/PendingRenameFile.h"
#include "install/PendingRenames.h"
#include "res/resource.h"
#include "ui/UpgradeDlg.h"

namespace {

const DWORD kReplaceAtNextStart = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;

// The short form of an existing file's path; the long one when the system cannot tell it.
void ShortPath(const char* path, char (&shortPath)[MAX_PATH])
{
    DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) lstrcpyA(shortPath, path);
}

// A temporary file that was made but is not queued would stay in the system folder for good.
void DeleteKeepingLastError(const char* path)
{
    DWORD error = GetLastError();
    DeleteFileA(path);
    SetLastError(error);
}

// Queues the temporary copy to replace the installed library at the next start of Windows.
bool QueueReplacement(const RunState& state, const char* temporary, const char* installed,
                      PendingRenameFile& renames)
{
    if (state.isNT) {
        if (MoveFileExA(temporary, installed, kReplaceAtNextStart)) return true;
        DWORD error = GetLastError();
        DeleteKeepingLastError(temporary);
        ShowSystemErrorMessage(error == ERROR_ACCESS_DENIED ? IDS_SYSTEM_DLL_ACCESS : IDS_SYSTEM_DLL_UPDATE,
                               installed, MB_ICONHAND);
        return false;
    }

    if (!renames.IsOpen() && !renames.Open(state.windowsFolder)) {
        DeleteFileA(temporary);
        return false;
    }
    // Wininit.ini is read by the 16-bit boot code: short paths only.
    char shortInstalled[MAX_PATH];
    char shortTemporary[MAX_PATH];
    ShortPath(installed, shortInstalled);
    ShortPath(temporary, shortTemporary);
    if (!renames.Add(RenameLines(shortInstalled, shortTemporary))) {
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

// The carried copy goes into a temporary file beside the installed library, which is in use.
bool ReplaceAtRestart(RunState& state, const char* carried, const char* installed, PendingRenameFile& renames)
{
    state.restartNeeded = true;
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(state.systemFolder, "temp", 0, temporary)) {
        ShowSystemErrorMessage2(IDS_COPYING, carried, state.systemFolder, MB_ICONHAND);
        return false;
    }
    if (!CopyFileA(carried, temporary, FALSE)) {
        DeleteKeepingLastError(temporary);
        ShowSystemErrorMessage2(IDS_COPYING, carried, temporary, MB_ICONHAND);
        return false;
    }
    return QueueReplacement(state, temporary, installed, renames);
}

}  // namespace

bool UpdateSystemLibraries(FileStage& stage, RunState& state)
{
    PendingRenameFile renames;  // opened by the first library replaced on Windows 95 or 98
    for (const SystemLibrary* library = SystemLibraryTable; library->name[0]; ++library) {
        stage.Step(library->name);

        char carried[MAX_PATH];
        char installed[MAX_PATH];
        if (!ComposePath(carried, state.moduleFolder, library->name) ||
            !ComposePath(installed, state.systemFolder, library->name)) {
            char from[2 * kPathBufferSize];
            char to[2 * kPathBufferSize];
            JoinForMessage(from, state.moduleFolder, library->name);
            JoinForMessage(to, state.systemFolder, library->name);
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            ShowSystemErrorMessage2(IDS_COPYING, from, to, MB_ICONHAND);
            return false;
        }
        VersionTriple carriedVersion;
        VersionTriple installedVersion;
        if (!ReadVersionTriple(carried, carriedVersion) || !ReadVersionTriple(installed, installedVersion)) {
            AfxMessageBox(IDS_NO_MEMORY, MB_ICONHAND);
            return false;
        }
        VersionTriple minimum;
        minimum.major = library->minimumMajor;
        minimum.minor = library->minimumMinor;
        minimum.build = library->minimumBuild;

        switch (DecideLibraryAction(carriedVersion, installedVersion, minimum)) {
        case LibraryAction::Nothing:
            break;
        case LibraryAction::ShowUpgradeDialog: {
            // A dialog that could not be shown is no answer: the run ends as on Cancel.
            CUpgradeDlg dialog(nullptr);
            INT_PTR answer = dialog.DoModal();
            if (answer == IDCANCEL || answer == -1) return false;
            break;
        }
        case LibraryAction::CopyNow:
            if (!CopyFileA(carried, installed, FALSE)) {
                ShowSystemErrorMessage2(IDS_COPYING, carried, installed, MB_ICONHAND);
                return false;
            }
            break;
        case LibraryAction::ReplaceAtRestart:
            if (!ReplaceAtRestart(state, carried, installed, renames)) return false;
            break;
        }
    }
    return true;
}
