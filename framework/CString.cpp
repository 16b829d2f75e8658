#include "CString.h"

#include <cstdarg>
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
    // Setup's formats insert texts and numbers, without widths or precisions: %s, %d, %u and %%.
    // A formatter of its own, since the system's stops at 1,024 bytes and the C runtime's is a DLL
    // that Windows 95 does not have.
    std::string result;
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || !p[1]) {
            result += *p;
            continue;
        }
        char type = *++p;
        if (type == 's') {
            LPCSTR text = va_arg(args, LPCSTR);
            result += text ? text : "";
        } else if (type == 'd' || type == 'u') {
            unsigned magnitude = va_arg(args, unsigned);
            bool negative = type == 'd' && static_cast<int>(magnitude) < 0;
            if (negative) magnitude = 0u - magnitude;
            char digits[12];
            char* first = digits + sizeof digits;
            do {
                *--first = static_cast<char>('0' + magnitude % 10);
                magnitude /= 10;
            } while (magnitude);
            if (negative) *--first = '-';
            result.append(first, digits + sizeof digits);
        } else {
            if (type != '%') result += '%';
            result += type;
        }
    }
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
