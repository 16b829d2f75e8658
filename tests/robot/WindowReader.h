// Reads the top-level windows of another process and their controls.
#ifndef ROBOT_WINDOWREADER_H
#define ROBOT_WINDOWREADER_H

#include "Query.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum CheckState { CheckNone = -1, CheckOff = 0, CheckOn = 1, CheckMixed = 2 };

struct ControlState {
    HWND hwnd = nullptr;
    int id = 0;
    std::string className;
    bool textKnown = false;  // false while a text that only WM_GETTEXT tells is not answered yet
    std::string text;
    bool ownText = false;    // an edit keeps its text to itself; the system holds no copy
    bool enabled = false;
    bool visible = false;
    int checked = CheckNone;
    DWORD style = 0;
};

struct WindowState {
    HWND hwnd = nullptr;
    std::string className;
    std::string caption;
    bool enabled = false;
    std::vector<ControlState> controls;
};

std::vector<HWND> ListProcessWindows(DWORD processId);
// The text the system holds for a window (caption, static, button); never waits for its thread.
std::string SystemText(HWND hwnd);

// Everything that needs no message to the window's thread: the texts that the system holds
// for the window and its statics and buttons. What only the window's thread can tell (an edit's
// text, a check state) is taken over from `previous` until it is asked again, and so are the
// texts of the `followed` controls, which another reader keeps up to date.
WindowState ListWindow(HWND hwnd, const WindowState* previous, const std::vector<HWND>& followed);

// Asks the control's thread with WM_GETTEXT (and BM_GETCHECK for check boxes and radio buttons);
// see SendQuery for the wait. Returns false when nothing was answered.
bool ReadControl(ControlState& control, const std::function<void()>& whileWaiting = nullptr);
bool NeedsQuery(const ControlState& control);

bool SameState(const WindowState& a, const WindowState& b);
std::string WindowJson(const WindowState& window);

bool IsDialog(const WindowState& window);
bool IsMessageBox(const WindowState& window);
bool IsFolderBrowser(const WindowState& window);
bool IsButton(const ControlState& control);
bool IsPushButton(const ControlState& control);
const ControlState* FindControl(const WindowState& window, int id);

#endif
