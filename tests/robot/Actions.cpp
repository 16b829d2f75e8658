#include "Actions.h"

#include "Transcript.h"

#include <shlobj.h>

namespace {

void PostKey(HWND hwnd, UINT down, UINT up, WPARAM key, LPARAM flags)
{
    LPARAM scan = (LPARAM)MapVirtualKeyW((UINT)key, 0) << 16;
    PostMessageW(hwnd, down, key, 1 | scan | flags);
    PostMessageW(hwnd, up, key, 1 | scan | flags | 0xC0000000);
}

std::string ChooseFolder(const Step& step, const WindowState& window, HANDLE process, RemoteBuffer& buffer)
{
    if (!IsFolderBrowser(window)) return "not a folder browser";
    // The browser runs in the target process and reads the path from there, in its code page.
    std::wstring wide = FromUtf8(step.path);
    int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], size, nullptr, nullptr);

    void* address = VirtualAllocEx(process, nullptr, ansi.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address) return "VirtualAllocEx failed with " + std::to_string(GetLastError());
    buffer.process = process;
    buffer.address = address;
    SIZE_T written = 0;
    if (!WriteProcessMemory(process, address, ansi.data(), ansi.size(), &written) || written != ansi.size())
        return "WriteProcessMemory failed with " + std::to_string(GetLastError());
    DWORD_PTR selected = 0;
    if (!SendQuery(window.hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(address), selected))
        return "BFFM_SETSELECTIONA was not answered";
    return ClickButton(window, IDOK);
}

}  // namespace

std::string ClickButton(const WindowState& window, int id)
{
    const ControlState* button = FindControl(window, id);
    if (!button) return "no control " + std::to_string(id);
    if (!button->enabled) return "control " + std::to_string(id) + " is disabled";
    PostMessageW(window.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->hwnd));
    return std::string();
}

std::string PerformAction(const Step& step, const WindowState& window, HANDLE process, RemoteBuffer& buffer)
{
    switch (step.kind) {
    case ActionKind::Click:
        return ClickButton(window, step.controlId);
    case ActionKind::Enter:
        PostKey(window.hwnd, WM_KEYDOWN, WM_KEYUP, VK_RETURN, 0);
        return std::string();
    case ActionKind::Esc:
        PostKey(window.hwnd, WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0);
        return std::string();
    case ActionKind::AltF4:
        // Bit 29 is the context code: the Alt key is held.
        PostKey(window.hwnd, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, 1 << 29);
        return std::string();
    case ActionKind::Close:
        PostMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return std::string();
    case ActionKind::Choose:
        return ChooseFolder(step, window, process, buffer);
    case ActionKind::None:
        return std::string();
    }
    return "unknown action";
}

void ReleaseRemote(RemoteBuffer& buffer)
{
    if (buffer.address) VirtualFreeEx(buffer.process, buffer.address, 0, MEM_RELEASE);
    buffer.address = nullptr;
}
