#include "components/chart/scaleengine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>
#include "tests/components/chart/near.h"

namespace {

std::vector<double> Values(const std::vector<TScaleTick>& ticks, bool major) {
  std::vector<double> v;
  for (const auto& t : ticks)
    if (t.Major == major) v.push_back(t.Value);
  return v;
}

std::vector<std::string> Labels(const std::vector<TScaleTick>& ticks) {
  std::vector<std::string> v;
  for (const auto& t : ticks)
    if (t.HasLabel) v.push_back(t.Label);
  return v;
}

TChartAxis Axis(double lo, double hi, int minTick = 3, int dec = 1, bool figures = true) {
  TChartAxis a;
  a.Lo = lo;
  a.Hi = hi;
  a.MinTick = minTick;
  a.DecPlace = dec;
  a.LabelType = figures ? FigType::Num : FigType::NoFigs;
  return a;
}

std::vector<TScaleTick> LinearXTicks(const TChartAxis& a) {
  return LinearTicks(a, kXAxisRule);
}
std::vector<TScaleTick> LinearYTicks(const TChartAxis& a) {
  return LinearTicks(a, kYAxisRule);
}
std::vector<TScaleTick> LogXTicks(const TChartAxis& a) {
  return LogTicks(a, kXAxisRule);
}
std::vector<TScaleTick> LogYTicks(const TChartAxis& a) {
  return LogTicks(a, kYAxisRule);
}

}  // namespace

TEST(NiceStep, PicksOneTwoFiveStepsWithSubdivisions) {
  struct TCase {
    int N;
    double Lo, Hi, First, Step;
    int Sub;
  } cases[] = {
      {3, 0, 10, 0, 2, 4},        {2, 0, 30, 0, 10, 5},  {2, 0, 140, 0, 50, 5},
      {2, 0, 80, 0, 20, 4},       {3, 0, 1, 0, 0.2, 4},  {3, 0.3, 1.7, 0.4, 0.2, 4},
      {3, -7, 7, -6, 2, 4},       {3, 10, 0, 10, -2, 4}, {3, 0, 2000000, 0, 500000, 5},
      {3, 0, 0.004, 0, 0.001, 5},
  };
  for (const auto& c : cases) {
    const TNiceStep r = NiceStep(c.N, c.Lo, c.Hi);
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << " N=" << c.N);
    EXPECT_NEAR(r.Step, c.Step, std::fabs(c.Step) * 1e-12);
    EXPECT_NEAR(r.First, c.First, std::fabs(c.Step) * 1e-9);
    EXPECT_EQ(r.Sub, c.Sub);
  }
}

TEST(NiceStep, ExactMultiplesOfTwoOrFiveTakeThatStep) {
  // The span per interval is exactly 2 or 5 times a power of ten, where the
  // decimal logarithm lands on the boundary between two mantissas.
  struct TCase {
    int N;
    double Hi, Step;
    int Sub;
  } cases[] = {
      {2, 100, 50, 5},  {3, 150, 50, 5}, {3, 1.5, 0.5, 5}, {3, 1500, 500, 5},
      {3, 0.6, 0.2, 4}, {3, 60, 20, 4},  {3, 0.3, 0.1, 5}, {5, 0.05, 0.01, 5},
  };
  for (const auto& c : cases) {
    const TNiceStep r = NiceStep(c.N, 0, c.Hi);
    SCOPED_TRACE(testing::Message() << "0.." << c.Hi << " N=" << c.N);
    EXPECT_NEAR(r.Step, c.Step, c.Step * 1e-12);
    EXPECT_EQ(r.Sub, c.Sub);
    EXPECT_EQ(r.First, 0.0);
  }
}

TEST(NiceStep, DegenerateRangesGiveNoStep) {
  TNiceStep r = NiceStep(3, 5, 5);
  EXPECT_EQ(r.Step, 0.0);
  EXPECT_EQ(r.First, 5.0);
  EXPECT_EQ(r.Sub, 1);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NiceStep(3, 0, inf).Step, 0.0);
  EXPECT_EQ(NiceStep(3, std::nan(""), 1).Step, 0.0);
  EXPECT_EQ(NiceStep(3, -1e308, 1e308).Step, 0.0);  // the span overflows
}

TEST(AutoDecPlaces, LinearAxes) {
  EXPECT_EQ(AutoDecPlaces(3, 0, 1), 3);
  EXPECT_EQ(AutoDecPlaces(-1, 0, 1), -1);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 1), 2);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 10), 1);
  EXPECT_EQ(AutoDecPlaces(-2, 10, 0), 1);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 0.1), 3);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 0.01), 4);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 0.001), 5);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 50), 0);  // 2 - round(1.56)
  EXPECT_EQ(AutoDecPlaces(-2, 0, 100), 0);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 1e6), -1);
  EXPECT_EQ(AutoDecPlaces(-2, 0, 1e-4), -1);
}

TEST(AutoDecPlaces, LogarithmicAxes) {
  EXPECT_EQ(AutoDecPlacesLog(2, 0.1, 10), 2);
  EXPECT_EQ(AutoDecPlacesLog(-2, 0.1, 10), 2);
  EXPECT_EQ(AutoDecPlacesLog(-2, 10, 0.1), 2);  // the pair is ordered first
  EXPECT_EQ(AutoDecPlacesLog(-2, 0.01, 10), 3);
  EXPECT_EQ(AutoDecPlacesLog(-2, 0.5, 10), 1);
  EXPECT_EQ(AutoDecPlacesLog(-2, 1, 1000), 0);
  EXPECT_EQ(AutoDecPlacesLog(-2, 1, 2e6), -1);
}

TEST(ScaleLabel, ZeroRuleAndCut) {
  EXPECT_EQ(ScaleLabel(123456.8, 2, true, 0, 200000), "123456.8");
  EXPECT_EQ(ScaleLabel(1e-9, -1, true, 0, 2e6), "0.0");
  EXPECT_EQ(ScaleLabel(1e-9, 0, true, 0, 2e6), "0");
  // Only linear axes wider than 100000 print a residue as zero.
  EXPECT_EQ(ScaleLabel(1e-9, -1, false, 0, 2e6), " 1.0E-09");
  EXPECT_EQ(ScaleLabel(1e-9, -1, true, 0, 1e5), " 1.0E-09");
  EXPECT_EQ(ScaleLabel(2.5, 1, true, 0, 10), "2.5");
}

TEST(LinearTicks, ZeroToTenDefault) {
  const auto t = LinearXTicks(Axis(0, 10));
  std::vector<double> minors;
  for (int i = 0; i <= 20; ++i) minors.push_back(0.5 * i);
  ExpectAllNear(Values(t, false), minors);
  ExpectAllNear(Values(t, true), {0, 2, 4, 6, 8, 10});
  EXPECT_EQ(Labels(t), (std::vector<std::string>{"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"}));
  // All minor ticks come before the labelled ones.
  EXPECT_FALSE(t[20].Major);
  EXPECT_TRUE(t[21].Major);
}

TEST(LinearTicks, AutomaticDecimals) {
  EXPECT_EQ(Labels(LinearXTicks(Axis(0, 1, 3, -2))),
            (std::vector<std::string>{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));
  EXPECT_EQ(Labels(LinearXTicks(Axis(0, 2000000, 3, -2))),
            (std::vector<std::string>{"0.0", " 5.0E+05", " 1.0E+06", " 1.5E+06", " 2.0E+06"}));
}

TEST(LinearTicks, ReversedAxisRunsDownward) {
  const auto t = LinearXTicks(Axis(10, 0));
  ExpectAllNear(Values(t, true), {10, 8, 6, 4, 2, 0});
  EXPECT_EQ(Labels(t).front(), "10.0");
  EXPECT_EQ(Labels(t).back(), "0.0");
  const auto minors = Values(t, false);
  ASSERT_EQ(minors.size(), 21u);
  EXPECT_NEAR(minors.front(), 10, 1e-12);
  EXPECT_NEAR(minors.back(), 0, 1e-12);
  ExpectAllNear(Values(LinearYTicks(Axis(10, 0)), true), {10, 8, 6, 4, 2, 0});
}

TEST(LinearTicks, NoFiguresAndYAxis) {
  // Without figures the x axis keeps only its short ticks.
  const auto x = LinearXTicks(Axis(0, 10, 3, 1, false));
  EXPECT_EQ(x.size(), 21u);
  EXPECT_TRUE(Values(x, true).empty());
  EXPECT_TRUE(Labels(x).empty());
  // The y axis has no minor ticks; without figures its ticks stay unlabelled.
  const auto y = LinearYTicks(Axis(0, 10));
  ExpectAllNear(Values(y, true), {0, 2, 4, 6, 8, 10});
  EXPECT_TRUE(Values(y, false).empty());
  EXPECT_EQ(Labels(y).size(), 6u);
  const auto yn = LinearYTicks(Axis(0, 10, 3, 1, false));
  EXPECT_EQ(yn.size(), 6u);
  EXPECT_TRUE(Labels(yn).empty());
}

TEST(LinearTicks, DegenerateAxesDrawNothingAndEnd) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(LinearXTicks(Axis(5, 5)).empty());
  EXPECT_TRUE(LinearYTicks(Axis(5, 5)).empty());
  EXPECT_TRUE(LinearXTicks(Axis(0, inf)).empty());
  EXPECT_TRUE(LinearYTicks(Axis(std::nan(""), 1)).empty());
  // A step below the resolution of the bounds still ends.
  const auto t = LinearXTicks(Axis(1e22, 1e22 + 4e6));
  EXPECT_LE(t.size(), 20000u);
}

TEST(LogTicks, DecadesOnly) {
  const auto t = LogXTicks(Axis(1, 1000));
  ExpectAllNear(Values(t, true), {1, 10, 100, 1000});
  EXPECT_TRUE(Values(t, false).empty());
  EXPECT_EQ(Labels(t), (std::vector<std::string>{"1.0", "10.0", "100.0", "1000.0"}));
  EXPECT_EQ(Labels(LogXTicks(Axis(1, 1000, 3, -2))),
            (std::vector<std::string>{"1", "10", "100", "1000"}));
}

TEST(LogTicks, FewDecadesGetIntermediateTicks) {
  const auto t = LogXTicks(Axis(1, 50));
  auto majors = Values(t, true);
  auto minors = Values(t, false);
  std::sort(majors.begin(), majors.end());
  std::sort(minors.begin(), minors.end());
  ExpectAllNear(majors, {1, 2, 5, 10, 20, 50});
  ExpectAllNear(minors, {3, 4, 6, 7, 8, 9, 30, 40});
  EXPECT_EQ(Labels(t).size(), 6u);
  // A reversed axis walks the same decades.
  EXPECT_EQ(LogXTicks(Axis(50, 1)).size(), t.size());
}

TEST(LogTicks, YAxisCountsDecadesWithoutTheExtraOne) {
  // Three decades: the x axis needs MinTick > 4 for intermediate ticks, the
  // y axis only MinTick >= 3.
  EXPECT_EQ(Values(LogXTicks(Axis(1, 1000)), true).size(), 4u);
  const auto y = LogYTicks(Axis(1, 1000));
  auto majors = Values(y, true);
  std::sort(majors.begin(), majors.end());
  ExpectAllNear(majors, {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000});
  EXPECT_EQ(Values(y, false).size(), 18u);
  EXPECT_EQ(Values(LogYTicks(Axis(1, 1e6, 3)), true).size(), 7u);
  // Reversed, the signed decade count is negative: always intermediate ticks.
  EXPECT_EQ(Values(LogYTicks(Axis(1e6, 1, 3)), true).size(), 19u);
  EXPECT_TRUE(Labels(LogYTicks(Axis(1, 1e6, 3, 1, false))).empty());
}

TEST(LogTicks, LessThanADecadeFallsBackToLinear) {
  const auto t = LogXTicks(Axis(2, 9));
  ExpectAllNear(Values(t, true), {2, 4, 6, 8});
  const auto minors = Values(t, false);
  ASSERT_EQ(minors.size(), 15u);
  EXPECT_NEAR(minors.front(), 2, 1e-12);
  EXPECT_NEAR(minors[1], 2.5, 1e-12);
  EXPECT_NEAR(minors.back(), 9, 1e-12);
  ExpectAllNear(Values(LogYTicks(Axis(2, 9)), true), {2, 4, 6, 8});
}

TEST(LogTicks, UnusableBoundsGiveNoTicks) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(LogXTicks(Axis(0, 100)).empty());
  EXPECT_TRUE(LogYTicks(Axis(1, inf)).empty());
  EXPECT_TRUE(LogXTicks(Axis(std::nan(""), 100)).empty());
}

TEST(GridValues, FirstAndNext) {
  TChartAxis lin, log;
  log.Log = true;
  struct TCase {
    const TChartAxis* Axis;
    double Step, V, First, Next;
  } cases[] = {
      {&lin, -0.5, 1, 1, 1.5}, {&log, 0.5, 1, 1, 1.5},  {&log, -1, 10, 10, 100},
      {&log, -1, 3, 10, 30},   {&log, -2, 1, 2, 2},     {&log, -2, 2, 2, 5},
      {&log, -2, 5, 5, 10},    {&log, -2, 50, 50, 100}, {&log, -2, 9.9999999, 10, 20},
      {&log, -2, 3, 5, 5},     {&log, -3, 9, 9, 10},    {&log, -3, 0.3, 0.3, 0.4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << c.Step << " v " << c.V);
    EXPECT_NEAR(FirstGridValue(*c.Axis, c.Step, c.V), c.First, 1e-9);
    EXPECT_NEAR(NextGridValue(*c.Axis, c.Step, c.V), c.Next, 1e-9);
  }
}
