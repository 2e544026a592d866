#include "components/common/floattext.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <vector>

#include "components/common/decimal.h"

namespace {

std::string PadLeft(std::string s, int width) {
  if (width > 0 && s.size() < static_cast<std::size_t>(width))
    s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string SpecialText(double x) {
  if (std::isnan(x)) return "Nan";
  return x > 0 ? "+Inf" : "-Inf";
}

std::string ScientificForm(int width, double x) {
  if (!std::isfinite(x)) return PadLeft(SpecialText(x), width);
  int n = width < 10 ? 2 : (width > 26 ? 18 : width - 8);
  int exponent = 0;
  std::string digits = SignificantDigits(std::fabs(x), n, exponent);
  std::string s;
  s.reserve(static_cast<std::size_t>(n) + 8);
  s.push_back(x < 0 ? '-' : ' ');
  s.push_back(digits[0]);
  s.push_back('.');
  s.append(digits, 1, std::string::npos);
  s.push_back('E');
  s.push_back(exponent < 0 ? '-' : '+');
  unsigned mag = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  char e4[4] = {static_cast<char>('0' + mag / 1000 % 10), static_cast<char>('0' + mag / 100 % 10),
                static_cast<char>('0' + mag / 10 % 10), static_cast<char>('0' + mag % 10)};
  s.append(e4, 4);
  return PadLeft(std::move(s), width);
}

std::string FixedForm(int width, int decimals, double x) {
  if (!std::isfinite(x)) return PadLeft(SpecialText(x), width);
  double a = std::fabs(x);
  if (a >= 1e36) return ScientificForm(width, x);
  std::string digits = FixedDigits(a, decimals);
  std::size_t intlen = digits.size() - static_cast<std::size_t>(decimals);
  std::string s;
  s.reserve(digits.size() + 2);
  if (x < 0) s.push_back('-');
  s.append(digits, 0, intlen);
  if (decimals > 0) {
    s.push_back('.');
    s.append(digits, intlen, std::string::npos);
  }
  return PadLeft(std::move(s), width);
}

std::string SqueezedForm(int width, double x) {
  if (!std::isfinite(x)) return PadLeft(SpecialText(x), width);
  std::string s = ScientificForm(width > INT_MAX - 2 ? INT_MAX : width + 2, x);
  auto e = s.find('E');
  // Drop the two leading exponent digits; they must be zeros to fit.
  bool fits = s[e + 2] == '0' && s[e + 3] == '0';
  s.erase(e + 2, 2);
  if (!fits) s.assign(s.size(), '*');
  return s;
}

}  // namespace

std::string FloatText(int width, int decimals, double x) {
  if (decimals >= 0) return FixedForm(width, decimals, x);
  if (decimals == -1) return SqueezedForm(width, x);
  return ScientificForm(width, x);
}
