#include "ui/Percentage.h"

int ProgressPercent(int pos, int lower, int upper)
{
    // In integers, for processors without a coprocessor, and without the runtime's 64-bit division.
    // Distances as unsigned magnitudes (each below 2^32) and a sign. With n = a*d + b (b < d),
    // n*100/d truncated is 100a + 100b/d, and 100b/d is below 100: the percentage modulo 100 is
    // that last quotient, found bit by bit in a 64-bit remainder that cannot overflow.
    bool below = pos < lower;
    bool reversed = upper < lower;
    unsigned n = below ? static_cast<unsigned>(lower) - static_cast<unsigned>(pos)
                       : static_cast<unsigned>(pos) - static_cast<unsigned>(lower);
    unsigned d = reversed ? static_cast<unsigned>(lower) - static_cast<unsigned>(upper)
                          : static_cast<unsigned>(upper) - static_cast<unsigned>(lower);
    if (d == 0) return 0;
    unsigned whole = n / d;
    unsigned long long remainder = static_cast<unsigned long long>(n % d) * 100;
    int part = 0;
    for (int bit = 6; bit >= 0; --bit) {
        unsigned long long step = static_cast<unsigned long long>(d) << bit;
        if (remainder >= step) {
            remainder -= step;
            part |= 1 << bit;
        }
    }
    // Exactly 100 stays 100; the remainder of a negative share is negative, as integer division's is.
    if (below != reversed) return -part;
    return whole == 1 && part == 0 ? 100 : part;
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
