// The one number grammar of the program, with the options of the file tokens, the
// range edit boxes and the table editor's cells.
#include "components/common/numparse.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace {

struct TReadCase {
  std::string Text;
  double Value;
};

TEST(NumParseTest, IntegerTokens) {
  const TReadCase good[] = {{"500", 500},
                            {"+7", 7},
                            {"-12", -12},
                            {"$1F4", 500},
                            {"$ff", 255},
                            {"2147483647", INT32_MAX},
                            {"-2147483648", INT32_MIN},
                            {"$7FFFFFFF", INT32_MAX},
                            {"0000000000000000000000000000012", 12}};
  for (const TReadCase& c : good) {
    std::int32_t v = -99;
    EXPECT_TRUE(TextToInt(c.Text, v)) << c.Text;
    EXPECT_EQ(v, c.Value) << c.Text;
  }
  std::int32_t v = 0;
  for (const char* bad : {"", "+", "-", "$", "5.", "1,5", "1e3", "12a", "$G", "-$10", "$-1", " 5",
                          "2147483648", "-2147483649", "$80000000", "99999999999999"})
    EXPECT_FALSE(TextToInt(bad, v)) << bad;
}

TEST(NumParseTest, RealsInEverySyntax) {
  const std::string zeros400(400, '0');
  // Valid in all three syntaxes.
  const TReadCase common[] = {{"0", 0.0},
                              {"-5", -5.0},
                              {"+2.5", 2.5},
                              {"1E+3", 1000.0},
                              {"25e-1", 2.5},
                              {"-3.5E-0002", -0.035},
                              {"3.00000000000000E+0002", 300.0},
                              {"007.25", 7.25},
                              {"1e-310", 1e-310},
                              {"1e-400", 0.0},
                              {"0.000001e-320", 0.0},
                              {"-1E-99999999999", -0.0},
                              {"0." + zeros400 + "1", 0.0},
                              // the ".rnd" text of the largest double, and up to it
                              {"1.79769313486232E+0308", DBL_MAX},
                              {"-1.79769313486232e308", -DBL_MAX},
                              {"1.7976931348623157e308", DBL_MAX},
                              {"179769313486232" + std::string(294, '0'), DBL_MAX}};
  for (TNumberSyntax syntax : {TNumberSyntax{}, kRangeSyntax, kCellSyntax}) {
    for (const TReadCase& c : common) {
      const std::optional<double> v = ParseReal(c.Text, syntax);
      ASSERT_TRUE(v.has_value()) << c.Text;
      EXPECT_EQ(*v, c.Value) << c.Text;
      EXPECT_EQ(std::signbit(*v), std::signbit(c.Value)) << c.Text;
    }
    // Overflow is refused however the number is written.
    for (const std::string& huge :
         {std::string("1e400"), std::string("-1e400"), std::string("0.001e312"), "1" + zeros400,
          "-1" + zeros400 + ".5", std::string("1.79769313486233E+0308"),
          std::string("1.7976931348623201e308"), std::string("1e99999999999")})
      EXPECT_FALSE(ParseReal(huge, syntax).has_value()) << huge;
    for (const char* bad :
         {"",     " ",   "5.",  "1,5", "+",     "-",    "1e", "1e+", "1.5.2", "e3", "--1", "+-1",
          "0x10", "inf", "nan", "$10", "12abc", "1.0f", "1 ", "\t5", "- 5",   ".",  "-.",  ".e3"})
      EXPECT_FALSE(ParseReal(bad, syntax).has_value()) << '"' << bad << '"';
  }
}

TEST(NumParseTest, TheSyntaxesDiffer) {
  struct TCase {
    const char* Text;
    bool Token, Range, Cell;
  } cases[] = {
      {"   -300.000", false, true, true}, {"  2.50E+02", false, true, true},
      {".5", false, false, true},         {"-.5e1", false, false, true},
      {"5.e3", false, false, true},       {"1.e5", false, false, true},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ParseReal(c.Text).has_value(), c.Token) << c.Text;
    EXPECT_EQ(ParseReal(c.Text, kRangeSyntax).has_value(), c.Range) << c.Text;
    EXPECT_EQ(ParseReal(c.Text, kCellSyntax).has_value(), c.Cell) << c.Text;
  }
  EXPECT_EQ(ParseReal("-.5e1", kCellSyntax), -5.0);
  EXPECT_EQ(ParseReal("5.e3", kCellSyntax), 5000.0);
  double v = 0;
  EXPECT_TRUE(TextToReal("-3.5E-0002", v));
  EXPECT_EQ(v, -0.035);
}

}  // namespace
