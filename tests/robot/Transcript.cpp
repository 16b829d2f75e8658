#include "Transcript.h"

#include <cstdio>

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], size);
    return out;
}

std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += (char)c;
            }
        }
    }
    return out + "\"";
}

std::string HandleText(HWND hwnd)
{
    char text[24];
    snprintf(text, sizeof text, "\"0x%08llx\"", (unsigned long long)(ULONG_PTR)hwnd);
    return text;
}

bool Transcript::Open(const std::wstring& path)
{
    m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    m_start = GetTickCount();
    return m_file != INVALID_HANDLE_VALUE;
}

void Transcript::Write(const char* event, const std::string& fields)
{
    char head[64];
    snprintf(head, sizeof head, "{\"t\":%lu,\"event\":\"%s\"", (unsigned long)Elapsed(), event);
    std::string line = head;
    if (!fields.empty()) line += "," + fields;
    line += "}\n";
    // One unbuffered write per line: a reader sees whole lines even if the robot is killed.
    DWORD written = 0;
    WriteFile(m_file, line.data(), (DWORD)line.size(), &written, nullptr);
}
