#include "registration/Shortcut.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

// Defined here rather than taken from libuuid, so that nothing beyond ole32 is linked for them.
const CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT FillAndSave(IShellLinkA* link, IPersistFile* file, const char* target, const char* linkFile,
                    const char* description, const char* arguments, const char* iconPath, int iconIndex)
{
    HRESULT result = link->SetPath(target);
    if (FAILED(result)) return result;
    result = link->SetDescription(description);
    if (FAILED(result)) return result;
    result = link->SetArguments(arguments);
    if (FAILED(result)) return result;
    if (iconPath && iconPath[0]) {
        result = link->SetIconLocation(iconPath, iconIndex);
        if (FAILED(result)) return result;
    }
    result = link->SetShowCmd(SW_SHOWNORMAL);
    if (FAILED(result)) return result;

    // A path that does not convert must not reach Save unterminated.
    WCHAR widePath[MAX_PATH + 1] = {};
    if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, widePath, MAX_PATH) == 0) {
        DWORD error = GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    return file->Save(widePath, TRUE);
}

}  // namespace

HRESULT CreateShortcut(const char* target, const char* linkFile, const char* description, const char* arguments,
                       const char* iconPath, int iconIndex)
{
    // Only a successful CoInitialize is balanced: uninitialising after a refused one would end
    // the caller's own COM use.
    bool initialised = SUCCEEDED(CoInitialize(nullptr));
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) {
        IPersistFile* file = nullptr;
        result = link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) {
            result = FillAndSave(link, file, target, linkFile, description, arguments, iconPath, iconIndex);
            file->Release();
        }
        link->Release();
    }
    if (initialised) CoUninitialize();
    return FAILED(result) ? result : S_OK;
}
