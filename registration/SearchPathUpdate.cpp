#include "registration/SearchPathUpdate.h"

#include <afxwin.h>

#include <optional>
#include <string>

#include "app/Messages.h"
#include "app/PathCompose.h"
#include "app/SystemDlls.h"
#include "app/Wow64.h"
#include "registration/Registry.h"
#include "registration/SearchPath.h"
#include "registration/StartupFile.h"
#include "res/resource.h"

namespace {

// Every program and user shares the system Path: on 64-bit Windows it is read and written through
// the 64-bit view, in which the system leaves other programs' entries as they are.
const char kEnvironmentKey[] = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

// NT keeps "Path" in wide characters, and other programs' entries may hold characters that the
// ANSI code page cannot: read and written through the A functions they would come back as "?"
// or as look-alike letters, another folder, for every user. Windows 95 has no use for these
// functions, so they are looked up, not imported.
using QueryValueWide = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using SetValueWide = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

// The whole value, up to its first zero character.
LONG ReadWidePath(const char* keyPath, std::wstring& value)
{
    auto query = GetSystemProc<QueryValueWide>(GetModuleHandleA("advapi32.dll"), "RegQueryValueExW");
    if (!query) return ERROR_CALL_NOT_IMPLEMENTED;
    HKEY key;
    LONG status = OpenKeyPath(HKEY_LOCAL_MACHINE, keyPath, KEY_READ | SharedKeyView(), &key);
    if (status != ERROR_SUCCESS) return status;
    DWORD size = 0;
    status = query(key, L"Path", nullptr, nullptr, nullptr, &size);
    // The value may grow between the size query and the read: ask again with the new size.
    for (int attempt = 0; status == ERROR_SUCCESS; ++attempt) {
        value.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = query(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]), &size);
        if (status == ERROR_SUCCESS) {
            std::size_t end = 0;
            while (end < size / sizeof(wchar_t) && value[end]) ++end;
            value.resize(end);
            break;
        }
        if (status != ERROR_MORE_DATA || attempt == 7) break;
        status = ERROR_SUCCESS;
    }
    CloseKeyPath();
    return status;
}

LONG WriteWidePath(const char* keyPath, const std::wstring& value)
{
    auto set = GetSystemProc<SetValueWide>(GetModuleHandleA("advapi32.dll"), "RegSetValueExW");
    if (!set) return ERROR_CALL_NOT_IMPLEMENTED;
    HKEY key;
    LONG status = OpenKeyPath(HKEY_LOCAL_MACHINE, keyPath, KEY_SET_VALUE | SharedKeyView(), &key);
    if (status != ERROR_SUCCESS) return status;
    // Expandable whatever it was: other entries may name %SystemRoot% and the like.
    status = set(key, L"Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    CloseKeyPath();
    return status;
}

// The value as the ANSI code page sees it, for the whole-entry comparison: a character the code
// page cannot hold becomes a control character, which no folder name has, so that a look-alike
// never passes for the destination.
std::string ComparableImage(const std::wstring& value)
{
    std::string image;
    for (wchar_t character : value) {
        char bytes[2];
        wchar_t back = 0;
        int length = WideCharToMultiByte(CP_ACP, 0, &character, 1, bytes, sizeof bytes, nullptr, nullptr);
        if (length > 0 && MultiByteToWideChar(CP_ACP, 0, bytes, length, &back, 1) == 1 && back == character)
            image.append(bytes, length);
        else
            image += '\x01';
    }
    return image;
}

}  // namespace

bool AddToNtSearchPath(RunState& state, const char* keyPath)
{
    std::wstring value;
    LONG status = ReadWidePath(keyPath, value);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        ShowSystemErrorMessage(IDS_KEY_ACCESS, keyPath, MB_ICONHAND);
        return false;
    }
    std::string image = ComparableImage(value);
    std::optional<std::string> extended = AddToPathValue(image, state.destination, GetACP());
    if (!extended) return true;
    // The edit keeps the value and appends to it, after dropping a lone trailing ";" at most:
    // the old characters stay as they were, and only what was appended is converted.
    std::size_t kept = extended->compare(0, image.size(), image) == 0 ? image.size() : image.size() - 1;
    value.resize(value.size() - (image.size() - kept));
    wchar_t appended[2 * kPathBufferSize];
    int length = MultiByteToWideChar(CP_ACP, 0, extended->c_str() + kept, -1, appended, 2 * kPathBufferSize);
    value.append(appended, length > 0 ? length - 1 : 0);
    status = WriteWidePath(keyPath, value);
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
