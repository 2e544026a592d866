#include "components/numlab/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "components/common/decimal.h"

namespace {

bool AllZero(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == '0'; });
}

// Fixed notation with `decimals` digits after the separator, rounded half away
// from zero. A value that rounds to zero is shown without a minus sign.
std::string FixedText(double value, int decimals, std::string_view sep) {
  const std::string digits = FixedDigits(std::fabs(value), decimals);
  const std::size_t intDigits = digits.size() - static_cast<std::size_t>(decimals);
  std::string out;
  if (std::signbit(value) && !AllZero(digits)) out += '-';
  out.append(digits, 0, intDigits);
  if (decimals > 0) {
    out += sep;
    out.append(digits, intDigits, std::string::npos);
  }
  return out;
}

std::string ExponentText(int exponent) {
  std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
  if (e.size() < 3) e.insert(0, 3 - e.size(), '0');
  return std::string("E") + (exponent < 0 ? "-" : "+") + e;
}

std::string ExpText(double value, int precision, std::string_view sep) {
  std::string digits;
  int exponent = 0;
  digits = SignificantDigits(std::fabs(value), precision, exponent);
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
  digits = SignificantDigits(std::fabs(value), precision, exponent);
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
