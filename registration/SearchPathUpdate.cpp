#include "registration/SearchPathUpdate.h"

#include <afxwin.h>

#include <optional>
#include <string>

#include "app/Messages.h"
#include "registration/Registry.h"
#include "registration/SearchPath.h"
#include "registration/StartupFile.h"
#include "res/resource.h"

namespace {

const char kEnvironmentKey[] = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

}  // namespace

bool AddToNtSearchPath(RunState& state, const char* keyPath)
{
    std::string value;
    LONG status = ReadRegString(HKEY_LOCAL_MACHINE, keyPath, "Path", value);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        ShowSystemErrorMessage(IDS_KEY_ACCESS, keyPath, MB_ICONHAND);
        return false;
    }
    std::optional<std::string> extended = AddToPathValue(value, state.destination, GetACP());
    if (!extended) return true;
    // Expandable whatever it was: other entries may name %SystemRoot% and the like.
    status = WriteRegString(HKEY_LOCAL_MACHINE, keyPath, "Path", REG_EXPAND_SZ, extended->c_str());
    if (status != ERROR_SUCCESS) {
        char key[1024];  // as much as wsprintfA ever writes
        wsprintfA(key, "HKEY_LOCAL_MACHINE\\%s", keyPath);
        SetLastError(static_cast<DWORD>(status));
        ShowSystemErrorMessage(IDS_FILE_WRITE, key, MB_ICONHAND);
        return false;
    }
    state.pathChanged = true;
    return true;
}

bool UpdateSearchPath(RunState& state)
{
    if (state.isNT) return AddToNtSearchPath(state, kEnvironmentKey);
    return AddToStartupFile(state.destination, "C:");
}
