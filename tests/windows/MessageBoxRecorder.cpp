#include "MessageBoxRecorder.h"

namespace {

BOOL CALLBACK FindOwnMessageBox(HWND hwnd, LPARAM result)
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

}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
    : m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_thread(CreateThread(nullptr, 0, &MessageBoxRecorder::Run, this, 0, nullptr))
{
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    Stop();
    CloseHandle(m_stop);
}

const std::vector<ShownMessageBox>& MessageBoxRecorder::Stop()
{
    if (m_thread) {
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, 15000);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    return m_shown;
}

DWORD WINAPI MessageBoxRecorder::Run(LPVOID parameter)
{
    auto* self = static_cast<MessageBoxRecorder*>(parameter);
    while (WaitForSingleObject(self->m_stop, 20) == WAIT_TIMEOUT) {
        HWND found = nullptr;
        EnumWindows(&FindOwnMessageBox, reinterpret_cast<LPARAM>(&found));
        if (!found) continue;
        ShownMessageBox shown;
        char text[1024] = {};
        GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
        shown.text = text;
        EnumChildWindows(found, &FindIcon, reinterpret_cast<LPARAM>(&shown.icon));
        self->m_shown.push_back(shown);
        PostMessageA(found, WM_COMMAND, IDOK, 0);
        // Until it is gone, so that one box is recorded once.
        for (int i = 0; i < 250 && IsWindow(found) && IsWindowVisible(found); ++i) Sleep(20);
    }
    return 0;
}
