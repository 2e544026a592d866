#include "components/common/decimal.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace {

// Conversions ask for a few digits beyond the kept ones; they decide the rounding
// unless they read exactly "5000...", in which case the exact expansion is consulted.
constexpr int kGuard = 4;
// Enough fraction digits to hold the exact expansion of any double (at most 1074).
constexpr int kExactFixed = 1100;
// Enough significant digits to hold the exact expansion of any double (at most 767).
constexpr int kExactSci = 780;

enum class TRound { rdDown, rdUp, rdTie };

// How the dropped digits [t, end) round the kept ones: below half, above half, or exactly
// half as far as these digits show.
TRound TailRounding(const char* t, const char* end) {
  if (t == end || *t < '5') return TRound::rdDown;
  if (*t > '5') return TRound::rdUp;
  for (++t; t < end; ++t)
    if (*t != '0') return TRound::rdUp;
  return TRound::rdTie;
}

// Adds one unit in the last place; returns true when a carry leaves the first digit.
bool Increment(std::string& digits) {
  for (auto i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  return true;
}

// A small buffer on the stack for the usual precisions, the heap for large ones.
class TCharBuf {
 public:
  explicit TCharBuf(std::size_t n) {
    if (n > sizeof FLocal) FHeap.resize(n);
  }
  char* Begin() { return FHeap.empty() ? FLocal : FHeap.data(); }
  char* End() { return FHeap.empty() ? FLocal + sizeof FLocal : FHeap.data() + FHeap.size(); }

 private:
  char FLocal[512];  // 309 integer digits and the usual fraction digits
  std::vector<char> FHeap;
};

}  // namespace

std::string FixedDigits(double a, int d) {
  int guard = d > kExactFixed ? 0 : kGuard;
  int prec = d + guard;
  TCharBuf buf(static_cast<std::size_t>(prec) + 360);
  auto res = std::to_chars(buf.Begin(), buf.End(), a, std::chars_format::fixed, prec);
  std::string_view s(buf.Begin(), static_cast<std::size_t>(res.ptr - buf.Begin()));
  auto dot = s.find('.');
  std::string_view ip = s.substr(0, dot);
  std::string_view fp = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
  std::string digits;
  digits.reserve(ip.size() + static_cast<std::size_t>(d) + 1);
  digits.append(ip);
  digits.append(fp.substr(0, static_cast<std::size_t>(d)));
  TRound r = TailRounding(fp.data() + d, fp.data() + fp.size());
  if (r == TRound::rdTie) {
    TCharBuf exact(kExactFixed + 360);
    auto ex = std::to_chars(exact.Begin(), exact.End(), a, std::chars_format::fixed, kExactFixed);
    std::string_view es(exact.Begin(), static_cast<std::size_t>(ex.ptr - exact.Begin()));
    std::string_view efp = es.substr(es.find('.') + 1);
    r = TailRounding(efp.data() + d, efp.data() + efp.size());
    if (r == TRound::rdTie) r = TRound::rdUp;  // an exact half rounds up
  }
  if (r == TRound::rdUp) Increment(digits);
  return digits;
}

std::string SignificantDigits(double a, int n, int& exponent) {
  TCharBuf buf(static_cast<std::size_t>(n) + kGuard + 32);
  auto res =
      std::to_chars(buf.Begin(), buf.End(), a, std::chars_format::scientific, n - 1 + kGuard);
  std::string_view s(buf.Begin(), static_cast<std::size_t>(res.ptr - buf.Begin()));
  auto e = s.find('e');
  std::string digits;
  digits.reserve(static_cast<std::size_t>(n) + 1);
  digits.push_back(s[0]);
  std::string_view frac = s.substr(2, e - 2);
  digits.append(frac.substr(0, static_cast<std::size_t>(n - 1)));
  const char* expBegin = s.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, s.data() + s.size(), exponent);
  TRound r = TailRounding(frac.data() + (n - 1), frac.data() + frac.size());
  if (r == TRound::rdTie) {
    std::vector<char> exact(kExactSci + 32);
    auto ex = std::to_chars(exact.data(), exact.data() + exact.size(), a,
                            std::chars_format::scientific, kExactSci);
    std::string_view es(exact.data(), static_cast<std::size_t>(ex.ptr - exact.data()));
    std::string_view efrac = es.substr(2, es.find('e') - 2);
    r = TailRounding(efrac.data() + (n - 1), efrac.data() + efrac.size());
    if (r == TRound::rdTie) r = TRound::rdUp;
  }
  if (r == TRound::rdUp && Increment(digits)) {
    digits.pop_back();  // 9.99 became 10.00: keep n digits, one decade up
    ++exponent;
  }
  return digits;
}
