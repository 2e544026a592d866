#include "components/common/numparse.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <string>

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The parts of a number text that passed the syntax check.
struct TNumberParts {
  bool Negative = false;
  std::string_view IntDigits, FracDigits;
  long long Exponent = 0;  // saturated far beyond any double's range
};

// Where a number whose conversion is out of range lies: true when it is too large
// (it overflows), false when it is too small. The power of ten of its first non-zero
// digit decides.
bool Overflows(const TNumberParts& p) {
  const auto lead =
      std::find_if(p.IntDigits.begin(), p.IntDigits.end(), [](char c) { return c != '0'; });
  long long power;
  if (lead != p.IntDigits.end()) {
    power = static_cast<long long>(p.IntDigits.end() - lead) - 1;
  } else {
    const auto frac =
        std::find_if(p.FracDigits.begin(), p.FracDigits.end(), [](char c) { return c != '0'; });
    if (frac == p.FracDigits.end()) return false;  // zero
    power = -static_cast<long long>(frac - p.FracDigits.begin()) - 1;
  }
  return power + p.Exponent >= 0;
}

// Whether a number that overflows is still at most 1.79769313486232E+308, the
// fifteen-digit rounding of the largest double.
bool WithinRoundedMax(const TNumberParts& p) {
  std::string digits;
  digits.append(p.IntDigits);
  digits.append(p.FracDigits);
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return true;
  const long long power =
      static_cast<long long>(p.IntDigits.size()) - 1 - static_cast<long long>(first) + p.Exponent;
  if (power != 308) return power < 308;
  digits.erase(0, first);
  digits.erase(digits.find_last_not_of('0') + 1);
  return digits <= std::string_view("179769313486232");
}

}  // namespace

std::optional<double> ParseReal(std::string_view text, TNumberSyntax syntax) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (syntax.LeadingBlanks)
    while (i < n && text[i] == ' ') ++i;
  TNumberParts parts;
  if (i < n && (text[i] == '+' || text[i] == '-')) parts.Negative = text[i++] == '-';
  auto digits = [&] {
    const std::size_t from = i;
    while (i < n && IsDigit(text[i])) ++i;
    return text.substr(from, i - from);
  };
  const std::size_t mantissaStart = i;
  parts.IntDigits = digits();
  if (parts.IntDigits.empty() && !syntax.OptionalDigitsAroundPoint) return std::nullopt;
  if (i < n && text[i] == '.') {
    ++i;
    if (i == n) return std::nullopt;  // a point is never the last character
    parts.FracDigits = digits();
    if (parts.FracDigits.empty() && !syntax.OptionalDigitsAroundPoint) return std::nullopt;
  }
  if (parts.IntDigits.empty() && parts.FracDigits.empty()) return std::nullopt;
  const std::size_t mantissaEnd = i;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool minus = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
    const std::string_view e = digits();
    if (e.empty()) return std::nullopt;
    for (char c : e) parts.Exponent = std::min(parts.Exponent * 10 + (c - '0'), 1'000'000'000LL);
    if (minus) parts.Exponent = -parts.Exponent;
  }
  if (i != n) return std::nullopt;

  // from_chars takes neither a leading "+" nor a mantissa without digits before or
  // after the point ("5.e3"), so the conversion gets a normalised copy of the text.
  std::string plain;
  plain.reserve(n - mantissaStart + 2);
  plain.append(parts.IntDigits.empty() ? std::string_view("0") : parts.IntDigits);
  if (!parts.FracDigits.empty()) {
    plain.push_back('.');
    plain.append(parts.FracDigits);
  }
  plain.append(text.substr(mantissaEnd));
  double value = 0.0;
  const auto r =
      std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (!Overflows(parts))
      value = 0.0;
    else if (WithinRoundedMax(parts))
      value = DBL_MAX;
    else
      return std::nullopt;
  } else if (r.ec != std::errc() || r.ptr != plain.data() + plain.size()) {
    return std::nullopt;
  }
  return parts.Negative ? -value : value;
}

bool TextToReal(std::string_view token, double& value) {
  const std::optional<double> v = ParseReal(token);
  if (!v) return false;
  value = *v;
  return true;
}

bool TextToInt(std::string_view t, std::int32_t& value) {
  if (t.empty()) return false;
  std::int64_t v = 0;
  if (t[0] == '$') {
    if (t.size() == 1) return false;
    for (std::size_t i = 1; i < t.size(); ++i) {
      const int h = HexValue(t[i]);
      if (h < 0) return false;
      v = v * 16 + h;
      if (v > INT32_MAX) return false;
    }
    value = static_cast<std::int32_t>(v);
    return true;
  }
  std::size_t i = 0;
  bool neg = false;
  if (t[0] == '+' || t[0] == '-') {
    neg = t[0] == '-';
    i = 1;
  }
  if (i == t.size()) return false;
  for (; i < t.size(); ++i) {
    if (!IsDigit(t[i])) return false;
    v = v * 10 + (t[i] - '0');
    if (v > std::int64_t{INT32_MAX} + 1) return false;
  }
  if (neg) v = -v;
  if (v > INT32_MAX) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}
