#include "components/chart/datetimescale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "tests/components/chart/near.h"

namespace {

const TMonthNames kEnglish = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr double kSecond = 1.0 / 86400;

TChartAxis Axis(double lo, double hi, int minTick = 3, FigType type = FigType::DateTime) {
  TChartAxis a;
  a.Lo = lo;
  a.Hi = hi;
  a.MinTick = minTick;
  a.LabelType = type;
  return a;
}

struct TSeen {
  std::vector<double> Major, Minor;
  std::vector<std::string> Labels, DateLabels;
};

TSeen Collect(const std::vector<TScaleTick>& ticks) {
  TSeen s;
  for (const auto& t : ticks) {
    (t.Major ? s.Major : s.Minor).push_back(t.Value);
    if (t.HasLabel) s.Labels.push_back(t.Label);
    s.DateLabels.push_back(t.DateLabel);
  }
  return s;
}

std::vector<std::string> DateLabels(const TChartAxis& a) {
  return Collect(DateTimeTicks(a, kEnglish).Ticks).DateLabels;
}

}  // namespace

TEST(Calendar, DayNumbersSplitAfterRoundingToTheMillisecond) {
  struct TCase {
    double T;
    int Y, M, D, H, N, S, Ms;
  } cases[] = {
      {35000, 1995, 10, 28, 0, 0, 0, 0},
      {0.12499999999, 1899, 12, 30, 3, 0, 0, 0},
      {1, 1899, 12, 31, 0, 0, 0, 0},
      {35000.75, 1995, 10, 28, 18, 0, 0, 0},
      {2958465.5, 9999, 12, 31, 12, 0, 0, 0},
      {0.99999999999, 1899, 12, 31, 0, 0, 0, 0},
      {36160.0000123, 1998, 12, 31, 0, 0, 1, 63},
      {-1.25, 1899, 12, 29, 6, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.T);
    const TDateTimeParts p = DecodeDayNumber(c.T);
    EXPECT_EQ((std::vector<int>{p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond}),
              (std::vector<int>{c.Y, c.M, c.D, c.H, c.N, c.S, c.Ms}));
  }
  EXPECT_EQ(EncodeDate(1995, 10, 28), 35000);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
  EXPECT_EQ(EncodeDate(9999, 12, 31), kLastDayNumber);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2);  // a leap year
}

TEST(Calendar, FormatTokens) {
  const double t = EncodeDate(1995, 10, 28) + (9 * 3600 + 5 * 60 + 30) * kSecond;
  const double noon = 35000.5, midnight = 35000, evening = 35000.75;
  struct TCase {
    const char* Format;
    double T;
    const char* Want;
  } cases[] = {
      {R"(hh":"nn":"ss)", t, "09:05:30"},
      {R"(h"h"nn)", t, "9h05"},
      {"ham/pm", midnight, "12am"},
      {"ham/pm", noon, "12pm"},
      {"ham/pm", evening, "6pm"},
      {R"(h":"nn"."ssam/pm)", t, "9:05.30am"},
      {"h", evening, "18"},
      {"dd-mmm-yyyy", t, "28-Oct-1995"},
      {"yy/mm/dd", t, "95/10/28"},
      {"'dd' dd", t, "dd 28"},
      {"yyyy", EncodeDate(987, 1, 1), "0987"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDayNumber(c.Format, c.T, kEnglish), c.Want) << c.Format;
}

TEST(TimeScale, SecondsText) {
  EXPECT_EQ(SecondsText(3725.9), " 01:02:05");
  EXPECT_EQ(SecondsText(-90), "-00:01:30");
  EXPECT_EQ(SecondsText(360000), " 100:00:00");
}

TEST(TimeScale, StepsTicksAndLabels) {
  struct TCase {
    double Lo, Hi;
    int N;
    bool X;
    std::vector<double> Major;
    std::vector<std::string> Labels;
    int Minors;
  } cases[] = {
      {0,
       3600,
       3,
       true,
       {0, 1200, 2400, 3600},
       {" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"},
       19},
      {-100, 140, 2, true, {0, 120}, {" 00:00:00", " 00:02:00"}, 13},
      {0, 10, 3, false, {0, 2, 4, 6, 8, 10}, {}, 0},
      // The far end of a range symmetric about 0 is ticked too.
      {-3600, 3600, 3, true, {-3600, -1800, 0, 1800, 3600}, {}, 25},
      // Reversed axes walk downward, the y axis as the x axis.
      {3600, 0, 3, true, {3600, 2400, 1200, 0}, {}, 19},
      {10, 0, 3, false, {10, 8, 6, 4, 2, 0}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << (c.X ? " x" : " y"));
    const auto ticks =
        TimeTicks(Axis(c.Lo, c.Hi, c.N, FigType::Time), c.X ? kXAxisRule : kYAxisRule);
    ASSERT_TRUE(ticks.has_value());
    const TSeen s = Collect(*ticks);
    ExpectAllNear(s.Major, c.Major, 1e-6);
    if (!c.Labels.empty()) EXPECT_EQ(s.Labels, c.Labels);
    EXPECT_EQ(s.Labels.size(), s.Major.size());
    EXPECT_EQ(static_cast<int>(s.Minor.size()), c.Minors);
  }
  // x: 3.3 s per interval is below the 5-second step; a day or more per interval
  // fits no step either: both are drawn as numeric axes.
  EXPECT_FALSE(TimeTicks(Axis(0, 10, 3, FigType::Time), kXAxisRule));
  EXPECT_FALSE(TimeTicks(Axis(0, 300000, 3, FigType::Time), kXAxisRule));
  EXPECT_FALSE(TimeTicks(Axis(0, 300000, 3, FigType::Time), kYAxisRule));
  EXPECT_FALSE(TimeTicks(Axis(0, 2, 3, FigType::Time), kYAxisRule));
}

TEST(DateTimeScale, ClockTicksAndFormats) {
  struct TCase {
    double Lo, Hi;
    TimeFormatType Format;
    std::vector<std::string> Labels;
  } cases[] = {
      {35000.25, 35000.75, tfHHMMSS, {"06:00", "09:00", "12:00", "15:00", "18:00"}},
      {35000.25, 35000.75, tfAMPM, {"6am", "9am", "12pm", "3pm", "6pm"}},
      {35000.25, 35000.75, tfHHhMM, {"6h", "9h", "12h", "15h", "18h"}},
      {35000.5, 35000.5 + 1.1 / 24, tfHHMMSS, {"12:00", "12:20", "12:40", "13:00"}},
      {35000.5, 35000.5 + 1.1 / 24, tfHHhMM, {"12h00", "12h20", "12h40", "13h00"}},
      {35000.5, 35000.5 + 65 * kSecond, tfHHMMSS, {"12:00:00", "12:00:20", "12:00:40", "12:01:00"}},
      {35000.5,
       35000.5 + 65 * kSecond,
       tfAMPM,
       {"12:00.00pm", "12:00.20pm", "12:00.40pm", "12:01.00pm"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi);
    TChartAxis a = Axis(c.Lo, c.Hi);
    a.DTFormat.SetTimeFormat(c.Format);
    const TDateTimeScale s = DateTimeTicks(a, kEnglish);
    EXPECT_EQ(s.Message, TScaleMessage::smNone);
    EXPECT_EQ(Collect(s.Ticks).Labels, c.Labels);
  }
  // 06:00..18:00 with the defaults: one date label, under 06:00.
  EXPECT_EQ(DateLabels(Axis(35000.25, 35000.75)),
            (std::vector<std::string>{"28-Oct-1995", "", "", "", ""}));
}

TEST(DateTimeScale, DateForTimeModes) {
  // Noon to noon in 6-hour steps: 12:00, 18:00, then 00:00, 06:00, 12:00 of the next day.
  TChartAxis a = Axis(35000.5, 35001.5, 4);
  const std::string d1 = "28-Oct-1995", d2 = "29-Oct-1995";
  struct TCase {
    DateForTimeType Mode;
    std::vector<std::string> Want;
  } cases[] = {
      {DateForTimeType::dtNone, {"", "", "", "", ""}},
      {DateForTimeType::dtOnePerChart, {d1, "", "", "", ""}},
      {DateForTimeType::dtOnePerDay, {d1, "", d2, "", ""}},
      {DateForTimeType::dtAllTicks, {d1, d1, d2, d2, d2}},
  };
  for (const auto& c : cases) {
    a.DTFormat.SetDateForTime(c.Mode);
    EXPECT_EQ(DateLabels(a), c.Want) << static_cast<int>(c.Mode);
  }
  // The time separator is stored but used by no label.
  const auto before = Collect(DateTimeTicks(a, kEnglish).Ticks).Labels;
  a.DTFormat.SetTimeSeparator('.');
  EXPECT_EQ(Collect(DateTimeTicks(a, kEnglish).Ticks).Labels, before);
}

TEST(DateTimeScale, CalendarTicks) {
  const double jan1998 = EncodeDate(1998, 1, 1);
  struct TCase {
    double Lo, Hi;
    YearLengthType Year;
    std::vector<double> Values;
    std::vector<std::string> Labels;
  } cases[] = {
      {35000,
       35010,
       ylYYYY,
       {35000, 35003, 35006, 35009},
       {"28-Oct-1995", "31-Oct-1995", "03-Nov-1995", "06-Nov-1995"}},
      // Months in steps of 3 from April: the month of the low bound is never ticked.
      {35796,
       36160,
       ylYYYY,
       {EncodeDate(1998, 4, 1), EncodeDate(1998, 7, 1), EncodeDate(1998, 10, 1)},
       {"Apr-1998", "Jul-1998", "Oct-1998"}},
      {jan1998,
       jan1998 + 20 * 365.25,
       ylYY,
       {EncodeDate(2000, 1, 1), EncodeDate(2005, 1, 1), EncodeDate(2010, 1, 1),
        EncodeDate(2015, 1, 1)},
       {"00", "05", "10", "15"}},
      {jan1998, jan1998 + 20 * 365.25, ylYYYY, {}, {"2000", "2005", "2010", "2015"}},
      // From noon of 1 January 2000: that day's midnight lies before the axis.
      {EncodeDate(2000, 1, 1) + 0.5,
       EncodeDate(2020, 1, 1) + 0.5,
       ylYYYY,
       {},
       {"2005", "2010", "2015", "2020"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi);
    TChartAxis a = Axis(c.Lo, c.Hi);
    a.DTFormat.SetYearLength(c.Year);
    const TSeen s = Collect(DateTimeTicks(a, kEnglish).Ticks);
    if (!c.Values.empty()) ExpectAllNear(s.Major, c.Values, 1e-6);
    EXPECT_EQ(s.Labels, c.Labels);
  }
}

TEST(DateTimeScale, TicksEndAtTheLastDayOfTheCalendar) {
  // Days, months and years on ranges reaching past 31 December 9999.
  const double last = kLastDayNumber;
  for (auto [lo, hi] :
       {std::pair{last - 9, last + 60}, {last - 200, last + 800}, {last - 20000, last + 800}}) {
    const TDateTimeScale s = DateTimeTicks(Axis(lo, hi), kEnglish);
    SCOPED_TRACE(lo);
    ASSERT_FALSE(s.Ticks.empty());
    EXPECT_LE(s.Ticks.back().Value, kLastDayNumber);
  }
  const TSeen years = Collect(DateTimeTicks(Axis(2900000, 3000000), kEnglish).Ticks);
  EXPECT_EQ(years.Major.back(), kLastDayNumber);
  EXPECT_EQ(years.Labels.back(), "9999");
}

TEST(DateTimeScale, RangesTheCalendarCannotShow) {
  struct TCase {
    double Lo, Hi;
    TScaleMessage Want;
  } cases[] = {
      {0.5, 100, TScaleMessage::smInvalid},
      {100, 50, TScaleMessage::smInvalid},
      {2999000, 3000001, TScaleMessage::smInvalid},
      {35000, 35000.00003, TScaleMessage::smBelowSecond},
      {35000, 35000 + 4 * kSecond, TScaleMessage::smNone},
  };
  for (const auto& c : cases) {
    const TDateTimeScale s = DateTimeTicks(Axis(c.Lo, c.Hi), kEnglish);
    EXPECT_EQ(s.Message, c.Want) << c.Lo << ".." << c.Hi;
    EXPECT_EQ(s.Ticks.empty(), c.Want != TScaleMessage::smNone);
  }
  EXPECT_EQ(ScaleMessageLines(TScaleMessage::smInvalid, false),
            (std::vector<std::string_view>{"invalid DateTime scale"}));
  EXPECT_EQ(ScaleMessageLines(TScaleMessage::smBelowSecond, true),
            (std::vector<std::string_view>{"DateTime", "range is", "below 1", "second"}));
}

TEST(DateTimeScale, ClockStepAndDateText) {
  double first = 0;
  // 4 hours per interval: 3-hour steps; 07:12 rounds up to 08:00, then to 09:00.
  EXPECT_DOUBLE_EQ(ClockStep(TClockRow::crHours, 24, 4.0 / 24, 35000.3, first), 0.125);
  EXPECT_DOUBLE_EQ(first, 35000.375);
  // Below the first entry: the first entry.
  EXPECT_DOUBLE_EQ(ClockStep(TClockRow::crMinutes, 1440, 0.1 / 1440, 35000, first), 1.0 / 1440);

  struct TCase {
    DateOrderType Order;
    YearLengthType Year;
    bool Names;
    char Sep;
    const char* Want;
  } cases[] = {
      {doDDMMYY, ylYYYY, true, '-', "28-Oct-1995"}, {doMMDDYY, ylYY, false, '/', "10/28/95"},
      {doYYMMDD, ylYYYY, true, '.', "1995.Oct.28"}, {doYYMMDD, ylNone, false, '-', "10-28"},
      {doDDMMYY, ylNone, true, ' ', "28 Oct"},      {doMMDDYY, ylNone, true, '"', "Oct\"28"},
  };
  for (const auto& c : cases) {
    TDTLabel f;
    f.SetDateOrder(c.Order);
    f.SetYearLength(c.Year);
    f.SetMonthName(c.Names);
    f.SetDateSeparator(c.Sep);
    EXPECT_EQ(DateText(35000.6, f, kEnglish), c.Want);
  }
}

// Far from zero the relative tolerance spans many steps: the ticks must still be
// those of the range, few, and found quickly (large seconds counts froze the chart).
TEST(TimeScale, FarFromZeroTicksStayInTheRange) {
  for (double lo : {-1e14, -1e12, -3e9, 1e9, 1e12, 1e14})
    for (bool x : {true, false}) {
      SCOPED_TRACE(testing::Message() << lo << (x ? " x" : " y"));
      const double hi = lo + 80;
      const auto ticks = TimeTicks(Axis(lo, hi, 2, FigType::Time), x ? kXAxisRule : kYAxisRule);
      ASSERT_TRUE(ticks.has_value());
      const TSeen s = Collect(*ticks);
      EXPECT_GE(s.Major.size(), 2u);
      EXPECT_LE(ticks->size(), 40u);
      for (const TScaleTick& t : *ticks) {
        EXPECT_GE(t.Value, lo - 0.5);
        EXPECT_LE(t.Value, hi + 0.5);
      }
    }
}
