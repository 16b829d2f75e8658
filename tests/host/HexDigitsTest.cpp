#include <gtest/gtest.h>

#include "app/HexDigits.h"

TEST(HexToBytes, EightDigitsGiveFourBytesMostSignificantFirstAndAZero)
{
    unsigned char out[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    HexToBytes("0000002a", 8, out);
    EXPECT_EQ(0x00, out[0]);
    EXPECT_EQ(0x00, out[1]);
    EXPECT_EQ(0x00, out[2]);
    EXPECT_EQ(0x2A, out[3]);
    EXPECT_EQ(0x00, out[4]);
}

TEST(HexToBytes, BothCasesOfDigitsDecode)
{
    unsigned char out[4];
    HexToBytes("aBcDeF", 6, out);
    EXPECT_EQ(0xAB, out[0]);
    EXPECT_EQ(0xCD, out[1]);
    EXPECT_EQ(0xEF, out[2]);
    EXPECT_EQ(0x00, out[3]);
}

TEST(HexToBytes, NonDigitsCountAsZero)
{
    unsigned char out[2] = {0xEE, 0xEE};
    HexToBytes("zz", 2, out);
    EXPECT_EQ(0x00, out[0]);
    HexToBytes("g7", 2, out);
    EXPECT_EQ(0x07, out[0]);
}

TEST(HexToBytes, CountZeroTakesTheLengthAndAnOddCountPairsWithTheTerminator)
{
    unsigned char out[3] = {0xEE, 0xEE, 0xEE};
    HexToBytes("ABC", 0, out);
    EXPECT_EQ(0xAB, out[0]);
    EXPECT_EQ(0xC0, out[1]);
    EXPECT_EQ(0x00, out[2]);
}

TEST(HexToBytes, ReadsOnlyCountDigitsOfALongerText)
{
    unsigned char out[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    HexToBytes("0000000aFFFF", 8, out);
    EXPECT_EQ(0x0A, out[3]);
    EXPECT_EQ(0x00, out[4]);
    EXPECT_EQ(0xEE, out[5]);
}

TEST(HexToBytes, EmptyOrNegativeCountWritesOnlyTheZeroByte)
{
    unsigned char out[2] = {0xEE, 0xEE};
    HexToBytes("", 0, out);
    EXPECT_EQ(0x00, out[0]);
    EXPECT_EQ(0xEE, out[1]);
    out[0] = 0xEE;
    HexToBytes("12", -3, out);
    EXPECT_EQ(0x00, out[0]);
    EXPECT_EQ(0xEE, out[1]);
}
