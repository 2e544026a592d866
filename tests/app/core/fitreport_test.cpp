// The goodness-of-fit report: exact density moments, streaming sample moments and the
// two tests against the density.
#include "app/core/fitreport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"

namespace {

TAlearix Engine(int resolution, double lo, double hi, const std::function<double(int)>& point) {
  TAlearix gen;
  gen.SetResolution(resolution);
  gen.LowerLimit = lo;
  gen.UpperLimit = hi;
  for (int i = 1; i <= resolution; ++i) gen.SetRefPoint(i, point(i));
  return gen;
}

TAlearix Preset(const char* key) {
  TAlearix gen;
  SetStartState(gen);
  ComputeShapeTable(gen, ShapeParamsOf(*FindPreset(key)));
  return gen;
}

// The density's moments by the midpoint rule over a fine grid of its x range.
TMoments Integrated(const TAlearix& gen) {
  const int r = gen.Resolution(), steps = 400;
  const double w = (gen.UpperLimit - gen.LowerLimit) / r;
  double m0 = 0, m1 = 0;
  std::vector<std::pair<double, double>> pts;
  for (int i = 1; i <= r; ++i)
    for (int k = 0; k < steps; ++k) {
      const double u = (k + 0.5) / steps;
      const double f = gen.GetRefPoint(i) + u * (gen.GetRefPoint(i + 1) - gen.GetRefPoint(i));
      const double x = gen.LowerLimit + (i - 1 + u) * w;
      pts.emplace_back(x, f);
      m0 += f;
      m1 += f * x;
    }
  const double mean = m1 / m0;
  double c2 = 0, c3 = 0, c4 = 0;
  for (auto [x, f] : pts) {
    const double d = x - mean;
    c2 += f * d * d;
    c3 += f * d * d * d;
    c4 += f * d * d * d * d;
  }
  c2 /= m0, c3 /= m0, c4 /= m0;
  return {mean, std::sqrt(c2), c3 / std::pow(c2, 1.5), c4 / (c2 * c2) - 3};
}

TEST(FitReportTest, DensityMomentsMatchIntegrationAndTextbooks) {
  struct TCase {
    const char* Name;
    TAlearix Gen;
  } cases[] = {
      {"bimodal", Preset("bimodal")},
      {"skewed, reversed", Engine(37, 50, -20, [](int i) { return std::exp(-i / 9.0); })},
      {"saw teeth", Engine(10, -1, 1, [](int i) { return i % 2 ? 0.2 : 1.0; })},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TMoments exact = DensityMoments(c.Gen), num = Integrated(c.Gen);
    const double scale = std::fabs(c.Gen.UpperLimit - c.Gen.LowerLimit);
    EXPECT_NEAR(*exact.Mean, *num.Mean, 1e-6 * scale);
    EXPECT_NEAR(*exact.Sd, *num.Sd, 1e-6 * scale);
    EXPECT_NEAR(*exact.Skewness, *num.Skewness, 1e-5);
    EXPECT_NEAR(*exact.ExcessKurtosis, *num.ExcessKurtosis, 1e-5);
  }
  // A symmetric triangle over 0..100: mean 50, variance 100^2 / 24, skewness 0, excess
  // kurtosis -3/5.
  const TMoments tri =
      DensityMoments(Engine(100, 0, 100, [](int i) { return 1 - std::fabs(i - 51) / 50.0; }));
  EXPECT_NEAR(*tri.Mean, 50, 1e-9);
  EXPECT_NEAR(*tri.Sd, 100 / std::sqrt(24.0), 1e-9);
  EXPECT_NEAR(*tri.Skewness, 0, 1e-9);
  EXPECT_NEAR(*tri.ExcessKurtosis, -0.6, 1e-9);
  // A flat table is uniform but for its last class: close to the uniform's moments.
  const TMoments flat = DensityMoments(Engine(4000, 0, 1, [](int) { return 1.0; }));
  EXPECT_NEAR(*flat.Mean, 0.5, 1e-3);
  EXPECT_NEAR(*flat.Sd, 1 / std::sqrt(12.0), 1e-3);
  EXPECT_NEAR(*flat.ExcessKurtosis, -1.2, 1e-2);
}

TEST(FitReportTest, EmptyRangesAndEmptyDensities) {
  const TAlearix point = Engine(10, 7, 7, [](int) { return 1.0; });
  const TMoments m = DensityMoments(point);
  EXPECT_EQ(*m.Mean, 7);
  EXPECT_EQ(*m.Sd, 0);
  EXPECT_FALSE(m.Skewness || m.ExcessKurtosis);
  TFitTest fit(point);
  for (int i = 0; i < 10; ++i) fit.Add(7);
  EXPECT_FALSE(fit.ChiSquare() || fit.Ks());
  // A number that is not one is counted in the first sub-bin, not outside them.
  TFitTest any(Engine(10, 0, 1, [](int) { return 1.0; }));
  any.Add(std::nan(""));
  EXPECT_EQ(any.Count(), 1);
  EXPECT_THROW(DensityMoments(Engine(10, 0, 1, [](int) { return 0.0; })), EDistributionError);
}

TEST(FitReportTest, StreamingSampleMomentsEqualTheTwoPassOnes) {
  const std::vector<double> xs = {1e6 + 1, 1e6 + 4, 1e6 + 4, 1e6 + 9, 1e6 + 30, 1e6 - 2};
  TSampleMoments s;
  double mean = 0;
  for (double x : xs) s.Add(x), mean += x / xs.size();
  double c2 = 0, c3 = 0, c4 = 0;
  for (double x : xs) {
    const double d = x - mean;
    c2 += d * d, c3 += d * d * d, c4 += d * d * d * d;
  }
  const double n = xs.size();
  const TMoments m = s.Moments();
  EXPECT_NEAR(*m.Mean, mean, 1e-9);
  EXPECT_NEAR(*m.Sd, std::sqrt(c2 / (n - 1)), 1e-9);
  EXPECT_NEAR(*m.Skewness, std::sqrt(n) * c3 / std::pow(c2, 1.5), 1e-9);
  EXPECT_NEAR(*m.ExcessKurtosis, n * c4 / (c2 * c2) - 3, 1e-9);
  EXPECT_EQ(s.Min(), 1e6 - 2);
  EXPECT_EQ(s.Max(), 1e6 + 30);
  TSampleMoments one;
  one.Add(3);
  EXPECT_FALSE(one.Moments().Sd || one.Moments().Skewness);
}

// Blocks of any size, merged into the running moments, give the number-by-number moments.
TEST(FitReportTest, BlockMomentsEqualNumberByNumber) {
  std::vector<double> xs;
  UniformSeed = 99;
  for (int i = 0; i < 10007; ++i) xs.push_back(1e6 + std::pow(UniformReal(), 3) * 50);
  TSampleMoments single;
  for (double x : xs) single.Add(x);
  const TMoments want = single.Moments();
  for (std::size_t block : {std::size_t{1}, std::size_t{3}, std::size_t{4096}, xs.size()}) {
    SCOPED_TRACE(block);
    TSampleMoments blocks;
    for (std::size_t i = 0; i < xs.size(); i += block)
      blocks.Add(xs.data() + i, std::min(block, xs.size() - i));
    const TMoments got = blocks.Moments();
    EXPECT_EQ(blocks.Count(), single.Count());
    EXPECT_EQ(blocks.Min(), single.Min());
    EXPECT_EQ(blocks.Max(), single.Max());
    EXPECT_NEAR(*got.Mean, *want.Mean, 1e-8);  // 1e-14 of the mean
    EXPECT_NEAR(*got.Sd, *want.Sd, 1e-9 * *want.Sd);
    EXPECT_NEAR(*got.Skewness, *want.Skewness, 1e-8);
    EXPECT_NEAR(*got.ExcessKurtosis, *want.ExcessKurtosis, 1e-8);
  }
}

TEST(FitReportTest, KolmogorovTail) {
  EXPECT_NEAR(KolmogorovQ(0.5), 0.963945, 1e-6);
  EXPECT_NEAR(KolmogorovQ(1.0), 0.269999, 1e-6);
  EXPECT_NEAR(KolmogorovQ(1.36), 0.049485, 1e-5);
  EXPECT_NEAR(KolmogorovQ(1.17999), KolmogorovQ(1.18001), 1e-4);  // both series agree
  EXPECT_EQ(KolmogorovQ(0), 1.0);
  EXPECT_LT(KolmogorovQ(4), 1e-12);
}

TEST(FitReportTest, SamplesPassTheirOwnDensityAndFailAnother) {
  for (const char* key : {"normal", "bimodal", "leptokurtic"}) {
    SCOPED_TRACE(key);
    UniformSeed = 12345;
    TAlearix gen = Preset(key);
    const TAlearix other = Preset(std::string(key) == "normal" ? "platykurtic" : "normal");
    TFitTest own(gen), wrong(other);
    for (int i = 0; i < 100000; ++i) {
      const double x = gen.RandomValue();
      own.Add(x);
      wrong.Add(x);
    }
    EXPECT_GT(own.ChiSquare()->PValue, 1e-3);
    EXPECT_GT(own.Ks()->PValue, 1e-3);
    EXPECT_LT(wrong.ChiSquare()->PValue, 1e-6);
    EXPECT_LT(wrong.Ks()->PValue, 1e-6);
  }
}

}  // namespace
