// Follows the texts of one window's controls from a thread of its own, about every millisecond,
// so that a value standing only a few milliseconds is not lost while the robot does other work.
#ifndef ROBOT_WATCHER_H
#define ROBOT_WATCHER_H

#include <windows.h>

#include <string>
#include <vector>

struct Observation {
    HWND control;
    std::string text;
};

class Watcher {
public:
    Watcher();
    ~Watcher();
    // The controls to follow (their system-held texts), with the texts already recorded for
    // them; an empty list stops following.
    void Follow(const std::vector<HWND>& controls, const std::vector<std::string>& recorded);
    // Reads without waiting for the next millisecond.
    void ReadNow() { SetEvent(m_wake); }
    // The changes seen since the last call, oldest first.
    std::vector<Observation> Take();

private:
    static DWORD WINAPI Run(void* self);
    void Loop();

    CRITICAL_SECTION m_lock;
    HANDLE m_wake;
    HANDLE m_thread;
    bool m_stopping = false;
    std::vector<HWND> m_controls;
    std::vector<std::string> m_last;
    std::vector<Observation> m_seen;
};

#endif
