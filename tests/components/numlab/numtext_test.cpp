#include "components/numlab/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string Text(TDisplay t, int p, double v, std::string_view sep = ".") {
  auto s = NumLabText(t, p, v, sep);
  return s ? *s : std::string("<overflow>");
}

TEST(NumLabTextTest, FixedPoint) {
  EXPECT_EQ(Text(TDisplay::dtFixP, 3, -300.0), "-300.000");
  EXPECT_EQ(Text(TDisplay::dtFixP, 3, 300.0), "300.000");
  EXPECT_EQ(Text(TDisplay::dtFixP, 2, 999.996), "1000.00");
  EXPECT_EQ(Text(TDisplay::dtFixP, 0, 41.7), "42");
  EXPECT_EQ(Text(TDisplay::dtFixP, 15, 0.1), "0.100000000000000");
  EXPECT_EQ(Text(TDisplay::dtFixP, 3, 1234.5, ","), "1234,500");
  // exact ties round away from zero; values just below a tie round down
  EXPECT_EQ(Text(TDisplay::dtFixP, 2, 0.125), "0.13");
  EXPECT_EQ(Text(TDisplay::dtFixP, 2, -0.125), "-0.13");
  EXPECT_EQ(Text(TDisplay::dtFixP, 2, 1.005), "1.00");  // 1.005 is stored as 1.00499999...
  // a value that rounds to zero shows no minus sign
  EXPECT_EQ(Text(TDisplay::dtFixP, 3, -0.0001), "0.000");
  EXPECT_EQ(Text(TDisplay::dtFixP, 1, -0.0), "0.0");
  // the digit count is limited to 15
  EXPECT_EQ(Text(TDisplay::dtFixP, 20, 1.0), "1.000000000000000");
  EXPECT_EQ(Text(TDisplay::dtFixP, 2, 1e20), "100000000000000000000.00");
}

TEST(NumLabTextTest, Integer) {
  EXPECT_EQ(Text(TDisplay::dtInt, 2, 500.0), "500");
  EXPECT_EQ(Text(TDisplay::dtInt, 2, 2.5), "3");
  EXPECT_EQ(Text(TDisplay::dtInt, 2, -2.5), "-3");
  EXPECT_EQ(Text(TDisplay::dtInt, 2, -0.4), "0");
  EXPECT_EQ(Text(TDisplay::dtInt, 9, 1e20), "100000000000000000000");  // no range limit
  EXPECT_EQ(Text(TDisplay::dtInt, 2, 1234.0, ","), "1234");
}

TEST(NumLabTextTest, Hexadecimal) {
  EXPECT_EQ(Text(TDisplay::dtHex, 4, 255.0), "00FF");
  EXPECT_EQ(Text(TDisplay::dtHex, 4, 65536.0), "0000");  // last four digits of 10000
  EXPECT_EQ(Text(TDisplay::dtHex, 4, 74565.0), "2345");  // 0x12345
  EXPECT_EQ(Text(TDisplay::dtHex, 4, -1.0), "FFFF");
  EXPECT_EQ(Text(TDisplay::dtHex, 4, 3e9), "<overflow>");
  EXPECT_EQ(Text(TDisplay::dtHex, 8, 2147483647.0), "7FFFFFFF");
  EXPECT_EQ(Text(TDisplay::dtHex, 8, -2147483648.0), "80000000");
  EXPECT_EQ(Text(TDisplay::dtHex, 8, 2147483647.5), "<overflow>");
  EXPECT_EQ(Text(TDisplay::dtHex, 8, -2147483648.5), "<overflow>");
  EXPECT_EQ(Text(TDisplay::dtHex, 15, 255.0), "000000FF");  // at most eight digits
  EXPECT_EQ(Text(TDisplay::dtHex, 2, 171.0), "AB");
  EXPECT_EQ(Text(TDisplay::dtHex, 0, 171.0), "");  // no digits asked for, none shown
  // ties to even
  EXPECT_EQ(Text(TDisplay::dtHex, 1, 2.5), "2");
  EXPECT_EQ(Text(TDisplay::dtHex, 1, 3.5), "4");
  EXPECT_EQ(Text(TDisplay::dtHex, 4, -2.5), "FFFE");
  EXPECT_EQ(Text(TDisplay::dtHex, 1, 2.6), "3");
}

TEST(NumLabTextTest, ZeroFilledInteger) {
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 5, 42.0), "00042");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 5, -42.0), "-00042");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 5, 1234567.0), "1234567");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 0, -2147483648.0), "-2147483648");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 3, -0.4), "000");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 3, 2.5), "002");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 3, 5.5), "006");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 5, 3e9), "<overflow>");
  EXPECT_EQ(Text(TDisplay::dtZeroInt, 5, -3e9), "<overflow>");
}

TEST(NumLabTextTest, General) {
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 0.0), "0");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 0.5), "0.5");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 0.1), "0.1");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 123.456), "123.456");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, -2.5, ","), "-2,5");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(Text(TDisplay::dtFloat, 2, 1.0 / 3.0), "0.33");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 123456789012345.0), "123456789012345");
  EXPECT_EQ(Text(TDisplay::dtFloat, 4, 1200.0), "1200");
  // more digits before the point than allowed: scientific
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 1e15), "1E+015");
  EXPECT_EQ(Text(TDisplay::dtFloat, 4, 12345.0), "1.235E+004");
  EXPECT_EQ(Text(TDisplay::dtFloat, 4, 9999.6), "1E+004");  // rounding adds a digit
  EXPECT_EQ(Text(TDisplay::dtFloat, 4, -123456.0), "-1.235E+005");
  // small magnitudes: fixed down to 0.00001, scientific below
  EXPECT_EQ(Text(TDisplay::dtFloat, 2, 0.00001), "0.00001");
  EXPECT_EQ(Text(TDisplay::dtFloat, 3, 0.000123), "0.000123");
  EXPECT_EQ(Text(TDisplay::dtFloat, 2, 0.000009), "9E-006");
  EXPECT_EQ(Text(TDisplay::dtFloat, 15, 1e-300), "1E-300");
  EXPECT_EQ(Text(TDisplay::dtFloat, 3, -1.5e-7, ","), "-1,5E-007");
}

TEST(NumLabTextTest, Exponential) {
  EXPECT_EQ(Text(TDisplay::dtExp, 3, 123.456), "1.23E+002");
  EXPECT_EQ(Text(TDisplay::dtExp, 3, -0.00123), "-1.23E-003");
  EXPECT_EQ(Text(TDisplay::dtExp, 3, 0.0), "0.00E+000");
  EXPECT_EQ(Text(TDisplay::dtExp, 6, 1234.5678), "1.23457E+003");
  EXPECT_EQ(Text(TDisplay::dtExp, 1, 9.6), "1E+001");
  EXPECT_EQ(Text(TDisplay::dtExp, 2, 5.0, ","), "5,0E+000");
  EXPECT_EQ(Text(TDisplay::dtExp, 15, 1e100), "1.00000000000000E+100");
  EXPECT_EQ(Text(TDisplay::dtExp, 4, 9.99999e-10), "1.000E-009");
}

TEST(NumLabTextTest, NonFiniteValuesCannotBeShown) {
  double inf = std::numeric_limits<double>::infinity();
  double nan = std::numeric_limits<double>::quiet_NaN();
  for (TDisplay t : {TDisplay::dtFloat, TDisplay::dtFixP, TDisplay::dtExp, TDisplay::dtHex,
                     TDisplay::dtZeroInt, TDisplay::dtInt}) {
    EXPECT_FALSE(NumLabText(t, 3, inf)) << static_cast<int>(t);
    EXPECT_FALSE(NumLabText(t, 3, -inf)) << static_cast<int>(t);
    EXPECT_FALSE(NumLabText(t, 3, nan)) << static_cast<int>(t);
  }
}

}  // namespace
