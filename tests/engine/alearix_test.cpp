#include "engine/alearix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/core/session.h"
#include "engine/uniform.h"

namespace {

TAlearix MainWindowEngine() {
  TAlearix a;
  SetStartState(a);
  return a;
}

TEST(Alearix, FreshEngine) {
  TAlearix a;
  EXPECT_EQ(a.Resolution(), 500);
  EXPECT_EQ(a.LowerLimit, 0.0);
  EXPECT_EQ(a.UpperLimit, 0.0);
  for (int i = 1; i <= 500; ++i) ASSERT_EQ(a.GetRefPoint(i), 1.0) << i;
  EXPECT_EQ(a.GetRefPoint(501), 0.0);
  EXPECT_TRUE(a.HasPositiveRefPoint());
}

TEST(Alearix, SetResolutionClampsAndResets) {
  TAlearix a;
  a.SetRefPoint(3, 0.25);
  a.SetResolution(5);
  EXPECT_EQ(a.Resolution(), 10);
  for (int i = 1; i <= 10; ++i) ASSERT_EQ(a.GetRefPoint(i), 1.0);
  EXPECT_EQ(a.GetRefPoint(11), 0.0);
  a.SetRefPoint(3, 0.25);
  a.SetResolution(100000);
  EXPECT_EQ(a.Resolution(), 4000);
  for (int i = 1; i <= 4000; ++i) ASSERT_EQ(a.GetRefPoint(i), 1.0);
  a.SetResolution(-7);
  EXPECT_EQ(a.Resolution(), 10);
  a.SetResolution(123);
  EXPECT_EQ(a.Resolution(), 123);
  EXPECT_EQ(a.GetRefPoint(123), 1.0);
  EXPECT_EQ(a.GetRefPoint(124), 0.0);
}

TEST(Alearix, RefPointsAreClampedAndBadIndicesIgnored) {
  TAlearix a;
  a.SetResolution(10);
  a.SetRefPoint(2, -0.5);
  EXPECT_EQ(a.GetRefPoint(2), 0.0);
  a.SetRefPoint(3, 7.0);
  EXPECT_EQ(a.GetRefPoint(3), 1.0);
  a.SetRefPoint(4, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(a.GetRefPoint(4), 0.0);
  a.SetRefPoint(5, 0.375);
  EXPECT_EQ(a.GetRefPoint(5), 0.375);
  a.SetRefPoint(6, std::numeric_limits<double>::infinity());
  EXPECT_EQ(a.GetRefPoint(6), 1.0);
  a.SetRefPoint(0, 0.5);
  a.SetRefPoint(11, 0.5);
  a.SetRefPoint(-3, 0.5);
  EXPECT_EQ(a.GetRefPoint(0), 0.0);
  EXPECT_EQ(a.GetRefPoint(-1), 0.0);
  EXPECT_EQ(a.GetRefPoint(1), 1.0);
  EXPECT_EQ(a.GetRefPoint(10), 1.0);
}

TEST(Alearix, ClassEdges) {
  TAlearix a = MainWindowEngine();
  EXPECT_EQ(a.ClassEdge(1), -300.0);
  EXPECT_DOUBLE_EQ(a.ClassEdge(500), 298.8);
  EXPECT_DOUBLE_EQ(a.ClassEdge(251), 0.0);
  EXPECT_DOUBLE_EQ(a.ClassEdge(2), -298.8);
  EXPECT_EQ(a.ClassEdge(501), 300.0);
  EXPECT_EQ(a.ClassEdge(0), -300.0);
  EXPECT_EQ(a.ClassEdge(-5), -300.0);
  EXPECT_EQ(a.ClassEdge(100000), 300.0);
  // A smaller resolution: beyond it the upper limit, as the 500-point curve relies on.
  a.SetResolution(200);
  EXPECT_DOUBLE_EQ(a.ClassEdge(200), 297.0);
  EXPECT_EQ(a.ClassEdge(201), 300.0);
  EXPECT_EQ(a.ClassEdge(500), 300.0);
}

TEST(Alearix, ValueToClass) {
  TAlearix a = MainWindowEngine();
  EXPECT_EQ(a.ValueToClass(-300.0), 1);
  EXPECT_EQ(a.ValueToClass(299.9), 500);
  EXPECT_EQ(a.ValueToClass(300.0), 501);
  EXPECT_EQ(a.ValueToClass(-300.1), 0);
  EXPECT_EQ(a.ValueToClass(300.1), 501);
  EXPECT_EQ(a.ValueToClass(0.0), 251);
  EXPECT_EQ(a.ValueToClass(-298.9), 1);
  EXPECT_EQ(a.ValueToClass(-0.6), 250);  // exactly half a class: floor, not rounding
  EXPECT_EQ(a.ValueToClass(-1e-9), 250);
  // Every class edge maps into its own class (or the next one by rounding at most).
  for (int i = 1; i <= 500; ++i) {
    double mid = a.ClassEdge(i) + 0.6;
    ASSERT_EQ(a.ValueToClass(mid), i) << i;
  }
}

TEST(Alearix, ValueToClassWithAnEmptyRange) {
  TAlearix a;
  a.SetResolution(10);
  a.LowerLimit = 5.0;
  a.UpperLimit = 5.0;
  EXPECT_EQ(a.ValueToClass(4.0), 0);
  EXPECT_EQ(a.ValueToClass(5.0), 1);
  EXPECT_EQ(a.ValueToClass(6.0), 11);
  EXPECT_EQ(a.ValueToClass(std::numeric_limits<double>::quiet_NaN()), 0);
}

// The block form classes every number as ValueToClass does: edges, outside values, NaN,
// infinities, reversed, empty and extreme ranges, odd block lengths.
TEST(Alearix, ValuesToClassesEqualsValueToClass) {
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    int Resolution;
    double Lo, Hi;
  } ranges[] = {{500, -300, 300}, {4000, 0, 1e-3},     {10, 300, -300},
                {10, 5, 5},       {37, -1e300, 1e300}, {500, -inf, inf}};
  for (const auto& r : ranges) {
    TAlearix a;
    a.SetResolution(r.Resolution);
    a.LowerLimit = r.Lo;
    a.UpperLimit = r.Hi;
    std::vector<double> xs = {r.Lo,
                              r.Hi,
                              std::nextafter(r.Hi, -inf),
                              std::nextafter(r.Lo, -inf),
                              0.0,
                              -0.0,
                              std::nan(""),
                              inf,
                              -inf,
                              5.0};
    for (int i = 0; i <= r.Resolution + 1; ++i) xs.push_back(a.ClassEdge(i));
    UniformSeed = 4;
    for (int i = 0; i < 1001; ++i) xs.push_back(r.Lo + (UniformReal() * 1.2 - 0.1) * (r.Hi - r.Lo));
    std::vector<int> classes(xs.size());
    a.ValuesToClasses(xs.data(), xs.size(), classes.data());
    for (std::size_t i = 0; i < xs.size(); ++i)
      ASSERT_EQ(classes[i], a.ValueToClass(xs[i])) << r.Lo << ".." << r.Hi << " x " << xs[i];
  }
}

TEST(Alearix, NormalizeScalesTheLargestToOne) {
  TAlearix a;
  a.SetResolution(10);
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, i * 0.05);
  a.Normalize();
  for (int i = 1; i <= 10; ++i) EXPECT_DOUBLE_EQ(a.GetRefPoint(i), i / 10.0);
  EXPECT_EQ(a.GetRefPoint(10), 1.0);
  const double values[] = {0.0, 0.0, 0.3, 0.1, 0.2, 0.25, 0.5, 0.5, 0.25, 0.0};
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, values[i - 1]);
  a.Normalize();
  EXPECT_EQ(a.GetRefPoint(1), 0.0);
  EXPECT_EQ(a.GetRefPoint(7), 1.0);
  EXPECT_EQ(a.GetRefPoint(8), 1.0);
  EXPECT_EQ(a.GetRefPoint(9), 0.5);
  EXPECT_EQ(a.GetRefPoint(10), 0.0);
  EXPECT_DOUBLE_EQ(a.GetRefPoint(3), 0.6);
}

TEST(Alearix, TableWithoutPositivePointIsRefused) {
  TAlearix a;
  a.SetResolution(10);
  a.LowerLimit = 0.0;
  a.UpperLimit = 1.0;
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, i == 4 ? 0.5 : 0.0);
  EXPECT_TRUE(a.HasPositiveRefPoint());
  a.SetRefPoint(4, 0.25);  // positive over positive
  a.SetRefPoint(4, -1.0);
  EXPECT_FALSE(a.HasPositiveRefPoint());

  try {
    a.Normalize();
    FAIL() << "Normalize accepted an all-zero table";
  } catch (const EDistributionError& e) {
    EXPECT_STREQ(e.what(), "The distribution has no positive reference point");
  }
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(a.GetRefPoint(i), 0.0);

  UniformSeed = 4711;
  EXPECT_THROW(a.RandomValue(), EDistributionError);
  EXPECT_EQ(UniformSeed, 4711u);  // no draw was made

  a.SetRefPoint(10, 1e-3);  // one small point in the last class suffices
  EXPECT_TRUE(a.HasPositiveRefPoint());
  double v = a.RandomValue();
  EXPECT_GE(v, 0.9);
  EXPECT_LT(v, 1.0);
  a.Normalize();
  EXPECT_EQ(a.GetRefPoint(10), 1.0);
  a.SetRefPoint(10, 0.0);
  EXPECT_THROW(a.RandomValue(), EDistributionError);
  a.SetResolution(10);  // a reset makes every point 1.0 again
  EXPECT_NO_THROW(a.RandomValue());
}

TEST(Alearix, CopiesAreIndependent) {
  TAlearix a = MainWindowEngine();
  a.SetRefPoint(7, 0.25);
  TAlearix b = a;
  b.SetRefPoint(7, 0.75);
  b.SetResolution(20);
  b.LowerLimit = 1.0;
  EXPECT_EQ(a.GetRefPoint(7), 0.25);
  EXPECT_EQ(a.Resolution(), 500);
  EXPECT_EQ(a.LowerLimit, -300.0);
  b = a;
  EXPECT_EQ(b.Resolution(), 500);
  EXPECT_EQ(b.GetRefPoint(7), 0.25);
  EXPECT_EQ(b.UpperLimit, 300.0);

  TAlearix zero;
  zero.SetResolution(10);
  for (int i = 1; i <= 10; ++i) zero.SetRefPoint(i, 0.0);
  b = zero;
  EXPECT_THROW(b.RandomValue(), EDistributionError);
  b = a;
  EXPECT_NO_THROW(b.RandomValue());
}

}  // namespace
