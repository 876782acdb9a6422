#include <gtest/gtest.h>

#include "inttostring.h"

TEST(IntToString, ReplacesTheTextWithTheDecimalNumber)
{
    IntToString(0);
    EXPECT_EQ(gameCount, "0");
    IntToString(125);
    EXPECT_EQ(gameCount, "125");
    IntToString(7); // replaced, not appended to
    EXPECT_EQ(gameCount, "7");
    IntToString(-42);
    EXPECT_EQ(gameCount, "-42");
    IntToString(2147483647);
    EXPECT_EQ(gameCount, "2147483647");
}
