#include "app/CaseFolding.h"

#include <cstddef>

namespace {

// A run of lower-case bytes that folds onto the run starting at upper.
struct FoldRun {
    unsigned char firstLower;
    unsigned char lastLower;
    unsigned char firstUpper;
};

// Every table folds "a" to "z"; the runs add the code page's own letters.
void FillTable(unsigned char (&table)[256], const FoldRun* runs, int count)
{
    for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    for (int r = 0; r < count; ++r)
        for (int c = runs[r].firstLower; c <= runs[r].lastLower; ++c)
            table[c] = static_cast<unsigned char>(runs[r].firstUpper + (c - runs[r].firstLower));
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

struct CodePageRuns {
    const FoldRun* runs;
    int count;
};

template <size_t N>
constexpr CodePageRuns RunsOf(const FoldRun (&runs)[N])
{
    return {runs, static_cast<int>(N)};
}

// Code pages 1250 to 1257 (Hebrew, 1255, has no case), then the default.
constexpr CodePageRuns kRuns[] = {
    RunsOf(kCentralEurope), RunsOf(kCyrillic), RunsOf(kWestern), RunsOf(kGreek),
    RunsOf(kTurkish), {nullptr, 0}, RunsOf(kArabic), RunsOf(kBaltic), {nullptr, 0}};
constexpr int kDefaultTable = 8;

// The nine tables are filled in memory the first time they are asked for: written out in the
// program, they would take more than two kilobytes of it. The setup runs on one thread.
unsigned char g_tables[kDefaultTable + 1][256];
bool g_filled[kDefaultTable + 1];

}  // namespace

const unsigned char* FoldingTable(unsigned codePage)
{
    int index = codePage >= 1250 && codePage <= 1257 ? static_cast<int>(codePage - 1250) : kDefaultTable;
    if (!g_filled[index]) {
        FillTable(g_tables[index], kRuns[index].runs, kRuns[index].count);
        g_filled[index] = true;
    }
    return g_tables[index];
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
