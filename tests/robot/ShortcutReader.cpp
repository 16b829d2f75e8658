#include "ShortcutReader.h"

#include "Transcript.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// The link object answers in the ANSI code page, as setup's own calls see it.
std::string AnsiToUtf8(const char* text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return std::string();
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    wide.resize(size - 1);
    return ToUtf8(wide);
}

std::string Field(const char* name, const char* ansi)
{
    std::string field(",");
    field += JsonString(name);
    field += ':';
    field += JsonString(AnsiToUtf8(ansi));
    return field;
}

bool ReadFields(IShellLinkA* link, IPersistFile* file, const std::wstring& path, std::string& json)
{
    if (FAILED(file->Load(path.c_str(), STGM_READ))) return false;
    // INFOTIPSIZE is the longest description the shell keeps; paths stay within MAX_PATH.
    char target[MAX_PATH] = "", arguments[INFOTIPSIZE] = "", description[INFOTIPSIZE] = "";
    char folder[MAX_PATH] = "", icon[MAX_PATH] = "";
    int showCommand = 0, iconIndex = 0;
    HRESULT pathResult = link->GetPath(target, MAX_PATH, nullptr, 0);
    if (FAILED(pathResult) || FAILED(link->GetArguments(arguments, INFOTIPSIZE)) ||
        FAILED(link->GetDescription(description, INFOTIPSIZE)) || FAILED(link->GetShowCmd(&showCommand)) ||
        FAILED(link->GetWorkingDirectory(folder, MAX_PATH)) ||
        FAILED(link->GetIconLocation(icon, MAX_PATH, &iconIndex)))
        return false;
    // Appended piece by piece: GCC 12 warns wrongly of a "literal + string" chain in C++20.
    json = "{";
    json += JsonString("path") + ":" + JsonString(AnsiToUtf8(target));
    json += Field("arguments", arguments) + Field("description", description);
    json += ',';
    json += JsonString("show_command") + ":" + std::to_string(showCommand);
    json += Field("working_directory", folder) + Field("icon_location", icon);
    json += ',';
    json += JsonString("icon_index") + ":" + std::to_string(iconIndex);
    json += ',';
    json += JsonString("path_result") + ":" + std::to_string((long)pathResult) + "}";
    return true;
}

}  // namespace

bool ReadShortcut(const std::wstring& path, std::string& json)
{
    if (FAILED(CoInitialize(nullptr))) return false;
    bool read = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            read = ReadFields(link, file, path, json);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return read;
}
