// Answers the dialogs and message boxes of this process from a thread of its own, one after the
// other as they appear, and records what each showed.
#ifndef TESTS_DIALOGANSWERER_H
#define TESTS_DIALOGANSWERER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct AnsweredDialog {
    std::string caption;
    std::string text;        // a message box's text; empty for a dialog of ours
    HICON icon = nullptr;    // compare with LoadIcon(NULL, IDI_ASTERISK) and the like: same process
    bool yesAndNo = false;   // Yes and No buttons, no OK
    bool answered = true;    // false: still open after the answer, closed by force
};

class DialogAnswerer {
public:
    // Runs on the answering thread with each dialog once it is visible; it should end the dialog
    // or bring up another over it (a dialog met again is answered again).
    using Answer = std::function<void(HWND dialog)>;

    explicit DialogAnswerer(Answer answer);
    ~DialogAnswerer();
    // Stops answering and returns the dialogs in the order they appeared.
    const std::vector<AnsweredDialog>& Stop();

    // What a dialog or message box of this process shows, as recorded for each answered one.
    static AnsweredDialog Describe(HWND dialog);

    // Answers that end a dialog: a button (WM_COMMAND), a key pressed in a control, the close box.
    static Answer Press(int buttonId);
    static Answer Key(int controlId, WPARAM key);
    static Answer CloseBox();

private:
    static DWORD WINAPI Run(LPVOID self);
    Answer m_answer;
    std::vector<AnsweredDialog> m_seen;
    HANDLE m_stop;
    HANDLE m_thread;
};

#endif
