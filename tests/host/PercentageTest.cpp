#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "ui/Percentage.h"

TEST(ProgressPercent, DefaultRangeShowsThePositionItself)
{
    EXPECT_EQ(0, ProgressPercent(0, 0, 100));
    EXPECT_EQ(50, ProgressPercent(50, 0, 100));
    EXPECT_EQ(100, ProgressPercent(100, 0, 100));
}

TEST(ProgressPercent, StageOf72EntriesTruncates)
{
    EXPECT_EQ(50, ProgressPercent(36, 0, 72));
    EXPECT_EQ(100, ProgressPercent(72, 0, 72));
    EXPECT_EQ(97, ProgressPercent(70, 0, 72));   // "C++.ini", the last entry
    EXPECT_EQ(1, ProgressPercent(1, 0, 72));
    EXPECT_EQ(5, ProgressPercent(4, 0, 72));     // the first product file
}

TEST(ProgressPercent, BeyondTheRangeWrapsModulo100ExceptExactly100)
{
    EXPECT_EQ(50, ProgressPercent(150, 0, 100));
    EXPECT_EQ(0, ProgressPercent(200, 0, 100));
    EXPECT_EQ(-50, ProgressPercent(-50, 0, 100));  // signed remainder
}

TEST(ProgressPercent, LowerEndIsSubtractedFirst)
{
    EXPECT_EQ(50, ProgressPercent(15, 10, 20));
    EXPECT_EQ(0, ProgressPercent(10, 10, 20));
}

TEST(ProgressPercent, EqualEndsAndExtremePositionsDoNotFault)
{
    EXPECT_EQ(0, ProgressPercent(5, 7, 7));
    EXPECT_EQ(0, ProgressPercent(INT_MAX, 0, 0));
    int wrapped = ProgressPercent(INT_MAX, INT_MIN, INT_MAX);
    EXPECT_EQ(100, wrapped);
    EXPECT_GT(100, ProgressPercent(INT_MAX, 0, 72));
}

namespace {

// The exact result in 64-bit integers, written out independently of the code.
int Reference(int pos, int lower, int upper)
{
    std::int64_t width = static_cast<std::int64_t>(upper) - lower;
    if (width == 0) return 0;
    std::int64_t percent = (static_cast<std::int64_t>(pos) - lower) * 100 / width;
    if (percent != 100) percent %= 100;
    return static_cast<int>(percent);
}

}  // namespace

TEST(ProgressPercent, AgreesWithExactIntegerArithmeticOnExtremesAndMillionsOfRandomValues)
{
    // Around every boundary where a quotient is an integer or just misses one.
    std::vector<int> values = {INT_MIN, INT_MIN + 1, -65536, -101, -100, -99, -72, -1, 0, 1, 7, 70, 72,
                               99, 100, 101, 65535, 65536, 21474836, 21474837, INT_MAX - 1, INT_MAX};
    for (int pos : values)
        for (int lower : values)
            for (int upper : values)
                ASSERT_EQ(Reference(pos, lower, upper), ProgressPercent(pos, lower, upper))
                    << pos << " in " << lower << ".." << upper;

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> small(-1000, 1000);
    for (int i = 0; i < 2000000; ++i) {
        int pos = any(random), lower = any(random), upper = any(random);
        if (i % 2) {
            // Narrow ranges, where the quotient lands exactly on integers often.
            upper = lower / 2 + small(random);
            pos = lower / 2 + small(random) * (1 + i % 5);
            lower /= 2;
        }
        ASSERT_EQ(Reference(pos, lower, upper), ProgressPercent(pos, lower, upper))
            << pos << " in " << lower << ".." << upper;
    }
}

TEST(PercentText, HasNoBlankBeforeTheSign)
{
    EXPECT_EQ("45%", PercentText(45));
    EXPECT_EQ("0%", PercentText(0));
    EXPECT_EQ("100%", PercentText(100));
    EXPECT_EQ("-50%", PercentText(-50));
    EXPECT_EQ("-2147483648%", PercentText(INT_MIN));
    EXPECT_EQ("2147483647%", PercentText(INT_MAX));
    EXPECT_EQ("9%", PercentText(9));
    EXPECT_EQ("10%", PercentText(10));
}
