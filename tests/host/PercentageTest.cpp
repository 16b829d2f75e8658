#include <gtest/gtest.h>

#include <climits>

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

TEST(PercentText, HasNoBlankBeforeTheSign)
{
    EXPECT_EQ("45%", PercentText(45));
    EXPECT_EQ("0%", PercentText(0));
    EXPECT_EQ("100%", PercentText(100));
    EXPECT_EQ("-50%", PercentText(-50));
    EXPECT_EQ("-2147483648%", PercentText(INT_MIN));
}
