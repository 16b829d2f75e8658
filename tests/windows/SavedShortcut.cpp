#include "SavedShortcut.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace {

const CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void ReadFields(IShellLinkA* link, SavedShortcut& saved)
{
    char text[1024] = {};
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    saved.path = text;
    text[0] = '\0';
    link->GetDescription(text, sizeof text);
    saved.description = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    saved.arguments = text;
    text[0] = '\0';
    link->GetIconLocation(text, sizeof text, &saved.iconIndex);
    saved.iconPath = text;
    link->GetShowCmd(&saved.showCommand);
}

}  // namespace

SavedShortcut ReadSavedShortcut(const std::string& file)
{
    SavedShortcut saved;
    HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&persist)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
                saved.loaded = true;
                ReadFields(link, saved);
            }
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
    return saved;
}
