#include "Watcher.h"

#include "WindowReader.h"

Watcher::Watcher()
{
    InitializeCriticalSection(&m_lock);
    m_wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

Watcher::~Watcher()
{
    EnterCriticalSection(&m_lock);
    m_stopping = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
    WaitForSingleObject(m_thread, 5000);
    CloseHandle(m_thread);
    CloseHandle(m_wake);
    DeleteCriticalSection(&m_lock);
}

void Watcher::Follow(const std::vector<HWND>& controls, const std::vector<std::string>& recorded)
{
    EnterCriticalSection(&m_lock);
    if (controls != m_controls) {
        m_controls = controls;
        m_last = recorded;
        m_seen.clear();
    }
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

std::vector<Observation> Watcher::Take()
{
    EnterCriticalSection(&m_lock);
    std::vector<Observation> seen;
    seen.swap(m_seen);
    LeaveCriticalSection(&m_lock);
    return seen;
}

DWORD WINAPI Watcher::Run(void* self)
{
    static_cast<Watcher*>(self)->Loop();
    return 0;
}

void Watcher::Loop()
{
    for (;;) {
        EnterCriticalSection(&m_lock);
        bool stopping = m_stopping;
        std::vector<HWND> controls = m_controls;
        LeaveCriticalSection(&m_lock);
        if (stopping) return;
        if (controls.empty()) {
            WaitForSingleObject(m_wake, INFINITE);
            continue;
        }
        std::vector<std::string> texts;
        std::vector<bool> shown;
        for (HWND control : controls) {
            texts.push_back(SystemText(control));
            shown.push_back(IsWindowVisible(control) != FALSE);  // a closing window reads empty
        }
        EnterCriticalSection(&m_lock);
        if (controls == m_controls) {
            for (size_t i = 0; i < controls.size(); ++i) {
                if (!shown[i] || texts[i] == m_last[i]) continue;
                m_last[i] = texts[i];
                m_seen.push_back(Observation{controls[i], texts[i]});
            }
        }
        LeaveCriticalSection(&m_lock);
        WaitForSingleObject(m_wake, 1);
    }
}
