#include "app/InstallApp.h"

#include <objbase.h>

#include <string_view>

#include "app/FileHelpers.h"
#include "app/Messages.h"
#include "app/PathCompose.h"
#include "app/PathScan.h"
#include "app/SettingsCleanup.h"
#include "app/SystemDlls.h"
#include "app/Wow64.h"
#include "install/FileLists.h"
#include "install/FileStage.h"
#include "install/SystemLibraries.h"
#include "registration/AppRegistration.h"
#include "registration/Closing.h"
#include "registration/ControlRegistration.h"
#include "registration/FileAssociations.h"
#include "registration/Registry.h"
#include "registration/SearchPathUpdate.h"
#include "registration/Shortcuts.h"
#include "res/resource.h"
#include "ui/DestinationDlg.h"

RunState::RunState() = default;

namespace {

void GatherNamesAndFolders(RunState& state)
{
    state.productNameLength = LoadStringA(AfxGetResourceHandle(), IDS_PRODUCT_NAME, state.productName,
                                          sizeof state.productName);
    GetModuleFileNameA(AfxGetInstanceHandle(), state.moduleFolder, MAX_PATH);
    state.moduleFolder[MAX_PATH - 1] = '\0';
    std::size_t lastBackslash = LastBackslash(state.moduleFolder, GetACP());
    if (lastBackslash != std::string_view::npos) state.moduleFolder[lastBackslash] = '\0';
    GetWindowsDirectoryA(state.windowsFolder, MAX_PATH);
    // Under WoW64 a replacement queued in System32 would be carried out in the 64-bit folder.
    GetLibraryFolder(state.systemFolder, MAX_PATH);
}

// "ProgramFilesDir" and the product name; without it, "\Program Files" on the Windows drive.
void DefaultDestination(const RunState& state, char (&folder)[kPathBufferSize])
{
    char programFiles[MAX_PATH] = {};
    LONG status = ReadRegValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                               "ProgramFilesDir", programFiles, sizeof programFiles);
    if (status == ERROR_SUCCESS && programFiles[0] && ComposePath(folder, programFiles, state.productName)) return;
    lstrcpynA(programFiles, state.windowsFolder, 3);
    AppendToPath(programFiles, "\\Program Files");
    ComposePath(folder, programFiles, state.productName);
}

// Every path setup composes in the destination folder must fit whole: a cut one names another
// file ("Lexaver.exe.manifest" cut to "Lexaver.exe").
bool DestinationFits(const char* folder)
{
    return lstrlenA(folder) + 1 + LongestName(ProductFileList) <= static_cast<int>(kPathBufferSize) - 1;
}

}  // namespace

bool AcceptDestination(RunState& state, CDestinationDlg& destination)
{
    char defaultFolder[MAX_PATH];
    DefaultDestination(state, defaultFolder);
    destination.m_message.Format(IDS_DESTINATION_MESSAGE, state.productName, state.productName);
    destination.m_folder = defaultFolder;
    // A dialog that could not be shown is no answer: the run ends as on Cancel.
    INT_PTR answer = destination.DoModal();
    if (answer == IDCANCEL || answer == -1) return false;
    if (!DestinationFits(destination.m_folder)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        ShowSystemErrorMessage(IDS_CREATE_DIRECTORY, destination.m_folder, MB_ICONHAND);
        return false;
    }
    lstrcpynA(state.destination, destination.m_folder, MAX_PATH);
    state.destinationLength = lstrlenA(state.destination);
    return true;
}

bool CreateDestinationFolder(RunState& state)
{
    DWORD error = CreateParentFolders(state.destination);
    if (error == ERROR_SUCCESS) {
        if (CreateDirectoryA(state.destination, nullptr)) return true;
        error = GetLastError();
        // Whatever the error: Windows 7 and later refuse a drive root with "Access is denied".
        if (IsExistingFolder(state.destination)) return true;
    }
    SetLastError(error);
    ShowSystemErrorMessage(IDS_CREATE_DIRECTORY, state.destination, MB_ICONHAND);
    return false;
}

const MessageMap CInstallApp::messageMap = {&CWinApp::messageMap, nullptr, 0};

BOOL CInstallApp::InitInstance()
{
    NarrowDllSearchPath();
    Enable3dControls();

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 4) {
        AfxMessageBox(IDS_NEEDS_NEWER_WINDOWS, MB_ICONHAND);
        return FALSE;
    }

    RunState state;
    state.isNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    m_savedErrorMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    GatherNamesAndFolders(state);
    m_pMainWnd = new CEditView;
    InitProgressBarClass();

    // The folder browser and the shell's opening of the download address need COM on this
    // thread ("You must initialize COM before you call SHBrowseForFolder"); the steps that
    // initialise it for themselves then get S_FALSE and keep their own balance.
    HRESULT com = CoInitialize(nullptr);
    CDestinationDlg destination(nullptr);
    RunSequence(state, destination);
    if (SUCCEEDED(com)) CoUninitialize();
    return FALSE;
}

// Steps 5 onwards; returning ends the run, with whatever earlier steps did left in place.
void CInstallApp::RunSequence(RunState& state, CDestinationDlg& destination)
{
    if (!AcceptDestination(state, destination)) return;
    if (!CreateDestinationFolder(state)) return;

    FileStage stage;
    stage.Open();
    if (!UpdateSystemLibraries(stage, state)) return;
    if (!CopyProductFiles(stage, state)) return;
    RemoveObsoleteFiles(stage, state);

    char editor[MAX_PATH];
    DWORD handle = 0;
    bool hasEditor = ComposePath(editor, state.moduleFolder, "Lexaver.exe") &&
                     VersionDll::GetFileVersionInfoSizeA(editor, &handle) != 0;
    state.shortcutListId = hasEditor ? kShortcutListFull : kShortcutListReduced;
    RemoveFileFiltersSetting();
    if (!InstallUninstaller(state)) return;
    stage.Close();

    if (!CreateShortcuts(state)) return;
    RegisterApplication(state);
    RegisterControl(state);

    if (state.shortcutListId == kShortcutListFull) {
        AssociateTextFiles(state);
        if (!UpdateSearchPath(state)) return;
    }
    FinishInstallation(state);
}

int CInstallApp::ExitInstance()
{
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    SetErrorMode(m_savedErrorMode);
    return CWinApp::ExitInstance();
}
