#include "ui/Percentage.h"

#include <cstdint>
#include <charconv>

int ProgressPercent(int pos, int lower, int upper)
{
    std::int64_t width = static_cast<std::int64_t>(upper) - lower;
    if (width == 0) return 0;
    // 64-bit arithmetic: positions far outside the range must not overflow.
    std::int64_t percent = (static_cast<std::int64_t>(pos) - lower) * 100 / width;
    if (percent != 100) percent %= 100;
    return static_cast<int>(percent);
}

std::string PercentText(int percent)
{
    // to_chars rather than printf: the program carries no printf of its own for one number.
    char text[16];
    char* end = std::to_chars(text, text + sizeof text - 1, percent).ptr;
    *end++ = '%';
    return std::string(text, end);
}
