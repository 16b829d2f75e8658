#include "WindowReader.h"

#include "Transcript.h"

#include <cstdio>

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<ProcessWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && IsWindowVisible(hwnd)) search->windows->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::string ClassOf(HWND hwnd)
{
    wchar_t name[256] = L"";
    int length = GetClassNameW(hwnd, name, 256);
    return ToUtf8(std::wstring(name, length > 0 ? length : 0));
}

bool SameText(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

bool KeepsOwnText(const std::string& className)
{
    return SameText(className, "Edit") || SameText(className, "ComboBox") ||
           SameText(className, "RichEdit20A") || SameText(className, "RichEdit20W");
}

bool IsCheckable(const ControlState& control)
{
    switch (control.style & 0x0F) {  // BS_TYPEMASK
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON:
    case BS_3STATE: case BS_AUTO3STATE: case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

std::string CheckJson(int checked)
{
    switch (checked) {
    case CheckOff: return "false";
    case CheckOn: return "true";
    case CheckMixed: return "\"indeterminate\"";
    default: return "null";
    }
}

}  // namespace

std::string SystemText(HWND hwnd)
{
    wchar_t text[8192];  // not static: the watcher thread reads texts too
    int length = GetWindowTextW(hwnd, text, 8192);
    return ToUtf8(std::wstring(text, length > 0 ? length : 0));
}

std::vector<HWND> ListProcessWindows(DWORD processId)
{
    std::vector<HWND> windows;
    ProcessWindows search = {processId, &windows};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return windows;
}

WindowState ListWindow(HWND hwnd, const WindowState* previous, const std::vector<HWND>& followed)
{
    WindowState window;
    window.hwnd = hwnd;
    window.className = ClassOf(hwnd);
    window.caption = SystemText(hwnd);
    window.enabled = IsWindowEnabled(hwnd) != FALSE;

    std::vector<HWND> children;
    EnumChildWindows(hwnd, CollectChildren, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        ControlState control;
        control.hwnd = child;
        control.id = GetDlgCtrlID(child);
        control.className = ClassOf(child);
        control.enabled = IsWindowEnabled(child) != FALSE;
        control.visible = IsWindowVisible(child) != FALSE;
        control.style = (DWORD)GetWindowLongW(child, GWL_STYLE);
        control.checked = IsButton(control) ? CheckOff : CheckNone;
        control.ownText = KeepsOwnText(control.className);
        bool isFollowed = false;
        for (HWND other : followed) isFollowed = isFollowed || other == child;
        if (!control.ownText && !isFollowed) {
            control.text = SystemText(child);
            control.textKnown = true;
        }
        if (previous) {
            for (const ControlState& old : previous->controls) {
                if (old.hwnd != child) continue;
                if (control.ownText || isFollowed) {
                    control.textKnown = old.textKnown;
                    control.text = old.text;
                }
                if (IsButton(control)) control.checked = old.checked;
            }
        }
        window.controls.push_back(control);
    }
    return window;
}

bool ReadControl(ControlState& control, const std::function<void()>& whileWaiting)
{
    std::wstring text;
    DWORD_PTR copied = 0;
    if (!SendQuery(control.hwnd, WM_GETTEXT, 0, 0, copied, &text, whileWaiting)) return false;
    control.text = ToUtf8(text);
    control.textKnown = true;
    // Push buttons and group boxes cannot be checked; asking them would only cost a wait.
    if (IsButton(control) && IsCheckable(control)) {
        DWORD_PTR state = 0;
        if (!SendQuery(control.hwnd, BM_GETCHECK, 0, 0, state)) return false;
        control.checked = (int)state;
    }
    return true;
}

bool NeedsQuery(const ControlState& control)
{
    return control.ownText || (IsButton(control) && IsCheckable(control));
}

bool SameState(const WindowState& a, const WindowState& b)
{
    if (a.caption != b.caption || a.enabled != b.enabled || a.className != b.className) return false;
    if (a.controls.size() != b.controls.size()) return false;
    for (size_t i = 0; i < a.controls.size(); ++i) {
        const ControlState& x = a.controls[i];
        const ControlState& y = b.controls[i];
        if (x.hwnd != y.hwnd || x.id != y.id || x.textKnown != y.textKnown || x.text != y.text ||
            x.enabled != y.enabled || x.visible != y.visible || x.checked != y.checked || x.style != y.style)
            return false;
    }
    return true;
}

std::string WindowJson(const WindowState& window)
{
    std::string json = "\"hwnd\":" + HandleText(window.hwnd) + ",\"class\":" + JsonString(window.className) +
                       ",\"caption\":" + JsonString(window.caption) +
                       ",\"enabled\":" + (window.enabled ? "true" : "false") +
                       ",\"messagebox\":" + (IsMessageBox(window) ? "true" : "false") + ",\"controls\":[";
    for (size_t i = 0; i < window.controls.size(); ++i) {
        const ControlState& control = window.controls[i];
        char numbers[96];
        snprintf(numbers, sizeof numbers, "{\"id\":%d,\"style\":\"0x%08lx\",", control.id,
                 (unsigned long)control.style);
        if (i) json += ",";
        json += numbers;
        json += "\"class\":" + JsonString(control.className) +
                ",\"text\":" + (control.textKnown ? JsonString(control.text) : std::string("null")) +
                ",\"enabled\":" + (control.enabled ? "true" : "false") +
                ",\"visible\":" + (control.visible ? "true" : "false") +
                ",\"checked\":" + CheckJson(control.checked) + "}";
    }
    return json + "]";
}

bool IsDialog(const WindowState& window)
{
    return window.className == "#32770";
}

bool IsMessageBox(const WindowState& window)
{
    // The text static (id 0xFFFF) alone is not enough: dialogs built from DIALOG templates give
    // their unnamed statics that id too. A message box holds only its text, its icon and
    // buttons with the ID... results as ids.
    if (!IsDialog(window)) return false;
    bool hasText = false;
    for (const ControlState& control : window.controls) {
        if (SameText(control.className, "Static")) {
            if (control.id == 0xFFFF) hasText = true;
            else if ((control.style & 0x1F) != SS_ICON) return false;
        } else if (IsButton(control)) {
            if (control.id < IDOK || control.id > 11 || !IsPushButton(control)) return false;
        } else {
            return false;
        }
    }
    return hasText;
}

bool IsFolderBrowser(const WindowState& window)
{
    if (!IsDialog(window)) return false;
    for (const ControlState& control : window.controls)
        if (SameText(control.className, "SysTreeView32")) return true;
    return false;
}

bool IsButton(const ControlState& control)
{
    return SameText(control.className, "Button");
}

bool IsPushButton(const ControlState& control)
{
    DWORD type = control.style & 0x0F;
    return IsButton(control) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

const ControlState* FindControl(const WindowState& window, int id)
{
    for (const ControlState& control : window.controls)
        if (control.id == id) return &control;
    return nullptr;
}
