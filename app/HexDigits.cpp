#include "app/HexDigits.h"

#include <cstring>

unsigned HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return 0;
}

void HexToBytes(const char* text, int count, unsigned char* out)
{
    if (count == 0) count = static_cast<int>(std::strlen(text));
    int n = count > 0 ? (count + 1) / 2 : 0;
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<unsigned char>(HexDigitValue(text[2 * i]) * 16 + HexDigitValue(text[2 * i + 1]));
    out[n] = 0;
}
