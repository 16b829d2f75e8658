// Answers every message box of this process with OK while it lives, recording text and icon.
#ifndef TESTS_MESSAGEBOXRECORDER_H
#define TESTS_MESSAGEBOXRECORDER_H

#include <windows.h>

#include <string>
#include <vector>

#include "DialogAnswerer.h"

struct ShownMessageBox {
    std::string text;
    HICON icon = nullptr;  // compare with LoadIcon(NULL, IDI_HAND) and the like: same process
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder() : m_answerer(DialogAnswerer::Press(IDOK)) {}
    // Stops answering and returns the boxes in the order they appeared.
    const std::vector<ShownMessageBox>& Stop();

private:
    DialogAnswerer m_answerer;
    std::vector<ShownMessageBox> m_shown;
    bool m_stopped = false;
};

#endif
