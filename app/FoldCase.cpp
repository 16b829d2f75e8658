#include "app/FoldCase.h"

#include <windows.h>

#include "app/CaseFolding.h"

unsigned char FoldCase(unsigned char byte)
{
    return FoldCaseInCodePage(GetACP(), byte);
}

int CompareFolded(const char* a, const char* b, int count)
{
    for (int i = 0; i < count; ++i) {
        unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
        unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}
