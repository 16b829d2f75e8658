#include "ui/Percentage.h"

int ProgressPercent(int pos, int lower, int upper)
{
    // In double, so that positions far outside the range cannot overflow, and without the runtime
    // routine that 64-bit integer division would bring: every value here is an integer below 2^53,
    // held exactly, and a quotient of two such integers never rounds onto an integer it does not
    // reach, so truncating it gives the integer quotient.
    double width = static_cast<double>(upper) - lower;
    if (width == 0) return 0;
    double percent = static_cast<double>(static_cast<long long>((static_cast<double>(pos) - lower) * 100 / width));
    // The remainder takes the sign of the dividend, as integer division's does.
    if (percent != 100) percent -= 100 * static_cast<double>(static_cast<long long>(percent / 100));
    return static_cast<int>(percent);
}

std::string PercentText(int percent)
{
    // Written backwards from the sign; the magnitude is unsigned so that the most negative number
    // has one. No printf for one number.
    char text[16];
    char* first = text + sizeof text;
    *--first = '%';
    unsigned magnitude = percent < 0 ? 0u - static_cast<unsigned>(percent) : static_cast<unsigned>(percent);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (percent < 0) *--first = '-';
    return std::string(first, text + sizeof text);
}
