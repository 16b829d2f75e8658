#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "AppCore.h"

BOOL CString::LoadString(UINT id)
{
    // LoadStringA cuts to the buffer without saying so: grow until the text fits with room to spare.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buffer(size, '\0');
        int length = ::LoadStringA(AfxGetResourceHandle(), id, &buffer[0], size);
        if (length < size - 1) {
            m_text.assign(buffer.c_str(), length);
            return length > 0;
        }
    }
    m_text.clear();
    return FALSE;
}

void CString::FormatV(LPCSTR format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::string result(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&result[0], result.size(), format, args);
    result.resize(length);
    m_text.swap(result);
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::Format(UINT formatId, ...)
{
    CString format;
    format.LoadString(formatId);
    va_list args;
    va_start(args, formatId);
    FormatV(format, args);
    va_end(args);
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_text.resize(minLength);
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(newLength);
}
