#include "app/CaseFolding.h"

#include <array>
#include <cstddef>

namespace {

// A run of lower-case bytes that folds onto the run starting at upper.
struct FoldRun {
    unsigned char firstLower;
    unsigned char lastLower;
    unsigned char firstUpper;
};

using Table = std::array<unsigned char, 256>;

// Every table folds "a" to "z"; the runs add the code page's own letters.
constexpr Table MakeTableFromRuns(const FoldRun* runs, int count)
{
    Table table{};
    for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    for (int r = 0; r < count; ++r)
        for (int c = runs[r].firstLower; c <= runs[r].lastLower; ++c)
            table[c] = static_cast<unsigned char>(runs[r].firstUpper + (c - runs[r].firstLower));
    return table;
}

template <size_t N>
constexpr Table MakeTable(const FoldRun (&runs)[N])
{
    return MakeTableFromRuns(runs, static_cast<int>(N));
}

constexpr FoldRun kCentralEurope[] = {
    {0x9A, 0x9A, 0x8A}, {0x9C, 0x9F, 0x8C}, {0xB3, 0xB3, 0xA3}, {0xBA, 0xBA, 0xAA},
    {0xBF, 0xBF, 0xAF}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}};
constexpr FoldRun kCyrillic[] = {
    {0x90, 0x90, 0x80}, {0x9A, 0x9A, 0x8A}, {0x9C, 0x9F, 0x8C}, {0xB8, 0xB8, 0xA8},
    {0xBA, 0xBA, 0xAA}, {0xBF, 0xBF, 0xAF}, {0xE0, 0xFF, 0xC0}};
constexpr FoldRun kWestern[] = {
    {0x9A, 0x9A, 0x8A}, {0x9C, 0x9C, 0x8C}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFF, 0xD8}};
constexpr FoldRun kGreek[] = {{0xE0, 0xF1, 0xC0}, {0xF3, 0xFE, 0xD3}};
constexpr FoldRun kTurkish[] = {
    {0x9A, 0x9A, 0x8A}, {0x9C, 0x9C, 0x8C}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}};
constexpr FoldRun kArabic[] = {{0x9C, 0x9C, 0x8C}};
constexpr FoldRun kBaltic[] = {{0xBF, 0xBF, 0xAF}, {0xE0, 0xF6, 0xC0}, {0xF8, 0xFE, 0xD8}};

constexpr Table kTable1250 = MakeTable(kCentralEurope);
constexpr Table kTable1251 = MakeTable(kCyrillic);
constexpr Table kTable1252 = MakeTable(kWestern);
constexpr Table kTable1253 = MakeTable(kGreek);
constexpr Table kTable1254 = MakeTable(kTurkish);
constexpr Table kTable1255 = MakeTableFromRuns(nullptr, 0);  // Hebrew has no case
constexpr Table kTable1256 = MakeTable(kArabic);
constexpr Table kTable1257 = MakeTable(kBaltic);
constexpr Table kTableDefault = MakeTableFromRuns(nullptr, 0);

}  // namespace

const unsigned char* FoldingTable(unsigned codePage)
{
    switch (codePage) {
    case 1250: return kTable1250.data();
    case 1251: return kTable1251.data();
    case 1252: return kTable1252.data();
    case 1253: return kTable1253.data();
    case 1254: return kTable1254.data();
    case 1255: return kTable1255.data();
    case 1256: return kTable1256.data();
    case 1257: return kTable1257.data();
    default: return kTableDefault.data();
    }
}

unsigned char FoldCaseInCodePage(unsigned codePage, unsigned char byte)
{
    return FoldingTable(codePage)[byte];
}

int CompareFoldedInCodePage(unsigned codePage, const char* a, const char* b, int count)
{
    for (int i = 0; i < count; ++i) {
        unsigned char x = FoldCaseInCodePage(codePage, static_cast<unsigned char>(a[i]));
        unsigned char y = FoldCaseInCodePage(codePage, static_cast<unsigned char>(b[i]));
        if (x < y) return -1;
        if (x > y) return 1;
    }
    return 0;
}
