#include "MessageBoxRecorder.h"

const std::vector<ShownMessageBox>& MessageBoxRecorder::Stop()
{
    if (!m_stopped) {
        for (const AnsweredDialog& box : m_answerer.Stop()) m_shown.push_back(ShownMessageBox{box.text, box.icon});
        m_stopped = true;
    }
    return m_shown;
}
