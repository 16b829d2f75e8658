#include "install/FileStage.h"

#include <cstdlib>

#include "app/FileHelpers.h"
#include "app/Messages.h"
#include "app/PathCompose.h"
#include "app/SystemDlls.h"
#include "install/FileLists.h"
#include "res/resource.h"
#include "ui/ProgressDlg.h"

FileStage::~FileStage()
{
    Close();
}

void FileStage::Open()
{
    m_dialog = new CProgressDlg(0);
    m_dialog->Create(nullptr);
    m_dialog->SetRange(0, StageTotal());
    m_entryCounter = 0;
}

void FileStage::Step(const char* name)
{
    if (m_dialog) {
        CString line;
        line.Format(IDS_INSTALLING, name);
        m_dialog->SetFileText(line);
        m_dialog->SetPos(m_entryCounter);
    }
    ++m_entryCounter;
}

void FileStage::Close()
{
    delete m_dialog;
    m_dialog = nullptr;
}

namespace {

bool IsMissing(const char* path)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Copies a file of the distribution over whatever is there. One that the distribution lacks is
// skipped, and so is one that is its own target (setup started from the destination). Any other
// failure (a full disk, a file in use, the distribution itself gone) is the user's to retry or
// to end the run on, so that no run ends as a success with old and new files mixed. False: ended.
bool CopyDistributionFile(const char* folder, const char* name, const char* target)
{
    char source[MAX_PATH];
    bool composed = ComposePath(source, folder, name);
    if (composed && IsSameFile(source, target)) return true;
    for (;;) {
        if (composed && CopyFileA(source, target, FALSE)) return true;
        DWORD error = composed ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        // A disk taken out or a share dropped makes every file missing: only a distribution that
        // is still there lacks a file.
        if (composed && IsMissing(source) && IsExistingFolder(folder)) return true;
        SetLastError(error);
        char shown[2 * kPathBufferSize];
        JoinForMessage(shown, folder, name);
        if (ShowSystemErrorMessage2(IDS_COPYING, shown, target, MB_RETRYCANCEL | MB_ICONHAND) != IDRETRY)
            return false;
    }
}

}  // namespace

bool CopyProductFiles(FileStage& stage, const RunState& state)
{
    for (const char* name = ProductFileList; name; name = NextName(name)) {
        stage.Step(name);
        char target[MAX_PATH];
        ComposePath(target, state.destination, name);  // fits: the destination was checked for it
        if (!CopyDistributionFile(state.moduleFolder, name, target)) return false;
    }
    return true;
}

void RemoveObsoleteFiles(FileStage& stage, const RunState& state)
{
    for (const char* name = ObsoleteFileList; name; name = NextName(name)) {
        stage.Step(name);
        char target[MAX_PATH];
        if (ComposePath(target, state.destination, name)) DeleteFileA(target);
    }
}

bool InstallUninstaller(RunState& state)
{
    char control[MAX_PATH];
    DWORD handle = 0;
    bool composed = ComposePath(control, state.moduleFolder, "Lexaver.ocx");
    DWORD size = composed ? VersionDll::GetFileVersionInfoSizeA(control, &handle) : 0;
    if (size == 0) {
        char shown[2 * kPathBufferSize];
        JoinForMessage(shown, state.moduleFolder, "Lexaver.ocx");
        SetLastError(composed ? ERROR_FILE_NOT_FOUND : ERROR_FILENAME_EXCED_RANGE);
        ShowSystemErrorMessage(IDS_FILE_ACCESS, shown, MB_ICONHAND);
        return true;
    }
    void* info = std::malloc(size);
    if (!info) {
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONHAND);
        return true;
    }
    // Only the control's presence with version information counts; the values are not used.
    if (VersionDll::GetFileVersionInfoA(control, handle, size, info)) {
        void* block = nullptr;
        UINT blockLength = 0;
        VersionDll::VerQueryValueA(info, "\\", &block, &blockLength);
    }
    std::free(info);

    if (!ComposePath(state.uninstallerPath, state.windowsFolder, "Unlexa.exe")) return true;
    state.uninstallerPathLength = lstrlenA(state.uninstallerPath);
    return CopyDistributionFile(state.moduleFolder, "Unlexa.exe", state.uninstallerPath);
}

bool UninstallerInPlace(const RunState& state)
{
    return state.uninstallerPath[0] && GetFileAttributesA(state.uninstallerPath) != INVALID_FILE_ATTRIBUTES;
}
