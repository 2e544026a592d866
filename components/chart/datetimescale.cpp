#include "components/chart/datetimescale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "components/common/numutil.h"
#include "components/common/timetext.h"

namespace {

// Clock steps: hours, minutes (and seconds), days. Month steps are the first
// five hours: 1, 2, 3, 6, 8.
constexpr int kClockSteps[3][6] = {
    {1, 2, 3, 6, 8, 12}, {1, 2, 5, 10, 20, 30}, {1, 2, 3, 7, 14, 28}};
constexpr int kMonthSteps = 5;

// Days per interval below which a date/time range is shown by unit.
constexpr double kBelowSecond = 1.1574e-5;
constexpr double kSecondsUpTo = 0.00069444;
constexpr double kMinutesUpTo = 0.041667;
constexpr double kHoursUpTo = 1.0;
constexpr double kDaysUpTo = 30.0;
constexpr double kMonthsUpTo = 366.0;
constexpr double kHighestDayNumber = 3000000.0;
constexpr double kTickSlack = 1e-8;
// Far above any scale's tick count; only guards loops against odd input.
constexpr int kMaxTicks = 10000;

enum class TClockLevel { clHours, clMinutes, clSeconds };

// Label formats of time-of-day ticks by level and TimeFormat.
constexpr std::string_view kClockFormats[3][3] = {
    {R"(hh":"nn)", R"(h"h")", "ham/pm"},
    {R"(hh":"nn)", R"(h"h"nn)", R"(h":"nnam/pm)"},
    {R"(hh":"nn":"ss)", R"(h"h"nn":"ss)", R"(h":"nn"."ssam/pm)"},
};

// The separator as a literal of a format text.
std::string Literal(char c) {
  if (c == '\0') return std::string();
  if (c == '"') return "'\"'";
  return std::string("\"") + c + '"';
}

std::string MonthToken(const TDTLabel& f) {
  return f.MonthName() ? "mmm" : "mm";
}

std::string YearToken(const TDTLabel& f) {
  switch (f.YearLength()) {
    case ylNone:
      return std::string();
    case ylYY:
      return "yy";
    case ylYYYY:
      return "yyyy";
  }
  return std::string();
}

// Collects the ticks of one date/time scale.
class TDateTicker {
 public:
  TDateTicker(const TChartAxis& a, const TMonthNames& names, std::vector<TScaleTick>& out)
      : FAxis(a), FNames(names), FOut(out) {}

  void Clock(TClockLevel level, double d);
  void Days(double d);
  void Months();
  void Years();

 private:
  TScaleTick& Add(double t, std::string label) {
    TScaleTick tick;
    tick.Value = t;
    tick.Major = true;
    tick.HasLabel = !label.empty();
    tick.Label = std::move(label);
    FOut.push_back(std::move(tick));
    return FOut.back();
  }
  int MinTick() const { return std::max(1, FAxis.MinTick); }

  const TChartAxis& FAxis;
  const TMonthNames& FNames;
  std::vector<TScaleTick>& FOut;
};

void TDateTicker::Clock(TClockLevel level, double d) {
  const double lo = FAxis.Lo, hi = FAxis.Hi;
  const TDTLabel& f = FAxis.DTFormat;
  double t = lo;
  double step = 0.0;
  switch (level) {
    case TClockLevel::clHours:
      step = ClockStep(TClockRow::crHours, 24, d, lo, t);
      break;
    case TClockLevel::clMinutes:
      step = ClockStep(TClockRow::crMinutes, 1440, d, lo, t);
      break;
    case TClockLevel::clSeconds:
      step = ClockStep(TClockRow::crMinutes, 86400, d, lo, t);
      break;
  }
  const std::string_view format =
      kClockFormats[static_cast<int>(level)][static_cast<int>(f.TimeFormat())];
  int remembered = 0;  // day of the month of the last date label; 0: none yet
  for (int i = 0; i < kMaxTicks && t - hi < kTickSlack && t < kLastDayNumber + 1; ++i) {
    TScaleTick& tick = Add(t, FormatDayNumber(format, t, FNames));
    const int day = DecodeDayNumber(t).Day;
    bool withDate = false;
    switch (f.DateForTime()) {
      case DateForTimeType::dtNone:
        break;
      case DateForTimeType::dtOnePerChart:
        withDate = remembered == 0;
        break;
      case DateForTimeType::dtOnePerDay:
        withDate = day != remembered;
        break;
      case DateForTimeType::dtAllTicks:
        withDate = true;
        break;
    }
    if (withDate) {
      tick.DateLabel = DateText(t, f, FNames);
      remembered = day;
    }
    t += step;
  }
}

void TDateTicker::Days(double d) {
  const double lo = FAxis.Lo, hi = FAxis.Hi;
  int s = 1;
  for (int v : kClockSteps[2])
    if (v <= d) s = v;
  // Every s days counted from 1 January of the first year, across year ends.
  const double jan1 = EncodeDate(DecodeDayNumber(lo).Year, 1, 1);
  const auto whole = static_cast<std::int64_t>(std::trunc(lo - jan1));
  double t = jan1 + static_cast<double>(whole / s * s);
  for (int i = 0; i < kMaxTicks && t - hi < kTickSlack && t <= kLastDayNumber; ++i) {
    if (t >= lo) Add(t, DateText(t, FAxis.DTFormat, FNames));
    t += s;
  }
}

void TDateTicker::Months() {
  const double lo = FAxis.Lo, hi = FAxis.Hi;
  const TDTLabel& f = FAxis.DTFormat;
  const TDateTimeParts p = DecodeDayNumber(lo);
  int y = p.Year, m = p.Month;
  const double c = (hi - lo) * 12 / 365.25 / MinTick();
  int s = 1;
  for (int i = 0; i < kMonthSteps; ++i)
    if (kClockSteps[0][i] <= c) s = kClockSteps[0][i];
  if (s > 1) {
    // The first month of the step's cycle after the one lo lies in.
    do {
      if (++m > 12) {
        m = 1;
        ++y;
      }
    } while (m % s != 1);
  }
  const std::string sep = Literal(f.DateSeparator());
  const std::string year = YearToken(f);
  std::string format = MonthToken(f);
  if (!year.empty()) format = f.DateOrder() == doYYMMDD ? year + sep + format : format + sep + year;
  for (int i = 0; i < kMaxTicks && y <= 9999; ++i) {
    const double t = EncodeDate(y, m, 1);
    if (!(t - hi < kTickSlack)) break;
    if (t >= lo) Add(t, FormatDayNumber(format, t, FNames));
    const int next = m + s;
    y += (next - 1) / 12;
    m = (next - 1) % 12 + 1;
  }
}

void TDateTicker::Years() {
  const double lo = FAxis.Lo, hi = FAxis.Hi;
  const TDTLabel& f = FAxis.DTFormat;
  const TDateTimeParts p = DecodeDayNumber(lo);
  const double y = std::max(1.0, (hi - lo) / 365.25 / MinTick());
  const double l = std::log10(y);
  const double mantissa = std::pow(10.0, l - std::trunc(l));
  const double f125 = mantissa < 2 ? 1 : (mantissa < 5 ? 2 : 5);
  const int s = std::max(
      1, static_cast<int>(std::nearbyint(std::trunc(std::pow(10.0, std::trunc(l))) * f125)));
  int first = s * ((p.Year - 1) / s + 1);
  if (first == p.Year && (p.Month > 1 || p.Day > 1)) first += s;
  bool last = first > 9999;
  double t = last ? kLastDayNumber : EncodeDate(first, 1, 1);
  for (int i = 0; i < kMaxTicks && t - hi < kTickSlack; ++i) {
    if (t >= lo) {
      std::string label;
      if (f.YearLength() == ylYY) {
        label = FormatDayNumber("yy", t, FNames);
      } else if (f.YearLength() == ylYYYY) {
        label = FormatDayNumber("yyyy", t, FNames);
        label.erase(0, std::min(label.find_first_not_of('0'), label.size() - 1));
      }
      Add(t, std::move(label));
    }
    if (last) break;
    const int next = DecodeDayNumber(t).Year + s;
    last = next > 9999;
    t = last ? kLastDayNumber : EncodeDate(next, 1, 1);
  }
}

}  // namespace

std::string SecondsText(double v) {
  const double a = std::fabs(v);
  const double hours = std::trunc(a / 3600);
  const double minutes = std::trunc((a - 3600 * hours) / 60);
  const double seconds = std::trunc(a - 3600 * hours - 60 * minutes);
  return (v >= 0 ? " " : "-") + TimeText(static_cast<unsigned>(hours),
                                         static_cast<unsigned>(minutes),
                                         static_cast<unsigned>(seconds), 0, 1);
}

std::optional<std::vector<TScaleTick>> TimeTicks(const TChartAxis& a, const TAxisRule& rule) {
  const double lo = a.Lo, hi = a.Hi;
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo == hi || a.MinTick <= 0) return std::nullopt;
  const double r = std::fabs(hi - lo) / a.MinTick;
  std::size_t k = 0;  // the entries not above r
  while (k < rule.TimeSteps.size() && rule.TimeSteps[k].Seconds <= r) ++k;
  if (k == 0 || k == rule.TimeSteps.size()) return std::nullopt;

  const double dir = hi > lo ? 1.0 : -1.0;
  const TTimeStep& ts = rule.TimeSteps[k - 1];
  const double step = dir * ts.Seconds;
  const double minor = step / ts.Sub;
  const double first = std::floor(lo / step * 1.0000100001) * step;
  // The range widened by a relative 1e-5 at both ends, in the walking direction; far
  // from zero that would span many steps, so the widening stays below 1% of a minor step.
  const double up = 1.00001, down = 0.99999, maxSlack = 0.01 * std::fabs(minor);
  auto widened = [&](double b, bool outwardIsUp) {
    if (1e-5 * std::fabs(b) > maxSlack) return b + (outwardIsUp ? maxSlack : -maxSlack);
    return b * (outwardIsUp == (b > 0) ? up : down);
  };
  const double lowLimit = widened(lo, dir < 0);
  const double highLimit = widened(hi, dir > 0);
  auto inside = [&](double v) { return dir * v >= dir * lowLimit && dir * v <= dir * highLimit; };
  // The walk starts one minor step before lo, whether the first tick lies below lo
  // or, far from zero, above it, and it spans the range and a few steps more, so the
  // far end is always reached (-3600..3600 ends at 3600) and the count stays small.
  const double from = std::ceil((lo - first) / minor) - 1;
  const double span = std::trunc((hi - lo) / minor) + 5;
  if (!(std::fabs(from) < 1e9) || !(span <= kMaxTicks)) return std::nullopt;
  const int begin = static_cast<int>(from), end = begin + static_cast<int>(span);

  std::vector<TScaleTick> ticks;
  if (rule.MinorTicks) {
    for (int i = begin; i <= end; ++i) {
      const double v = first + i * minor;
      if (inside(v)) ticks.push_back({v, false, false, std::string(), std::string()});
    }
  }
  for (int i = begin; i <= end; ++i) {
    const double v = first + i * minor;
    const double q = v / step;
    const double whole = q >= 0 ? std::trunc(q + 0.5) : std::trunc(q - 0.5);
    if (std::fabs(q - whole) < 0.01 && inside(v))
      ticks.push_back({v, true, true, SecondsText(v), std::string()});
  }
  return ticks;
}

TDateTimeScale DateTimeTicks(const TChartAxis& a, const TMonthNames& names) {
  TDateTimeScale s;
  const double lo = a.Lo, hi = a.Hi;
  if (!(hi >= lo) || !(lo >= 1) || !(hi <= kHighestDayNumber)) {
    s.Message = TScaleMessage::smInvalid;
    return s;
  }
  const double d = (hi - lo) / std::max(1, a.MinTick);
  TDateTicker ticker(a, names, s.Ticks);
  if (d <= kBelowSecond) {
    s.Message = TScaleMessage::smBelowSecond;
  } else if (d <= kSecondsUpTo) {
    ticker.Clock(TClockLevel::clSeconds, d);
  } else if (d <= kMinutesUpTo) {
    ticker.Clock(TClockLevel::clMinutes, d);
  } else if (d <= kHoursUpTo) {
    ticker.Clock(TClockLevel::clHours, d);
  } else if (d <= kDaysUpTo) {
    ticker.Days(d);
  } else if (d <= kMonthsUpTo) {
    ticker.Months();
  } else {
    ticker.Years();
  }
  return s;
}

std::vector<std::string_view> ScaleMessageLines(TScaleMessage m, bool stacked) {
  switch (m) {
    case TScaleMessage::smNone:
      break;
    case TScaleMessage::smInvalid:
      if (stacked) return {"invalid", "DateTime", "scale"};
      return {"invalid DateTime scale"};
    case TScaleMessage::smBelowSecond:
      if (stacked) return {"DateTime", "range is", "below 1", "second"};
      return {"DateTime range is below 1 second"};
  }
  return {};
}

double ClockStep(TClockRow row, int unitsPerDay, double d, double lo, double& first) {
  const int* entries = kClockSteps[static_cast<int>(row)];
  const double x = d * unitsPerDay;
  int s = entries[0];
  for (int i = 0; i < 6; ++i)
    if (entries[i] <= x) s = entries[i];
  const double whole = std::trunc(lo);
  const long long u = CeilInt((lo - whole) * unitsPerDay);
  first = static_cast<double>((u + s - 1) / s * s) / unitsPerDay + whole;
  return static_cast<double>(s) / unitsPerDay;
}

std::string DateText(double t, const TDTLabel& f, const TMonthNames& names) {
  const std::string m = MonthToken(f), y = YearToken(f), s = Literal(f.DateSeparator());
  std::string format;
  switch (f.DateOrder()) {
    case doMMDDYY:
      format = m + s + "dd";
      if (!y.empty()) format += s + y;
      break;
    case doDDMMYY:
      format = "dd" + s + m;
      if (!y.empty()) format += s + y;
      break;
    case doYYMMDD:
      format = y.empty() ? m + s + "dd" : y + s + m + s + "dd";
      break;
  }
  return FormatDayNumber(format, t, names);
}
