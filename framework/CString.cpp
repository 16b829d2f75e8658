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
    // The system library's formatter, not the compiler runtime's own: it is already loaded and the
    // program needs nothing it lacks. It tells only that a buffer was too small, so grow until the
    // text and its terminator fit.
    for (size_t size = 256; size <= (1u << 24); size *= 2) {
        std::string result(size, '\0');
        va_list copy;
        va_copy(copy, args);
        int length = ::_vsnprintf(&result[0], size, format, copy);
        va_end(copy);
        if (length >= 0 && static_cast<size_t>(length) < size) {
            result.resize(length);
            m_text.swap(result);
            return;
        }
    }
    m_text.clear();
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
