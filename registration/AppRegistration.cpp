#include "registration/AppRegistration.h"

#include <afxwin.h>

#include <cstring>
#include <string>

#include "app/FileHelpers.h"
#include "app/PathCompose.h"
#include "app/PathScan.h"
#include "install/FileStage.h"
#include "registration/RegScript.h"
#include "registration/Registry.h"
#include "res/resource.h"

namespace {

const char kAppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Lexaver.exe";
const char kUninstallKeys[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The registry functions take terminated texts; the script's views are not.
bool WriteScriptValue(const RegScriptWrite& write)
{
    std::string key(write.key);
    std::string name(write.name);
    LONG status;
    if (write.kind == RegScriptValueKind::DoubleWord) {
        DWORD number = write.number;
        status = WriteRegValue(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_DWORD, &number, 4);
    } else {
        std::string text(write.text);
        status = WriteRegString(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, text.c_str());
    }
    return status == ERROR_SUCCESS;
}

}  // namespace

void RegisterApplication(const RunState& state)
{
    char appPath[MAX_PATH];
    ComposePath(appPath, state.destination, "Lexaver.exe");
    WriteRegString(HKEY_LOCAL_MACHINE, kAppPathKey, "", REG_SZ, appPath);

    // An entry whose uninstaller is not there would offer a removal that cannot run.
    if (UninstallerInPlace(state)) {
        std::string uninstallKey = std::string(kUninstallKeys) + state.productName;
        WriteRegString(HKEY_LOCAL_MACHINE, uninstallKey.c_str(), "DisplayName", REG_SZ, state.productName);
        // Two arguments for the uninstaller, each after a "/"; it expects them unquoted.
        std::string commandLine =
            std::string(state.uninstallerPath) + " /" + state.productName + " /" + state.destination;
        WriteRegString(HKEY_LOCAL_MACHINE, uninstallKey.c_str(), "UninstallString", REG_SZ, commandLine.c_str());
    }

    DeleteRegKeyTree(HKEY_CURRENT_USER, "Software\\Lexaver", "Ocx");
    ImportRegScript();
}

void ImportRegScript()
{
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return;
    path[MAX_PATH - 1] = '\0';
    std::size_t lastBackslash = LastBackslash(path, GetACP());
    if (lastBackslash == std::string_view::npos) return;
    path[lastBackslash] = '\0';
    if (AppendToPath(path, "\\Lexaver.reg")) ImportRegScriptFile(path);
}

int ImportRegScriptFile(const char* path)
{
    HGLOBAL memory = nullptr;
    char* text = nullptr;
    // A missing script is the normal case of a distribution without settings.
    if (ReadWholeFile(path, &memory, &text) != kReadWholeFileOk) return 0;
    // The walk ends at the first zero byte, which ReadWholeFile puts after the text.
    int written = WalkRegScript(std::string_view(text), GetACP(), &WriteScriptValue);
    GlobalUnlock(memory);
    GlobalFree(memory);
    return written;
}
