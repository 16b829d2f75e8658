// A text string with the few MFC operations the setup uses; ANSI, heap-backed.
#ifndef FRAMEWORK_CSTRING_H
#define FRAMEWORK_CSTRING_H

#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(LPCSTR text) : m_text(text ? text : "") {}
    CString(LPCSTR text, int length) : m_text(text, length) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator LPCSTR() const { return m_text.c_str(); }

    CString& operator=(LPCSTR text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(LPCSTR text) { m_text += text ? text : ""; return *this; }
    bool operator==(LPCSTR text) const { return m_text == (text ? text : ""); }
    bool operator!=(LPCSTR text) const { return !(*this == text); }

    // Loads a string resource of any length; FALSE (and empty) when it does not exist.
    BOOL LoadString(UINT id);

    // printf-style formatting; the format may also be a string resource id.
    void Format(LPCSTR format, ...);
    void Format(UINT formatId, ...);

    // Direct access for API calls that fill a buffer; ReleaseBuffer takes the length up to the first zero.
    LPSTR GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    void FormatV(LPCSTR format, va_list args);

    std::string m_text;
};

#endif
