#include "install/FileStage.h"

#include <cstdlib>

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

void CopyProductFiles(FileStage& stage, const RunState& state)
{
    for (const char* name = ProductFileList; name; name = NextName(name)) {
        stage.Step(name);
        char source[MAX_PATH];
        char target[MAX_PATH];
        ComposePath(source, state.moduleFolder, name);
        ComposePath(target, state.destination, name);
        CopyFileA(source, target, FALSE);
    }
}

void RemoveObsoleteFiles(FileStage& stage, const RunState& state)
{
    for (const char* name = ObsoleteFileList; name; name = NextName(name)) {
        stage.Step(name);
        char target[MAX_PATH];
        ComposePath(target, state.destination, name);
        DeleteFileA(target);
    }
}

void InstallUninstaller(RunState& state)
{
    char control[MAX_PATH];
    ComposePath(control, state.moduleFolder, "Lexaver.ocx");
    DWORD handle = 0;
    DWORD size = VersionDll::GetFileVersionInfoSizeA(control, &handle);
    if (size == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        ShowSystemErrorMessage(IDS_FILE_ACCESS, control, MB_ICONHAND);
        return;
    }
    void* info = std::malloc(size);
    if (!info) {
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONHAND);
        return;
    }
    // Only the control's presence with version information counts; the values are not used.
    if (VersionDll::GetFileVersionInfoA(control, handle, size, info)) {
        void* block = nullptr;
        UINT blockLength = 0;
        VersionDll::VerQueryValueA(info, "\\", &block, &blockLength);
    }
    std::free(info);

    state.uninstallerPathLength =
        static_cast<int>(ComposePath(state.uninstallerPath, state.windowsFolder, "Unlexa.exe"));
    char source[MAX_PATH];
    ComposePath(source, state.moduleFolder, "Unlexa.exe");
    CopyFileA(source, state.uninstallerPath, FALSE);
}
