#include "registration/Shortcuts.h"

#include <afxwin.h>

#include <string>
#include <string_view>

#include "app/Messages.h"
#include "app/PathCompose.h"
#include "install/FileStage.h"
#include "registration/Registry.h"
#include "registration/Shortcut.h"
#include "registration/ShortcutList.h"
#include "res/resource.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Programs and Desktop are the all-users folders on NT; Send To is always the user's own.
bool ReadProgramsFolder(const RunState& state, char (&folder)[kPathBufferSize])
{
    LONG status = state.isNT ? ReadRegValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", folder, 259)
                             : ReadRegValue(HKEY_CURRENT_USER, kShellFolders, "Programs", folder, 259);
    return status == ERROR_SUCCESS;
}

bool ReadDesktopFolder(const RunState& state, char (&folder)[kPathBufferSize])
{
    LONG status = state.isNT ? ReadRegValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop", folder, 259)
                             : ReadRegValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", folder, 259);
    return status == ERROR_SUCCESS;
}

bool ReadSendToFolder(char (&folder)[kPathBufferSize])
{
    return ReadRegValue(HKEY_CURRENT_USER, kShellFolders, "SendTo", folder, kPathBufferSize) == ERROR_SUCCESS;
}

void CreateShortcutIn(const char* folder, const ShortcutEntry& entry, const char* target, const char* arguments)
{
    // A name that does not fit is a shortcut that cannot be made, never a shorter name.
    char linkFile[MAX_PATH];
    if (!ComposePath(linkFile, folder, entry.name.c_str())) return;
    CreateShortcut(target, linkFile, entry.description.c_str(), arguments, "", 0);
}

}  // namespace

bool CreateShortcuts(const RunState& state)
{
    char programs[kPathBufferSize] = {};
    if (!ReadProgramsFolder(state, programs)) return true;

    char group[MAX_PATH];
    if (!ComposePath(group, programs, state.productName)) {
        char shown[2 * kPathBufferSize];
        JoinForMessage(shown, programs, state.productName);
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        ShowSystemErrorMessage(IDS_CREATE_DIRECTORY, shown, MB_ICONINFORMATION);
        return false;
    }
    if (!CreateDirectoryA(group, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        ShowSystemErrorMessage(IDS_CREATE_DIRECTORY, group, MB_ICONINFORMATION);
        return false;
    }

    CString list;
    list.LoadString(state.shortcutListId);
    std::vector<ShortcutEntry> entries = SplitShortcutList(std::string_view(list, list.GetLength()));

    // The uninstaller is told which product to remove and from where; its paths are not quoted.
    std::string uninstallArguments = std::string("/") + state.productName + " /" + state.destination;

    bool first = true;
    for (const ShortcutEntry& entry : entries) {
        char target[MAX_PATH];
        const char* arguments = "";
        if (IsUninstallerTarget(entry.target, GetACP())) {
            // A shortcut to an uninstaller that is not there would remove nothing.
            if (!UninstallerInPlace(state)) continue;
            lstrcpynA(target, state.uninstallerPath, MAX_PATH);
            arguments = uninstallArguments.c_str();
        } else {
            ComposePath(target, state.destination, entry.target.c_str());
        }
        CreateShortcutIn(group, entry, target, arguments);

        if (!first) continue;
        first = false;
        char folder[kPathBufferSize] = {};
        if (ReadDesktopFolder(state, folder)) CreateShortcutIn(folder, entry, target, arguments);
        if (ReadSendToFolder(folder)) CreateShortcutIn(folder, entry, target, arguments);
    }
    return true;
}
