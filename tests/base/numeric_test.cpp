#include <gtest/gtest.h>

#include "base/numeric.h"

namespace zandrell {
namespace {

TEST(NumericValue, TakesTheLongestNumericPrefix) {
  EXPECT_EQ(NumericValue("120abc"), 120);
  EXPECT_EQ(NumericValue("abc"), 0);
  EXPECT_EQ(NumericValue(""), 0);
  EXPECT_EQ(NumericValue("-42x"), -42);
  EXPECT_EQ(NumericValue("+7"), 7);
  EXPECT_DOUBLE_EQ(NumericValue("3.5"), 3.5);
  EXPECT_DOUBLE_EQ(NumericValue(".25"), 0.25);
  EXPECT_DOUBLE_EQ(NumericValue("1e3"), 1000);
  EXPECT_DOUBLE_EQ(NumericValue("2e"), 2);
  EXPECT_EQ(NumericValue("-"), 0);
  EXPECT_EQ(NumericValue("."), 0);
}

TEST(NumericValue, IgnoresBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(NumericValue(" 1 2\t3\n"), 123);
  EXPECT_EQ(NumericValue(" 30000"), 30000);
  EXPECT_EQ(NumericValue("1\r2"), 1);  // a carriage return ends the number
}

TEST(NumericValue, ReadsHexadecimalAndOctalPrefixes) {
  EXPECT_EQ(NumericValue("&H1F"), 31);
  EXPECT_EQ(NumericValue("&hff"), 255);
  EXPECT_EQ(NumericValue("&O17"), 15);
  EXPECT_EQ(NumericValue("&HFFFF"), -1);
  EXPECT_EQ(NumericValue("&X12"), 0);
}

TEST(NumericValue, IntegersRoundHalfToEvenAndClampToTheirWidth) {
  EXPECT_EQ(ToInteger16(3.5), 4);
  EXPECT_EQ(ToInteger16(2.5), 2);
  EXPECT_EQ(ToInteger16(-2.5), -2);
  EXPECT_EQ(ToInteger16(2.6), 3);
  EXPECT_EQ(ToInteger16(40000), 32767);
  EXPECT_EQ(ToInteger16(-40000), -32768);
  EXPECT_EQ(ToInteger32(1e12), 2147483647);
  EXPECT_EQ(ToInteger32(NumericValue("9" + std::string(400, '9'))), 2147483647);
}

}  // namespace
}  // namespace zandrell
