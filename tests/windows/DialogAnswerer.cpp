#include "DialogAnswerer.h"

namespace {

BOOL CALLBACK FindOwnDialog(HWND hwnd, LPARAM result)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && lstrcmpA(cls, "#32770") == 0) {
        *reinterpret_cast<HWND*>(result) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM result)
{
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(result) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// Gone, or another dialog came up over it (a message box over a dialog that stays open).
bool WaitUntilGone(HWND dialog, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
        HWND top = nullptr;
        EnumWindows(&FindOwnDialog, reinterpret_cast<LPARAM>(&top));
        if (top && top != dialog) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

DialogAnswerer::DialogAnswerer(Answer answer)
    : m_answer(std::move(answer)),
      m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_thread(CreateThread(nullptr, 0, &DialogAnswerer::Run, this, 0, nullptr))
{
}

DialogAnswerer::~DialogAnswerer()
{
    Stop();
    CloseHandle(m_stop);
}

const std::vector<AnsweredDialog>& DialogAnswerer::Stop()
{
    if (m_thread) {
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, 20000);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    return m_seen;
}

DWORD WINAPI DialogAnswerer::Run(LPVOID parameter)
{
    auto* self = static_cast<DialogAnswerer*>(parameter);
    while (WaitForSingleObject(self->m_stop, 20) == WAIT_TIMEOUT) {
        HWND found = nullptr;
        EnumWindows(&FindOwnDialog, reinterpret_cast<LPARAM>(&found));
        if (!found) continue;
        AnsweredDialog seen = Describe(found);
        self->m_answer(found);
        if (!WaitUntilGone(found, 10000)) {
            // A wrong answer must not leave the test waiting for ever.
            seen.answered = false;
            PostMessageA(found, WM_COMMAND, seen.yesAndNo ? IDNO : IDCANCEL, 0);
            WaitUntilGone(found, 5000);
        }
        self->m_seen.push_back(seen);
    }
    return 0;
}

AnsweredDialog DialogAnswerer::Describe(HWND dialog)
{
    AnsweredDialog seen;
    char text[2048] = {};
    GetWindowTextA(dialog, text, sizeof text);
    seen.caption = text;
    text[0] = '\0';
    GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
    seen.text = text;
    EnumChildWindows(dialog, &FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
    seen.yesAndNo = GetDlgItem(dialog, IDYES) && GetDlgItem(dialog, IDNO) && !GetDlgItem(dialog, IDOK);
    return seen;
}

DialogAnswerer::Answer DialogAnswerer::Press(int buttonId)
{
    return [buttonId](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0); };
}

DialogAnswerer::Answer DialogAnswerer::Key(int controlId, WPARAM key)
{
    return [controlId, key](HWND dialog) {
        HWND control = GetDlgItem(dialog, controlId);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        PostMessageA(control, WM_KEYUP, key, 0xC0000000);
    };
}

DialogAnswerer::Answer DialogAnswerer::CloseBox()
{
    return [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
}
