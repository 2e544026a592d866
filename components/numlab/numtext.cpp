#include "components/numlab/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// Exact decimal expansion of |x| as digits with the decimal point after
// `intDigits` of them (no sign, no point). A double has at most 1074 fraction
// digits and 309 integer digits.
struct TDecimal {
  std::string Digits;  // at least one digit, no leading zeros except a single "0"
  int IntDigits = 0;   // digits before the decimal point
};

TDecimal ExactDecimal(double x) {
  char buf[1500];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::fixed, 1074);
  std::string s(buf, res.ptr);
  TDecimal d;
  auto point = s.find('.');
  d.IntDigits = static_cast<int>(point == std::string::npos ? s.size() : point);
  if (point != std::string::npos) s.erase(point, 1);
  // trailing zeros of the fraction carry no information
  while (static_cast<int>(s.size()) > d.IntDigits && s.back() == '0') s.pop_back();
  d.Digits = s;
  return d;
}

// Rounds the digit string so that `keep` digits remain (half away from zero:
// the expansion is exact, so a 5 followed by nothing is a true tie). Returns
// true when the rounding carried into a new leading digit.
bool RoundDigits(std::string& digits, int keep) {
  if (keep < 0) keep = 0;
  if (static_cast<int>(digits.size()) <= keep) {
    digits.append(keep - digits.size(), '0');
    return false;
  }
  bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (!up) return false;
  for (int i = keep - 1; i >= 0; --i) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  digits.insert(digits.begin(), '1');
  return true;
}

bool AllZero(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == '0'; });
}

// Fixed notation with `decimals` digits after the separator, rounded half away
// from zero. A value that rounds to zero is shown without a minus sign.
std::string FixedText(double value, int decimals, std::string_view sep) {
  TDecimal d = ExactDecimal(value);
  std::string digits = d.Digits;
  int intDigits = d.IntDigits;
  if (RoundDigits(digits, intDigits + decimals)) ++intDigits;
  std::string out;
  if (std::signbit(value) && !AllZero(digits)) out += '-';
  std::string intPart = digits.substr(0, intDigits);
  intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size()));
  out += intPart.empty() ? "0" : intPart;
  if (decimals > 0) {
    out += sep;
    out += digits.substr(intDigits);
  }
  return out;
}

// Significant digits of |value| rounded to `count` digits and the decimal
// exponent of the first of them (value = d1.d2d3... * 10^exponent).
// Zero gives count zeros and exponent 0.
void SignificantDigits(double value, int count, std::string& digits, int& exponent) {
  if (value == 0.0) {
    digits.assign(count, '0');
    exponent = 0;
    return;
  }
  TDecimal d = ExactDecimal(value);
  std::size_t first = d.Digits.find_first_not_of('0');
  digits = d.Digits.substr(first);
  exponent = d.IntDigits - 1 - static_cast<int>(first);
  if (RoundDigits(digits, count)) {
    ++exponent;
    digits.pop_back();
  }
}

std::string ExponentText(int exponent) {
  std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
  if (e.size() < 3) e.insert(0, 3 - e.size(), '0');
  return std::string("E") + (exponent < 0 ? "-" : "+") + e;
}

std::string ExpText(double value, int precision, std::string_view sep) {
  std::string digits;
  int exponent = 0;
  SignificantDigits(value, precision, digits, exponent);
  std::string out = std::signbit(value) && !AllZero(digits) ? "-" : "";
  out += digits[0];
  if (digits.size() > 1) {
    out += sep;
    out += digits.substr(1);
  }
  return out + ExponentText(exponent);
}

std::string GeneralText(double value, int precision, std::string_view sep) {
  if (value == 0.0) return "0";
  std::string digits;
  int exponent = 0;
  SignificantDigits(value, precision, digits, exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = value < 0 ? "-" : "";
  if (exponent + 1 > precision || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep;
      out += digits.substr(1);
    }
    return out + ExponentText(exponent);
  }
  if (exponent < 0) {
    out += "0";
    out += sep;
    out.append(-exponent - 1, '0');
    return out + digits;
  }
  int intDigits = exponent + 1;
  if (static_cast<int>(digits.size()) < intDigits) digits.append(intDigits - digits.size(), '0');
  out += digits.substr(0, intDigits);
  if (static_cast<int>(digits.size()) > intDigits) {
    out += sep;
    out += digits.substr(intDigits);
  }
  return out;
}

// The integer formats accept the signed 32-bit range only; the value is rounded
// to the nearest integer, ties to even.
std::optional<std::int64_t> RoundedInt32(double value) {
  if (!(value <= 2147483647.0 && value >= -2147483648.0)) return std::nullopt;  // also NaN
  double r = std::floor(value);
  double frac = value - r;  // exact for this range
  if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  return static_cast<std::int64_t>(r);
}

}  // namespace

std::optional<std::string> NumLabText(TDisplay type, int precision, double value,
                                      std::string_view decimalSeparator) {
  precision = std::clamp(precision, 0, 15);
  if (!std::isfinite(value)) return std::nullopt;
  switch (type) {
    case TDisplay::dtFloat:
      return GeneralText(value, std::max(precision, 1), decimalSeparator);
    case TDisplay::dtFixP:
      return FixedText(value, precision, decimalSeparator);
    case TDisplay::dtExp:
      return ExpText(value, std::max(precision, 1), decimalSeparator);
    case TDisplay::dtHex: {
      auto n = RoundedInt32(value);
      if (!n) return std::nullopt;
      std::size_t p = static_cast<std::size_t>(std::min(precision, 8));
      auto bits = static_cast<std::uint32_t>(*n);
      char buf[16];
      auto res = std::to_chars(buf, buf + sizeof buf, bits, 16);
      std::string s(buf, res.ptr);
      std::transform(s.begin(), s.end(), s.begin(),
                     [](char c) { return c >= 'a' && c <= 'f' ? char(c - 'a' + 'A') : c; });
      if (s.size() < p) s.insert(0, p - s.size(), '0');
      if (s.size() > p) s.erase(0, s.size() - p);
      return s;
    }
    case TDisplay::dtZeroInt: {
      auto n = RoundedInt32(value);
      if (!n) return std::nullopt;
      std::int64_t v = *n;
      std::string s = std::to_string(v < 0 ? -v : v);
      if (static_cast<int>(s.size()) < precision) s.insert(0, precision - s.size(), '0');
      return v < 0 ? "-" + s : s;
    }
    case TDisplay::dtInt:
      return FixedText(value, 0, decimalSeparator);
  }
  return std::nullopt;
}
