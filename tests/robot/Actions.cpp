#include "Actions.h"

#include "Transcript.h"

#include <shlobj.h>

#include <algorithm>
#include <map>
#include <vector>

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

// A real click of the left button in the middle of the control: the target's hit test decides
// which window gets it, as it would for a user.
std::string MouseClick(const WindowState& window, int id)
{
    const ControlState* control = FindControl(window, id);
    if (!control) return "no control " + std::to_string(id);
    RECT rect;
    if (!GetWindowRect(control->hwnd, &rect)) return "control " + std::to_string(id) + " is gone";
    if (!SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2))
        return "SetCursorPos failed with " + std::to_string(GetLastError());
    // A pause between the moves, as a hand makes: on a busy machine the press could otherwise
    // reach the target before it saw the pointer arrive.
    Sleep(50);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Sleep(30);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Sleep(30);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    return std::string();
}

namespace {

// The screen's pixels in RECT as 0xRRGGBB values, row by row; empty when they cannot be read.
std::vector<DWORD> ScreenPixels(const RECT& rect)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
            GdiFlush();
            const DWORD* pixel = static_cast<const DWORD*>(bits);
            pixels.assign(pixel, pixel + static_cast<size_t>(width) * height);
            for (DWORD& value : pixels) value &= 0xFFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

// The colours of the control's pixels on screen, most frequent first, as "RRGGBB": count.
std::string CaptureColours(const WindowState& window, int id, std::string& details)
{
    const ControlState* control = FindControl(window, id);
    if (!control) return "no control " + std::to_string(id);
    RECT rect;
    if (!GetWindowRect(control->hwnd, &rect)) return "control " + std::to_string(id) + " is gone";
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return "control " + std::to_string(id) + " has no area";

    std::vector<DWORD> pixels = ScreenPixels(rect);
    if (pixels.empty()) return "the screen could not be read";
    std::map<DWORD, int> counts;
    for (DWORD pixel : pixels) ++counts[pixel];

    std::vector<std::pair<int, DWORD>> ordered;
    for (const auto& entry : counts) ordered.push_back({entry.second, entry.first});
    std::sort(ordered.rbegin(), ordered.rend());
    details = "\"colours\":{";
    for (size_t i = 0; i < ordered.size() && i < 16; ++i) {
        char name[8];
        wsprintfA(name, "%06lx", static_cast<unsigned long>(ordered[i].second));  // a DIB pixel reads 0xRRGGBB
        if (i) details += ',';
        details += JsonString(name);
        details += ':';
        details += std::to_string(ordered[i].first);
    }
    details += "}";
    return std::string();
}

// With a colour to wait for, the screen is read again until it shows that colour (the target
// paints when it gets to it), five seconds at most; what was seen last is recorded either way.
std::string ControlColours(const Step& step, const WindowState& window, std::string& details)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::string error = CaptureColours(window, step.controlId, details);
        if (!error.empty() || step.colour.empty()) return error;
        if (details.find("\"" + step.colour + "\"") != std::string::npos) return std::string();
        if (GetTickCount() - start > 5000) {
            details += ",\"waited\":\"in vain\"";
            return std::string();
        }
        Sleep(50);
    }
}

// A button's own click (BM_CLICK): a radio button checks itself, as under the mouse.
std::string PressButton(const WindowState& window, int id)
{
    const ControlState* button = FindControl(window, id);
    if (!button) return "no control " + std::to_string(id);
    if (!button->enabled) return "control " + std::to_string(id) + " is disabled";
    PostMessageW(button->hwnd, BM_CLICK, 0, 0);
    return std::string();
}

// Replaces a control's text as typing would leave it (the system carries the text across).
std::string SetControlText(const WindowState& window, const Step& step)
{
    const ControlState* control = FindControl(window, step.controlId);
    if (!control) return "no control " + std::to_string(step.controlId);
    std::wstring text = FromUtf8(step.path);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control->hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                             5000, &result))
        return "WM_SETTEXT was not answered";
    return std::string();
}

// Ends a run's last window without a restart or logoff: No where there is one, otherwise OK;
// in the restart dialog "later" is checked first.
std::string Dismiss(const WindowState& window)
{
    if (IsMessageBox(window)) return ClickButton(window, FindControl(window, IDNO) ? IDNO : IDOK);
    if (!FindControl(window, 1031)) return "neither a message box nor the restart dialog";
    std::string error = PressButton(window, 1031);
    return error.empty() ? ClickButton(window, IDOK) : error;
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

std::string PerformAction(const Step& step, const WindowState& window, HANDLE process, RemoteBuffer& buffer,
                          std::string& details)
{
    switch (step.kind) {
    case ActionKind::Click:
        return ClickButton(window, step.controlId);
    case ActionKind::Press:
        return PressButton(window, step.controlId);
    case ActionKind::Dismiss:
        return Dismiss(window);
    case ActionKind::Text:
        return SetControlText(window, step);
    case ActionKind::Mouse:
        return MouseClick(window, step.controlId);
    case ActionKind::Colours:
        return ControlColours(step, window, details);
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
    case ActionKind::Await:
        return "await needs the transcript (HoldForPicture)";
    case ActionKind::None:
        return std::string();
    }
    return "unknown action";
}

namespace {

// A digest of the window's texts and of its pixels on screen: equal digests, nothing changed.
std::string LookOf(const WindowState& window, const RECT& rect)
{
    std::string look = SystemText(window.hwnd);
    for (const ControlState& control : window.controls) {
        look += '\n';
        look += SystemText(control.hwnd);
    }
    std::vector<DWORD> pixels = ScreenPixels(rect);
    look.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(DWORD));
    return look;
}

}  // namespace

// Parts of a window paint some time after it shows (a message box's icon), and the progress
// window changes by itself: the picture is taken once nothing has changed for a while, with the
// window's thread held so that it stays so until the file says the picture is taken.
std::string HoldForPicture(const Step& step, const WindowState& window, Transcript& transcript, std::string& details)
{
    const DWORD steadyLimit = 10000, fileLimit = 60000;
    RECT rect = {};
    DWORD start = GetTickCount(), steadySince = start;
    std::string last;
    for (;;) {
        if (!GetWindowRect(window.hwnd, &rect)) return "the window is gone";
        std::string look = LookOf(window, rect);
        if (look != last) {
            last = look;
            steadySince = GetTickCount();
        } else if (GetTickCount() - steadySince >= (DWORD)step.steadyMs) {
            break;
        }
        if (GetTickCount() - start > steadyLimit) {
            details = "\"steady\":\"in vain\",";
            break;
        }
        Sleep(20);
    }
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window.hwnd, nullptr));
    if (thread) SuspendThread(thread);
    std::string where = "\"rect\":[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                        std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "]";
    transcript.Write("awaiting", "\"hwnd\":" + HandleText(window.hwnd) + "," + where + ",\"file\":" + JsonString(step.path));
    std::wstring file = FromUtf8(step.path);
    DWORD waitStart = GetTickCount();
    bool seen = false;
    while (!(seen = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) && GetTickCount() - waitStart < fileLimit)
        Sleep(20);
    if (thread) {
        ResumeThread(thread);
        CloseHandle(thread);
    }
    details += where + ",\"waited\":" + (seen ? std::to_string(GetTickCount() - waitStart) : "\"in vain\"");
    return thread ? std::string() : "the window's thread cannot be held";
}

void ReleaseRemote(RemoteBuffer& buffer)
{
    if (buffer.address) VirtualFreeEx(buffer.process, buffer.address, 0, MEM_RELEASE);
    buffer.address = nullptr;
}
