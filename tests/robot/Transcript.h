// The robot's record of a run: one JSON object per line, UTF-8.
#ifndef ROBOT_TRANSCRIPT_H
#define ROBOT_TRANSCRIPT_H

#include <windows.h>

#include <string>

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
std::string JsonString(const std::string& utf8);
std::string HandleText(HWND hwnd);

class Transcript {
public:
    bool Open(const std::wstring& path);
    // fields: the members after "t" and "event", already in JSON ("\"hwnd\":\"0x1\",...") or empty.
    void Write(const char* event, const std::string& fields);
    DWORD Elapsed() const { return GetTickCount() - m_start; }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    DWORD m_start = 0;
};

#endif
