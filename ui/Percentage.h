// The percentage that the progress dialog shows for a bar position.
#ifndef UI_PERCENTAGE_H
#define UI_PERCENTAGE_H

#include <string>

// Share of the range reached, truncated; anything but exactly 100 is taken modulo 100.
// A range with equal ends shows 0 rather than dividing by zero.
int ProgressPercent(int pos, int lower, int upper);

// "45%": the number and the sign, with no blank between them.
std::string PercentText(int percent);

#endif
