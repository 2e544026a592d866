#include "components/chart/calendar.h"

#include <chrono>
#include <cmath>
#include <cstdint>

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86400000;
// 30 December 1899, the day 0 of day numbers.
constexpr sys_days kDayZero = sys_days{year{1899} / December / 30};

// Whole number with at least `digits` digits.
void AppendNumber(std::string& out, int v, int digits) {
  std::string s = std::to_string(v < 0 ? -v : v);
  if (v < 0) out += '-';
  if (static_cast<int>(s.size()) < digits) out.append(digits - s.size(), '0');
  out += s;
}

bool StartsWith(std::string_view s, std::size_t i, std::string_view token) {
  return s.substr(i, token.size()) == token;
}

}  // namespace

TDateTimeParts DecodeDayNumber(double t) {
  TDateTimeParts p;
  if (!std::isfinite(t)) return p;
  const double ms = std::nearbyint(std::fabs(t) * static_cast<double>(kMsPerDay));
  if (!(ms < 9.2e18)) return p;
  const auto total = static_cast<std::int64_t>(ms);
  const std::int64_t day = (t < 0 ? -1 : 1) * (total / kMsPerDay);
  std::int64_t rest = total % kMsPerDay;
  const year_month_day ymd{kDayZero + days{day}};
  p.Year = static_cast<int>(ymd.year());
  p.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.Millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  p.Second = static_cast<int>(rest % 60);
  rest /= 60;
  p.Minute = static_cast<int>(rest % 60);
  p.Hour = static_cast<int>(rest / 60);
  return p;
}

double EncodeDate(int y, int m, int d) {
  const sys_days day{year{y} / month{static_cast<unsigned>(m)} /
                     ::std::chrono::day{static_cast<unsigned>(d)}};
  return static_cast<double>((day - kDayZero).count());
}

std::string FormatDayNumber(std::string_view format, double t, const TMonthNames& names) {
  const TDateTimeParts p = DecodeDayNumber(t);
  const bool twelve = format.find("am/pm") != std::string_view::npos;
  std::string out;
  for (std::size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = format.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? format.size() : end;
      out.append(format.substr(i + 1, stop - i - 1));
      i = stop + 1;
    } else if (StartsWith(format, i, "am/pm")) {
      out += p.Hour < 12 ? "am" : "pm";
      i += 5;
    } else if (StartsWith(format, i, "hh") || c == 'h') {
      int h = p.Hour;
      if (twelve) h = h % 12 == 0 ? 12 : h % 12;
      const bool two = StartsWith(format, i, "hh");
      AppendNumber(out, h, two ? 2 : 1);
      i += two ? 2 : 1;
    } else if (StartsWith(format, i, "nn")) {
      AppendNumber(out, p.Minute, 2);
      i += 2;
    } else if (StartsWith(format, i, "ss")) {
      AppendNumber(out, p.Second, 2);
      i += 2;
    } else if (StartsWith(format, i, "dd")) {
      AppendNumber(out, p.Day, 2);
      i += 2;
    } else if (StartsWith(format, i, "mmm")) {
      out += names[p.Month - 1];
      i += 3;
    } else if (StartsWith(format, i, "mm")) {
      AppendNumber(out, p.Month, 2);
      i += 2;
    } else if (StartsWith(format, i, "yyyy")) {
      AppendNumber(out, p.Year, 4);
      i += 4;
    } else if (StartsWith(format, i, "yy")) {
      AppendNumber(out, p.Year % 100, 2);
      i += 2;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}
