// Watches the windows of one started process, records them and answers them.
#ifndef ROBOT_ROBOT_H
#define ROBOT_ROBOT_H

#include "Actions.h"
#include "Transcript.h"
#include "Watcher.h"

#include <map>

class Robot {
public:
    Robot(Transcript& transcript, HANDLE process, DWORD processId);
    void UseScript(const std::vector<Step>& steps) { m_steps = steps; }
    void AcceptDefaults() { m_acceptDefaults = true; }
    // Reads the progress window like any other, without the watcher or the pacing query.
    void NoWatch() { m_noWatch = true; }
    // Returns the robot's exit code: 0 when the program ended, 2 on timeout.
    int Run(DWORD timeoutMs);

private:
    struct Tracked {
        WindowState state;
        unsigned order = 0;         // order of appearance, for the newest match
        bool defaultPressed = false;
    };

    bool Poll();  // true while a progress percentage moves
    void Record(const std::vector<WindowState>& fresh);
    void FollowPercentWindow(const std::vector<WindowState>& fresh);
    bool ApplyObservations(std::vector<WindowState>& states);
    void AdvanceScript();
    void PressDefaults();
    void RecordAnswer(HWND hwnd, const std::string& fields, const std::string& error);
    void RecordEnd();

    Transcript& m_transcript;
    HANDLE m_process;
    DWORD m_processId;
    std::map<HWND, Tracked> m_windows;
    unsigned m_appearances = 0;
    bool m_percentChanged = false;
    DWORD m_lastPercentChange = 0;

    std::vector<Step> m_steps;
    size_t m_nextStep = 0;
    bool m_settling = false;      // the last answered window may still be closing
    HWND m_answered = nullptr;
    DWORD m_answeredAt = 0;
    bool m_untilGone = false;     // a chosen folder: wait for the browser to go, however long
    RemoteBuffer m_remote;
    bool m_acceptDefaults = false;
    bool m_noWatch = false;
    Watcher m_watcher;
    std::vector<HWND> m_followed;  // the controls whose texts the watcher reads
};

#endif
