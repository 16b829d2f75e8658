#include "Robot.h"

namespace {

// The progress percentage static of the setup program.
const int PercentControlId = 1028;
const DWORD SettleMs = 200;
const DWORD PollMs = 10;

}  // namespace

Robot::Robot(Transcript& transcript, HANDLE process, DWORD processId)
    : m_transcript(transcript), m_process(process), m_processId(processId)
{
}

int Robot::Run(DWORD timeoutMs)
{
    for (;;) {
        DWORD cycleStart = GetTickCount();
        if (WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0) break;
        if (m_transcript.Elapsed() >= timeoutMs) {
            RecordEnd();
            m_transcript.Write("timeout", "\"seconds\":" + std::to_string(timeoutMs / 1000));
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
            return 2;
        }
        bool advancing = Poll();
        if (!m_steps.empty()) AdvanceScript();
        if (m_acceptDefaults) PressDefaults();
        // While files are copied the next percentage may stand for a few milliseconds only;
        // a cycle that waited for the target's replies is already paced by it.
        if (!advancing && GetTickCount() - cycleStart < 2) WaitForSingleObject(m_process, PollMs);
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    for (auto& entry : m_windows) m_transcript.Write("closed", "\"hwnd\":" + HandleText(entry.first));
    m_windows.clear();
    RecordEnd();
    m_transcript.Write("exit", "\"code\":" + std::to_string((long long)code));
    return 0;
}

bool Robot::Poll()
{
    // What the watcher saw since the last cycle is older than what the listing below reads.
    std::vector<WindowState> tracked;
    for (auto& entry : m_windows) tracked.push_back(entry.second.state);
    ApplyObservations(tracked);

    std::vector<HWND> visible = ListProcessWindows(m_processId);
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        bool present = false;
        for (HWND hwnd : visible) present = present || hwnd == it->first;
        if (present) {
            ++it;
        } else {
            m_transcript.Write("closed", "\"hwnd\":" + HandleText(it->first));
            it = m_windows.erase(it);
        }
    }

    std::vector<WindowState> fresh;
    for (HWND hwnd : visible) {
        auto known = m_windows.find(hwnd);
        fresh.push_back(ListWindow(hwnd, known == m_windows.end() ? nullptr : &known->second.state, m_followed));
    }
    Record(fresh);
    if (!m_noWatch) FollowPercentWindow(fresh);

    // The percentage is asked although the watcher reads it: the answer comes exactly when the
    // progress window updates, once per file, so each cycle is paced to one file. All windows
    // of the target share its one thread: once it stops answering, asking other controls would
    // only add a wait each.
    bool answering = true;
    bool advancing = false;
    for (int pass = 0; pass < 2 && answering; ++pass) {
        for (WindowState& window : fresh) {
            if (m_settling && window.hwnd == m_answered) continue;  // answered and probably closing
            for (ControlState& control : window.controls) {
                bool wanted = pass == 0 ? control.id == PercentControlId && !m_noWatch : NeedsQuery(control);
                if (!wanted || !answering || !control.visible) continue;
                bool answered;
                if (pass == 0) {
                    // Only to keep pace: the watcher alone reads the value, so that all readings
                    // are in the order they were made; it reads at once when the answer comes.
                    std::wstring ignored;
                    DWORD_PTR copied = 0;
                    answered = SendQuery(control.hwnd, WM_GETTEXT, 0, 0, copied, &ignored,
                                         [&]() { ApplyObservations(fresh); });
                    if (answered) m_watcher.ReadNow();
                } else {
                    answered = ReadControl(control);
                }
                answering = answered || IsWindowVisible(control.hwnd) == FALSE;  // hidden: closing
                if (pass == 0 && answered) advancing = true;
            }
        }
    }
    Record(fresh);
    if (m_percentChanged) m_lastPercentChange = GetTickCount();
    m_percentChanged = false;
    // A percentage that has stood still for a while (a dialog over the progress window) is
    // not worth asking for without a pause.
    return advancing && GetTickCount() - m_lastPercentChange < 100;
}

// The watcher follows the progress window, whose values may stand only a few milliseconds, the
// last one of a run only until the window goes.
void Robot::FollowPercentWindow(const std::vector<WindowState>& fresh)
{
    std::vector<HWND> controls;
    std::vector<std::string> recorded;
    for (const WindowState& window : fresh) {
        if (!FindControl(window, PercentControlId)) continue;
        for (const ControlState& control : window.controls) {
            if (control.ownText) continue;
            controls.push_back(control.hwnd);
            recorded.push_back(control.text);
        }
    }
    if (controls == m_followed) return;
    m_watcher.Follow(controls, recorded);
    m_followed = controls;
}

// Returns true when the percentage was among the changes.
bool Robot::ApplyObservations(std::vector<WindowState>& states)
{
    bool percent = false;
    for (const Observation& seen : m_watcher.Take()) {
        for (WindowState& window : states) {
            for (ControlState& control : window.controls) {
                if (control.hwnd != seen.control || control.text == seen.text) continue;
                control.text = seen.text;
                percent = percent || control.id == PercentControlId;
                Record(states);
            }
        }
    }
    return percent;
}

void Robot::Record(const std::vector<WindowState>& fresh)
{
    // Bottom first: a window shown later lies above those shown before it, so windows that
    // appear between two looks are recorded in the order they came.
    for (auto it = fresh.rbegin(); it != fresh.rend(); ++it) {
        const WindowState& window = *it;
        if (!IsWindow(window.hwnd)) continue;  // gone while being read: "closed" follows
        auto known = m_windows.find(window.hwnd);
        if (known == m_windows.end()) {
            Tracked tracked;
            tracked.state = window;
            tracked.order = ++m_appearances;
            m_windows[window.hwnd] = tracked;
            if (FindControl(window, PercentControlId)) m_percentChanged = true;
            m_transcript.Write("appeared", WindowJson(window));
        } else if (!SameState(known->second.state, window)) {
            const ControlState* before = FindControl(known->second.state, PercentControlId);
            const ControlState* after = FindControl(window, PercentControlId);
            if (after && (!before || before->text != after->text)) m_percentChanged = true;
            known->second.state = window;
            m_transcript.Write("changed", WindowJson(window));
        }
    }
}

void Robot::AdvanceScript()
{
    if (m_settling) {
        bool gone = m_windows.find(m_answered) == m_windows.end() || !IsWindow(m_answered);
        if (!gone && (m_untilGone || GetTickCount() - m_answeredAt < SettleMs)) return;
        ReleaseRemote(m_remote);
        m_settling = false;
    }
    // An optional step whose window has not come is passed over once a later step's window is
    // there: the scenario scripted that window itself.
    const Tracked* best = nullptr;
    size_t index = m_nextStep;
    for (; index < m_steps.size() && !best; ++index) {
        for (auto& entry : m_windows) {
            const Tracked& tracked = entry.second;
            if (!tracked.state.enabled || !IsWindowEnabled(entry.first) || !StepMatches(m_steps[index], tracked.state))
                continue;
            if (!best || tracked.order > best->order) best = &tracked;
        }
        if (!best && !m_steps[index].optional) return;
    }
    if (!best) return;
    m_nextStep = index - 1;
    const Step& step = m_steps[m_nextStep];

    std::string details;
    std::string error = step.kind == ActionKind::Await ? HoldForPicture(step, best->state, m_transcript, details)
                                                        : PerformAction(step, best->state, m_process, m_remote, details);
    RecordAnswer(best->state.hwnd,
                 "\"line\":" + std::to_string(step.line) + ",\"pattern\":" + JsonString(step.pattern) +
                     ",\"action\":" + JsonString(step.action) + (step.optional ? ",\"optional\":true" : "") +
                     (details.empty() ? "" : "," + details),
                 error);
    ++m_nextStep;
    m_settling = true;
    m_answered = best->state.hwnd;
    m_answeredAt = GetTickCount();
    m_untilGone = step.kind == ActionKind::Choose && error.empty();
}

void Robot::PressDefaults()
{
    for (auto& entry : m_windows) {
        Tracked& tracked = entry.second;
        if (tracked.defaultPressed || !tracked.state.enabled || !IsDialog(tracked.state)) continue;
        bool hasButton = false;
        for (const ControlState& control : tracked.state.controls)
            hasButton = hasButton || (IsPushButton(control) && control.visible && control.enabled);
        if (!hasButton) {
            tracked.defaultPressed = true;  // a progress window: nothing to press
            continue;
        }
        DWORD_PTR reply = 0;
        if (!SendQuery(entry.first, DM_GETDEFID, 0, 0, reply)) continue;
        tracked.defaultPressed = true;
        if (HIWORD(reply) != DC_HASDEFID) continue;
        int id = LOWORD(reply);
        const ControlState* button = FindControl(tracked.state, id);
        if (!button || !IsPushButton(*button) || !button->visible) continue;
        std::string error = ClickButton(tracked.state, id);
        RecordAnswer(entry.first, "\"action\":" + JsonString("click " + std::to_string(id)), error);
    }
}

void Robot::RecordAnswer(HWND hwnd, const std::string& fields, const std::string& error)
{
    std::string all = "\"hwnd\":" + HandleText(hwnd) + "," + fields;
    if (!error.empty()) all += ",\"error\":" + JsonString(error);
    m_transcript.Write("answer", all);
}

void Robot::RecordEnd()
{
    ReleaseRemote(m_remote);
    if (m_nextStep >= m_steps.size()) return;
    std::string list;
    for (size_t i = m_nextStep; i < m_steps.size(); ++i) {
        if (m_steps[i].optional) continue;
        if (!list.empty()) list += ",";
        list += JsonString(m_steps[i].pattern + " | " + m_steps[i].action);
    }
    if (!list.empty()) m_transcript.Write("unmatched", "\"steps\":[" + list + "]");
}
