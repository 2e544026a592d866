// Drawing the density freehand: which reference points a stroke sets.
#include "app/core/sketch.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/alearix.h"

namespace {

TAlearix Flat(int resolution, double lo, double hi, double level) {
  TAlearix gen;
  gen.SetResolution(resolution);
  gen.LowerLimit = lo;
  gen.UpperLimit = hi;
  for (int i = 1; i <= resolution; ++i) gen.SetRefPoint(i, level);
  return gen;
}

std::vector<double> Table(const TAlearix& gen) {
  std::vector<double> t;
  for (int i = 1; i <= gen.Resolution(); ++i) t.push_back(gen.GetRefPoint(i));
  return t;
}

TEST(SketchTest, SegmentsSetThePointsBetweenTheirEnds) {
  struct TCase {
    const char* Name;
    double Lo, Hi, X0, Y0, X1, Y1;
    std::vector<double> Want;  // 10 classes, untouched points stay 0.25
  } cases[] = {
      {"rising, both ends on edges",
       0,
       10,
       2,
       0.0,
       6,
       1.0,
       {.25, .25, 0, .25, .5, .75, 1, .25, .25, .25}},
      {"right to left", 0, 10, 6, 1.0, 2, 0.0, {.25, .25, 0, .25, .5, .75, 1, .25, .25, .25}},
      {"between edges",
       0,
       10,
       2.5,
       0.5,
       3.5,
       0.5,
       {.25, .25, .25, .5, .25, .25, .25, .25, .25, .25}},
      {"clamped to 0..1", 0, 10, 0, -1.0, 9, 2.0, {0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1}},
      {"reversed range", 10, 0, 8, 0.0, 6, 1.0, {.25, .25, 0, .5, 1, .25, .25, .25, .25, .25}},
      {"beyond the range", 0, 10, -50, 0.5, 50, 0.5, {.5, .5, .5, .5, .5, .5, .5, .5, .5, .5}},
      {"vertical", 0, 10, 4, 0.2, 4, 0.9, {.25, .25, .25, .25, .9, .25, .25, .25, .25, .25}},
      {"empty range", 5, 5, 0, 1.0, 10, 1.0, {.25, .25, .25, .25, .25, .25, .25, .25, .25, .25}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TAlearix gen = Flat(10, c.Lo, c.Hi, 0.25);
    SketchSegment(gen, c.X0, c.Y0, c.X1, c.Y1);
    const std::vector<double> got = Table(gen);
    for (int i = 0; i < 10; ++i) EXPECT_NEAR(got[i], c.Want[i], 1e-12) << "point " << i + 1;
  }
}

TEST(SketchTest, APressSetsTheNearestPoint) {
  TAlearix gen = Flat(500, -300, 300, 0.0);
  SketchPoint(gen, -298.9, 0.7);  // nearest edge: point 2 at -298.8
  SketchPoint(gen, 1000, 0.3);    // beyond the range: the last point
  std::vector<double> want(500, 0.0);
  want[1] = 0.7;
  want[499] = 0.3;
  EXPECT_EQ(Table(gen), want);
  TAlearix point = Flat(10, 5, 5, 0.0);
  SketchPoint(point, 5, 1.0);
  EXPECT_EQ(Table(point), std::vector<double>(10, 0.0));
}

}  // namespace
