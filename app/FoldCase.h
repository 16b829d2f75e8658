// Case-insensitive comparison under the system's ANSI code page.
#ifndef APP_FOLDCASE_H
#define APP_FOLDCASE_H

unsigned char FoldCase(unsigned char byte);

// Compares exactly count bytes, folded: -1, 0 or 1; a count of 0 or less compares equal.
int CompareFolded(const char* a, const char* b, int count);

#endif
