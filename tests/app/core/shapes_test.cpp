#include "app/core/shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/alearix.h"

namespace {

int ArgMax(const TAlearix& gen) {
  int best = 1;
  for (int i = 2; i <= gen.Resolution(); ++i)
    if (gen.GetRefPoint(i) > gen.GetRefPoint(best)) best = i;
  return best;
}

TEST(PresetsTest, TableInButtonOrder) {
  const char* keys[] = {"normal",  "leptokurtic", "platykurtic",
                        "bimodal", "left-skewed", "right-skewed"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_STREQ(kPresets[i].Key, keys[i]);
    EXPECT_EQ(FindPreset(keys[i]), &kPresets[i]);
  }
  EXPECT_EQ(FindPreset("Normal"), nullptr);
  EXPECT_STREQ(kPresets[0].Hint, "Normal distribution");
  EXPECT_STREQ(kPresets[5].Hint, "Right skewed distribution");

  const TPreset& b = *FindPreset("bimodal");
  EXPECT_EQ(b.HRatio, 65);
  EXPECT_EQ(b.StdDev1, 50);
  EXPECT_EQ(b.Mean1, 170);
  EXPECT_EQ(b.StdDev2, 40);
  EXPECT_EQ(b.Mean2, 330);
  TShapeParams p = ShapeParamsOf(b);
  EXPECT_EQ(p.Mean1, 170);
  EXPECT_EQ(p.StdDev1, 50);
  EXPECT_EQ(p.Mean2, 330);
  EXPECT_EQ(p.StdDev2, 40);
  EXPECT_EQ(p.Ratio, 65 * 0.01);
  const TPreset& r = *FindPreset("right-skewed");
  EXPECT_EQ(r.StdDev1, 32);
  EXPECT_EQ(r.StdDev2, 55);
}

TEST(ComputeShapeTableTest, StartValuesGiveTheBellWithoutFactorTwo) {
  TAlearix gen;
  ComputeShapeTable(gen, TShapeParams{});
  EXPECT_EQ(gen.GetRefPoint(250), 1.0);
  EXPECT_EQ(ArgMax(gen), 250);
  // One width away the bell is exp(-1) (no factor 2 in the exponent).
  EXPECT_NEAR(gen.GetRefPoint(150), std::exp(-1.0), 1e-15);
  EXPECT_NEAR(gen.GetRefPoint(350), std::exp(-1.0), 1e-15);
  EXPECT_NEAR(gen.GetRefPoint(450), std::exp(-4.0), 1e-15);
  // The normal preset (ratio 0) gives the same table.
  TAlearix preset;
  ComputeShapeTable(preset, ShapeParamsOf(kPresets[0]));
  for (int i = 1; i <= 500; ++i) ASSERT_EQ(preset.GetRefPoint(i), gen.GetRefPoint(i)) << i;
}

TEST(ComputeShapeTableTest, RatioSelectsTheShapes) {
  TShapeParams p{100, 20, 400, 30, 0.0};
  TAlearix a;
  ComputeShapeTable(a, p);  // Shape A alone
  EXPECT_EQ(ArgMax(a), 100);
  EXPECT_EQ(a.GetRefPoint(400), std::exp(-300.0 * 300.0 / 400.0));
  EXPECT_NEAR(a.GetRefPoint(120), std::exp(-1.0), 1e-15);

  p.Ratio = 1.0;  // Shape B alone
  TAlearix b;
  ComputeShapeTable(b, p);
  EXPECT_EQ(ArgMax(b), 400);
  EXPECT_EQ(b.GetRefPoint(100), std::exp(-300.0 * 300.0 / 900.0));
  EXPECT_NEAR(b.GetRefPoint(430), std::exp(-1.0), 1e-15);

  p.Ratio = 0.25;  // both, B with a quarter of the weight: the maximum is A's peak
  TAlearix m;
  ComputeShapeTable(m, p);
  EXPECT_EQ(ArgMax(m), 100);
  EXPECT_NEAR(m.GetRefPoint(400), 0.25 / 0.75, 1e-12);
}

TEST(ComputeShapeTableTest, PresetShapes) {
  TAlearix lepto;
  ComputeShapeTable(lepto, ShapeParamsOf(*FindPreset("leptokurtic")));
  EXPECT_EQ(ArgMax(lepto), 250);
  // Narrow peak over a wide base: 21 classes away the narrow bell is down to e^-1
  // while the wide one still gives most of its height.
  const double expected = (0.5 * std::exp(-21.0 * 21 / 3600) + 0.5 * std::exp(-1.0));
  EXPECT_NEAR(lepto.GetRefPoint(271), expected, 1e-12);

  TAlearix platy;
  ComputeShapeTable(platy, ShapeParamsOf(*FindPreset("platykurtic")));
  // Two equal bells at 205 and 295: symmetric about 250.
  for (int d = 0; d < 200; ++d)
    ASSERT_NEAR(platy.GetRefPoint(250 - d), platy.GetRefPoint(250 + d), 1e-12) << d;

  TAlearix left, right;
  ComputeShapeTable(left, ShapeParamsOf(*FindPreset("left-skewed")));
  ComputeShapeTable(right, ShapeParamsOf(*FindPreset("right-skewed")));
  EXPECT_GT(ArgMax(left), 250);  // long tail to the left, peak to the right
  EXPECT_LT(ArgMax(right), 250);
}

TEST(ComputeShapeTableTest, WritesOnlyTheFirst500Points) {
  TAlearix big;
  big.SetResolution(4000);
  big.SetRefPoint(600, 0.3);
  ComputeShapeTable(big, TShapeParams{});
  EXPECT_EQ(big.GetRefPoint(250), 1.0);
  EXPECT_EQ(big.GetRefPoint(600), 0.3);  // kept; the maximum is already 1
  EXPECT_EQ(big.GetRefPoint(4000), 1.0);

  TAlearix small;
  small.SetResolution(200);
  TShapeParams p{350, 50, 350, 50, 0.5};  // peak beyond the table
  ComputeShapeTable(small, p);
  EXPECT_EQ(small.Resolution(), 200);
  EXPECT_EQ(small.GetRefPoint(200), 1.0);  // normalised over the 200 points kept
  EXPECT_NEAR(small.GetRefPoint(150), std::exp(-7.0), 1e-12);
}

}  // namespace
