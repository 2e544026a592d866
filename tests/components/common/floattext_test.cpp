#include "components/common/floattext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(FloatTextFixed, RoundsHalfUpOnTheExactExpansion) {
  EXPECT_EQ(FloatText(1, 1, 2.25), "2.3");        // 2.25 is exact: a true half rounds up
  EXPECT_EQ(FloatText(1, 1, 0.15), "0.1");        // held as 0.1499999...
  EXPECT_EQ(FloatText(1, 4, 0.03125), "0.0313");  // round-to-even would give 0.0312
  EXPECT_EQ(FloatText(1, 2, 0.125), "0.13");
  EXPECT_EQ(FloatText(1, 0, 0.5), "1");
  EXPECT_EQ(FloatText(1, 0, 2.5), "3");
  EXPECT_EQ(FloatText(1, 0, -2.5), "-3");
  EXPECT_EQ(FloatText(1, 1, 0.35), "0.3");    // 0.34999999999999997779...
  EXPECT_EQ(FloatText(1, 1, 0.45), "0.5");    // 0.45000000000000001110...
  EXPECT_EQ(FloatText(1, 2, 1.005), "1.00");  // 1.00499999999999989...
  EXPECT_EQ(FloatText(1, 10, 0.0000000000625), "0.0000000001");
}

TEST(FloatTextFixed, ExamplesAndCarries) {
  EXPECT_EQ(FloatText(1, 2, 3.14159), "3.14");
  EXPECT_EQ(FloatText(8, 0, -42.0), "     -42");
  EXPECT_EQ(FloatText(1, 2, 0.5), "0.50");
  EXPECT_EQ(FloatText(1, 0, 9.5), "10");
  EXPECT_EQ(FloatText(1, 2, 99.999), "100.00");
  EXPECT_EQ(FloatText(1, 1, 9.95), "9.9");  // 9.9499999999999992894...
  EXPECT_EQ(FloatText(1, 3, 0.0), "0.000");
  EXPECT_EQ(FloatText(1, 0, 0.4), "0");
  EXPECT_EQ(FloatText(1, 3, 1e-20), "0.000");
  EXPECT_EQ(FloatText(1, 25, 0.1), "0.1000000000000000055511151");
}

TEST(FloatTextFixed, ManyDecimalsShowTheWholeExpansion) {
  const std::string tenth = "0.1000000000000000055511151231257827021181583404541015625";
  EXPECT_EQ(FloatText(1, 200, 0.1), tenth + std::string(200 - (tenth.size() - 2), '0'));
  EXPECT_EQ(FloatText(1, 1200, -0.5), "-0.5" + std::string(1199, '0'));
  std::string tiny = FloatText(1, 1074, 5e-324);  // the smallest subnormal, written out
  EXPECT_EQ(tiny.size(), 1076u);
  EXPECT_EQ(tiny.substr(tiny.size() - 8), "47265625");
  std::string cut = FloatText(1, 1073, 5e-324);  // ...47265625 rounded at its last 5
  EXPECT_EQ(cut.substr(cut.size() - 6), "726563");
  EXPECT_EQ(FloatText(1, 324, 5e-324).substr(320), "000005");  // 4.94e-324 rounds up
}

TEST(FloatTextFixed, SmallNegativesKeepTheirSign) {
  EXPECT_EQ(FloatText(3, 1, -0.01), "-0.0");
  EXPECT_EQ(FloatText(1, 2, -0.001), "-0.00");
  EXPECT_EQ(FloatText(1, 0, -0.4), "-0");
  EXPECT_EQ(FloatText(1, 2, -1e-300), "-0.00");
  EXPECT_EQ(FloatText(1, 2, -0.0), "0.00");  // negative zero is not a negative value
}

TEST(FloatTextFixed, WidthPadsButNeverCuts) {
  EXPECT_EQ(FloatText(10, 3, 1.5), "     1.500");
  EXPECT_EQ(FloatText(2, 3, 123.456), "123.456");
  EXPECT_EQ(FloatText(0, 1, -7.0), "-7.0");
  EXPECT_EQ(FloatText(-5, 1, 7.0), "7.0");
}

TEST(FloatTextFixed, LargeMagnitudesAndTheSwitchToScientific) {
  // 1e35 is held as 99999999999999996863366107917975552.
  EXPECT_EQ(FloatText(1, 0, 1e35), "99999999999999996863366107917975552");
  EXPECT_EQ(FloatText(1, 1, -1e35), "-99999999999999996863366107917975552.0");
  double below = std::nextafter(1e36, 0.0);
  EXPECT_EQ(FloatText(1, 0, below).size(), 36u);
  EXPECT_EQ(FloatText(12, 2, 1e36), " 1.000E+0036");
  EXPECT_EQ(FloatText(1, 2, -1e36), "-1.0E+0036");
  EXPECT_EQ(FloatText(14, 0, 3e300), " 3.00000E+0300");
}

TEST(FloatTextScientific, FourDigitExponent) {
  EXPECT_EQ(FloatText(12, -2, 1234.0), " 1.234E+0003");
  EXPECT_EQ(FloatText(1, -2, 1234.0), " 1.2E+0003");
  EXPECT_EQ(FloatText(1, -3, -0.00012), "-1.2E-0004");
  EXPECT_EQ(FloatText(12, -2, 0.0), " 0.000E+0000");
  EXPECT_EQ(FloatText(10, -2, 1.25), " 1.3E+0000");      // exact half rounds up
  EXPECT_EQ(FloatText(12, -2, 1234.5), " 1.235E+0003");  // exact half rounds up
  EXPECT_EQ(FloatText(12, -2, 9.9996), " 1.000E+0001");  // carry into a new decade
  EXPECT_EQ(FloatText(1, -2, 5e-324), " 4.9E-0324");
  EXPECT_EQ(FloatText(1, -2, 1.7976931348623157e308), " 1.8E+0308");
  EXPECT_EQ(FloatText(23, -2, 0.1), " 1.00000000000000E-0001");
  EXPECT_EQ(FloatText(23, -2, -123456.789), "-1.23456789000000E+0005");
}

TEST(FloatTextScientific, DigitCountFollowsTheWidth) {
  for (int w = -3; w <= 40; ++w) {
    std::string s = FloatText(w, -2, 3.0);
    int n = std::min(std::max(w - 8, 2), 18);
    ASSERT_EQ(s.size(), static_cast<std::size_t>(std::max(w, n + 8))) << w;
    std::string body = s.substr(s.size() - static_cast<std::size_t>(n + 8));
    ASSERT_EQ(body, " 3." + std::string(static_cast<std::size_t>(n - 1), '0') + "E+0000") << w;
  }
  EXPECT_EQ(FloatText(30, -2, 1.0 / 3.0), "     3.33333333333333315E-0001");
}

TEST(FloatTextSqueezed, TwoDigitExponent) {
  EXPECT_EQ(FloatText(1, -1, 0.00012), " 1.2E-04");
  EXPECT_EQ(FloatText(10, -1, 1234.0), " 1.234E+03");
  EXPECT_EQ(FloatText(1, -1, -2.5e7), "-2.5E+07");
  EXPECT_EQ(FloatText(12, -1, 3.14159265), " 3.14159E+00");
  EXPECT_EQ(FloatText(12, -1, -271828.18), "-2.71828E+05");
  EXPECT_EQ(FloatText(10, -1, 0.0), " 0.000E+00");
  EXPECT_EQ(FloatText(8, -1, 1.25), " 1.3E+00");
  EXPECT_EQ(FloatText(1, -1, 9.94e99), " 9.9E+99");
  EXPECT_EQ(FloatText(30, -1, 1.0), "       1.00000000000000000E+00");
}

TEST(FloatTextSqueezed, ExponentsBeyondTwoDigitsBecomeAsterisks) {
  EXPECT_EQ(FloatText(1, -1, 1e-150), "********");
  EXPECT_EQ(FloatText(1, -1, 1e200), "********");
  EXPECT_EQ(FloatText(12, -1, 1e-120), "************");
  EXPECT_EQ(FloatText(1, -1, 9.96e99), "********");  // rounds up to 1.0E+100
  EXPECT_EQ(FloatText(1, -1, 1e-100), "********");
  EXPECT_EQ(FloatText(1, -1, 1e-99), " 1.0E-99");
}

TEST(FloatTextSpecial, NanAndInfinities) {
  EXPECT_EQ(FloatText(6, 2, kNaN), "   Nan");
  EXPECT_EQ(FloatText(6, 2, kInf), "  +Inf");
  EXPECT_EQ(FloatText(0, 2, -kInf), "-Inf");
  EXPECT_EQ(FloatText(12, -2, kNaN), "         Nan");
  EXPECT_EQ(FloatText(12, -2, -kInf), "        -Inf");
  EXPECT_EQ(FloatText(10, -1, kInf), "      +Inf");
  EXPECT_EQ(FloatText(1, -1, kNaN), "Nan");
}

// Exact decimal expansion of a finite double, independent of the library's conversions:
// mantissa * 2^e written out with schoolbook arithmetic on decimal digits.
struct TExact {
  std::string Int;   // at least one digit
  std::string Frac;  // no trailing zeros
};

TExact ExactExpansion(double a) {
  int e = 0;
  double m = std::frexp(a, &e);  // a = m * 2^e, 0.5 <= m < 1
  std::uint64_t mant = static_cast<std::uint64_t>(std::ldexp(m, 53));
  e -= 53;
  std::vector<int> digits;  // little endian
  for (std::uint64_t v = mant; v > 0; v /= 10) digits.push_back(static_cast<int>(v % 10));
  if (digits.empty()) digits.push_back(0);
  auto multiply = [&](int f) {
    int carry = 0;
    for (int& d : digits) {
      int v = d * f + carry;
      d = v % 10;
      carry = v / 10;
    }
    while (carry > 0) {
      digits.push_back(carry % 10);
      carry /= 10;
    }
  };
  int fracDigits = 0;
  if (e >= 0) {
    for (int i = 0; i < e; ++i) multiply(2);
  } else {
    for (int i = 0; i < -e; ++i) multiply(5);  // mant / 2^k = mant * 5^k / 10^k
    fracDigits = -e;
  }
  while (static_cast<int>(digits.size()) <= fracDigits) digits.push_back(0);
  std::string all;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it)
    all.push_back(static_cast<char>('0' + *it));
  TExact r;
  r.Int = all.substr(0, all.size() - static_cast<std::size_t>(fracDigits));
  r.Frac = all.substr(all.size() - static_cast<std::size_t>(fracDigits));
  while (!r.Frac.empty() && r.Frac.back() == '0') r.Frac.pop_back();
  while (r.Int.size() > 1 && r.Int[0] == '0') r.Int.erase(0, 1);
  return r;
}

// Rounds the digit string half up at position keep (the rest decides); may grow by one digit.
std::string RoundHalfUp(const std::string& digits, std::size_t keep) {
  std::string head = digits.substr(0, keep);
  if (digits.size() > keep && digits[keep] >= '5') {
    std::size_t i = head.size();
    while (i > 0 && head[i - 1] == '9') head[--i] = '0';
    if (i == 0)
      head.insert(head.begin(), '1');
    else
      ++head[i - 1];
  }
  return head;
}

std::string ReferenceFixed(double x, int d) {
  TExact ex = ExactExpansion(std::fabs(x));
  std::string frac = ex.Frac + std::string(static_cast<std::size_t>(d) + 1, '0');
  std::string r = RoundHalfUp(ex.Int + frac, ex.Int.size() + static_cast<std::size_t>(d));
  std::size_t intlen = r.size() - static_cast<std::size_t>(d);
  std::string s = (x < 0 ? "-" : "") + r.substr(0, intlen);
  if (d > 0) s += "." + r.substr(intlen);
  return s;
}

std::string ReferenceScientific(double x, int n) {
  TExact ex = ExactExpansion(std::fabs(x));
  std::string all = ex.Int + ex.Frac;
  int exponent = static_cast<int>(ex.Int.size()) - 1;
  std::size_t first = all.find_first_not_of('0');
  all = all.substr(first) + std::string(static_cast<std::size_t>(n) + 1, '0');
  exponent -= static_cast<int>(first);
  std::string r = RoundHalfUp(all, static_cast<std::size_t>(n));
  if (r.size() > static_cast<std::size_t>(n)) {
    r.pop_back();
    ++exponent;
  }
  std::string e = std::to_string(std::abs(exponent));
  e.insert(0, 4 - e.size(), '0');
  return std::string(x < 0 ? "-" : " ") + r[0] + "." + r.substr(1) + "E" +
         (exponent < 0 ? "-" : "+") + e;
}

TEST(FloatTextReference, ExactHalvesRoundUp) {
  // (2k+1) / 2^m has exactly m decimals ending in 5: a true tie at m - 1 decimals.
  for (int m = 1; m <= 30; ++m) {
    for (int k = 0; k < 40; ++k) {
      double x = std::ldexp(2.0 * k + 1.0, -m);
      ASSERT_EQ(FloatText(1, m - 1, x), ReferenceFixed(x, m - 1)) << x << " " << m;
      ASSERT_EQ(FloatText(1, m - 1, -x), ReferenceFixed(-x, m - 1)) << x << " " << m;
    }
  }
  // Integers and halves with one digit more than kept are scientific ties.
  for (int n = 2; n <= 17; ++n) {
    double x = std::pow(10.0, n) + 5.0;  // n+1 digits ending in 5 after the kept n... and more
    ASSERT_EQ(FloatText(n + 8, -2, x), ReferenceScientific(x, n)) << x;
    double y = std::ldexp(123456789.0 * 2.0 + 1.0, -1);  // ends in .5
    ASSERT_EQ(FloatText(n + 8, -2, y), ReferenceScientific(y, n)) << y;
  }
}

TEST(FloatTextReference, RandomValuesMatchTheExactExpansion) {
  std::mt19937_64 rng(12345);
  std::uniform_int_distribution<int> decimals(0, 20);
  std::uniform_int_distribution<int> width(-2, 30);
  std::uniform_real_distribution<double> expo(-30.0, 35.9);
  for (int i = 0; i < 3000; ++i) {
    double x = std::pow(10.0, expo(rng)) * (rng() % 2 ? 1.0 : -1.0);
    int d = decimals(rng);
    ASSERT_EQ(FloatText(1, d, x), ReferenceFixed(x, d)) << x << " d=" << d;
  }
  for (int i = 0; i < 3000; ++i) {
    std::uint64_t bits = rng();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    int w = width(rng);
    int n = std::min(std::max(w - 8, 2), 18);
    std::string s = FloatText(w, -2, x);
    ASSERT_EQ(s.substr(s.size() - static_cast<std::size_t>(n + 8)), ReferenceScientific(x, n))
        << x << " w=" << w;
  }
}

}  // namespace
