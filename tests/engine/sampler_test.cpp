#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"

namespace {

std::uint32_t Step(std::uint32_t s) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(s) * 134775813ull + 1ull) %
                                    4294967296ull);
}

TAlearix Engine(int resolution, double lo, double hi) {
  TAlearix a;
  a.SetResolution(resolution);
  a.LowerLimit = lo;
  a.UpperLimit = hi;
  return a;
}

// The two-bell mixture of the shape controls, on the desktop program's start engine.
TAlearix Mixture(double ratio, double s1, double m1, double s2, double m2) {
  TAlearix a;
  SetStartState(a);
  ComputeShapeTable(a, TShapeParams{m1, s1, m2, s2, ratio});
  return a;
}

// The sampling rule written out attempt by attempt on a copy of the table.
struct TReference {
  std::vector<double> P;  // 1-based
  double Lo, Hi;

  explicit TReference(const TAlearix& a)
      : P(static_cast<std::size_t>(a.Resolution()) + 1), Lo(a.LowerLimit), Hi(a.UpperLimit) {
    for (int i = 1; i <= a.Resolution(); ++i) P[static_cast<std::size_t>(i)] = a.GetRefPoint(i);
  }

  double Draw(std::uint32_t& seed) const {
    const std::uint64_t n = P.size() - 1;
    for (;;) {
      seed = Step(seed);
      std::uint64_t i = ((n * seed) >> 32) + 1;
      seed = Step(seed);
      double u = seed / 4294967296.0;
      double y = i == n ? (1 - u) * P[i] : P[i] + u * (P[i + 1] - P[i]);
      bool accept = y >= 1.0;
      if (!accept) {
        seed = Step(seed);
        accept = seed / 4294967296.0 < y;
      }
      if (accept) return Lo + (static_cast<double>(i - 1) + u) * (Hi - Lo) / static_cast<double>(n);
    }
  }
};

// Tables of different character: flat, bell, plateau, spikes, mass in the last class.
std::vector<TAlearix> VariedEngines() {
  std::vector<TAlearix> v;
  v.push_back(Engine(10, 0.0, 10.0));
  v.push_back(Mixture(0.0, 100, 250, 100, 250));
  v.push_back(Mixture(0.5, 60, 250, 21, 250));
  TAlearix plateau = Engine(200, -1.0, 1.0);
  for (int i = 1; i <= 200; ++i) plateau.SetRefPoint(i, i > 50 && i < 150 ? 1.0 : 0.3);
  v.push_back(plateau);
  TAlearix spikes = Engine(4000, 0.0, 4000.0);
  for (int i = 1; i <= 4000; ++i) spikes.SetRefPoint(i, i % 97 == 0 ? 1.0 : 0.0);
  v.push_back(spikes);
  TAlearix dips = Engine(500, -300.0, 300.0);
  for (int i = 1; i <= 500; ++i) dips.SetRefPoint(i, i % 9 < 4 ? 1.0 : 0.02 * (i % 9));
  v.push_back(dips);
  TAlearix tail = Engine(10, 5.0, 6.0);
  for (int i = 1; i <= 10; ++i) tail.SetRefPoint(i, i == 10 ? 1.0 : 0.05);
  v.push_back(tail);
  return v;
}

// Single draws and blocks of varying size, with and without the wide vector units, from
// several seeds: every number and the source state after every call equal the reference.
TEST(Sampler, MatchesTheAttemptByAttemptRule) {
  const bool wide = TAlearix::WideVectors();
  for (bool useWide : {false, true}) {
    TAlearix::SetWideVectors(useWide);
    int index = 0;
    for (TAlearix& a : VariedEngines()) {
      ++index;
      const TReference ref(a);
      for (std::uint32_t seed : {1000u + index, 0xFFFFFFF0u, 2654435761u * index}) {
        UniformSeed = seed;
        std::vector<double> block(257);
        for (int k = 0; k < 20000;) {
          const std::size_t size = static_cast<std::size_t>(k % 7 == 0 ? 1 : k % 257);
          if (size == 1) {
            ASSERT_EQ(a.RandomValue(), ref.Draw(seed)) << useWide << " table " << index << " " << k;
          } else {
            a.RandomValues(block.data(), size);
            for (std::size_t i = 0; i < size; ++i)
              ASSERT_EQ(block[i], ref.Draw(seed)) << useWide << " table " << index << " " << k;
          }
          ASSERT_EQ(UniformSeed, seed) << useWide << " table " << index << " draw " << k;
          k += static_cast<int>(size);
        }
      }
    }
  }
  TAlearix::SetWideVectors(wide);
}

TEST(Sampler, SourceAndTableChangesBetweenDrawsTakeEffect) {
  TAlearix a = Mixture(0.65, 50, 170, 40, 330);
  TAlearix b = Mixture(0.0, 100, 250, 100, 250);
  std::uint32_t seed = 77;
  UniformSeed = seed;
  for (int k = 0; k < 5000; ++k) {
    switch (k % 7) {
      case 0: {  // the source is set from outside
        seed = static_cast<std::uint32_t>(k) * 2654435761u;
        UniformSeed = seed;
        break;
      }
      case 1: {  // another engine draws from the same source
        ASSERT_EQ(b.RandomValue(), TReference(b).Draw(seed));
        break;
      }
      case 2: {  // the table changes
        a.SetRefPoint(k % 500 + 1, (k % 10) / 10.0);
        break;
      }
      case 3: {  // the limits change
        a.LowerLimit = -300.0 + k % 11;
        break;
      }
      case 4: {  // the source goes back to an earlier state
        UniformSeed = 77;
        seed = 77;
        break;
      }
      case 5: {  // a block of numbers
        double block[3];
        a.RandomValues(block, 3);
        for (double x : block) ASSERT_EQ(x, TReference(a).Draw(seed)) << k;
        break;
      }
      default:
        break;
    }
    ASSERT_EQ(a.RandomValue(), TReference(a).Draw(seed)) << k;
    ASSERT_EQ(UniformSeed, seed) << k;
  }
  a.SetResolution(10);  // all 1.0 again
  ASSERT_EQ(a.RandomValue(), TReference(a).Draw(seed));
  a = b;
  ASSERT_EQ(a.RandomValue(), TReference(b).Draw(seed));
  ASSERT_EQ(UniformSeed, seed);
}

TEST(Sampler, GoldenSequenceOfAFlatTable) {
  // Hand derivation from state 0: state 1 picks class 1 (10 * 1 >> 32 = 0), state 134775814 is
  // the position u inside it; a flat table accepts at once, so the value is u itself.
  TAlearix a = Engine(10, 0.0, 10.0);
  UniformSeed = 0;
  EXPECT_EQ(a.RandomValue(), 134775814.0 / 4294967296.0);
  EXPECT_EQ(UniformSeed, 134775814u);
  // Next: state 3698175007 picks class 9, state 870078620 the position.
  EXPECT_EQ(a.RandomValue(), (8.0 + 870078620.0 / 4294967296.0) * 10.0 / 10.0);
  EXPECT_EQ(a.RandomValue(), 2.6716544185765088);
  EXPECT_EQ(a.RandomValue(), 3.1617954652756453);
  EXPECT_EQ(a.RandomValue(), 3.4256737674586475);
  EXPECT_EQ(UniformSeed, 1828254910u);
}

TEST(Sampler, GoldenSequenceWithRejections) {
  // All points 0.5: every attempt needs a third draw, and about half are rejected.
  TAlearix a = Engine(10, -1.0, 1.0);
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, 0.5);
  UniformSeed = 0;
  EXPECT_EQ(a.RandomValue(), -0.36764090694487095);  // three attempts: 9 draws
  EXPECT_EQ(UniformSeed, 1598751577u);
  EXPECT_EQ(a.RandomValue(), -0.183597568096593);
  EXPECT_EQ(a.RandomValue(), -0.83182911304757);
  EXPECT_EQ(a.RandomValue(), -0.4165430582594126);
  EXPECT_EQ(a.RandomValue(), 0.7435965714510531);  // two attempts: 6 draws
  EXPECT_EQ(UniformSeed, 1317014376u);
}

TEST(Sampler, GoldenSequenceOfARisingTableAfterStartup) {
  TAlearix a = Engine(10, -300.0, 300.0);
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, i / 10.0);
  UniformSeed = 0;
  UniformStartup();
  EXPECT_EQ(a.RandomValue(), -110.29227208346128);
  EXPECT_EQ(a.RandomValue(), -55.07927042897791);
  EXPECT_EQ(a.RandomValue(), -249.548733914271);
  EXPECT_EQ(a.RandomValue(), -124.9629174778238);
}

TEST(Sampler, FlatTableTakesTwoDrawsExceptInTheLastClass) {
  TAlearix a = Engine(10, 0.0, 10.0);
  UniformSeed = 99;
  int inLast = 0;
  double lastOffsetSum = 0.0;
  const int kCount = 200000;
  for (int n = 0; n < kCount; ++n) {
    std::uint32_t before = UniformSeed;
    std::uint32_t firstClass =
        static_cast<std::uint32_t>((10ull * Step(before)) >> 32);  // 0-based class of attempt 1
    double v = a.RandomValue();
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 10.0);
    if (firstClass < 9) {
      // Accepted at once: one class draw and one position draw.
      ASSERT_EQ(UniformSeed, Step(Step(before))) << n;
      ASSERT_EQ(std::floor(v), firstClass) << n;
    } else {
      ASSERT_NE(UniformSeed, Step(Step(before))) << n;  // the thinning draw is always made
    }
    if (v >= 9.0) {
      ++inLast;
      lastOffsetSum += v - 9.0;
    }
  }
  // The last class holds half a class of mass out of 9.5, falling linearly: mean offset 1/3.
  double share = static_cast<double>(inLast) / kCount;
  EXPECT_NEAR(share, 0.5 / 9.5, 0.003);
  EXPECT_NEAR(lastOffsetSum / inLast, 1.0 / 3.0, 0.01);
}

// Mean of the piecewise linear density of the engine, integrated exactly segment by segment.
double DensityMean(const TAlearix& a) {
  double mass = 0.0, moment = 0.0;
  int n = a.Resolution();
  for (int i = 1; i <= n; ++i) {
    double x0 = a.ClassEdge(i), x1 = a.ClassEdge(i + 1), w = x1 - x0;
    double p = a.GetRefPoint(i), q = i < n ? a.GetRefPoint(i + 1) : 0.0;
    mass += w * (p + q) / 2;
    moment += w * (x0 * (p + q) / 2 + w * (p / 6 + q / 3));
  }
  return moment / mass;
}

TEST(Sampler, MeanFollowsTheDensity) {
  struct TCase {
    double Ratio, S1, M1, S2, M2;
  } cases[] = {{0.0, 100, 250, 100, 250},
               {0.5, 60, 250, 21, 250},
               {0.65, 50, 170, 40, 330},
               {0.5, 55, 230, 32, 270}};
  for (const auto& c : cases) {
    TAlearix a = Mixture(c.Ratio, c.S1, c.M1, c.S2, c.M2);
    UniformSeed = 2024;
    const int kCount = 100000;
    double sum = 0.0, sum2 = 0.0;
    for (int n = 0; n < kCount; ++n) {
      double v = a.RandomValue();
      ASSERT_GE(v, -300.0);
      ASSERT_LT(v, 300.0);
      sum += v;
      sum2 += v * v;
    }
    double mean = sum / kCount;
    double sd = std::sqrt(sum2 / kCount - mean * mean);
    EXPECT_NEAR(mean, DensityMean(a), 4.0 * sd / std::sqrt(kCount)) << c.Ratio << " " << c.M1;
  }
  // The normal shape is symmetric about class 250's lower edge (-1.2) up to its thin tails.
  EXPECT_NEAR(DensityMean(Mixture(0.0, 100, 250, 100, 250)), -1.2, 0.01);
}

TEST(Sampler, ClassFrequenciesFollowTheTrapezoids) {
  TAlearix a = Mixture(0.65, 50, 170, 40, 330);  // bimodal
  const int n = a.Resolution();
  std::vector<double> expected(static_cast<std::size_t>(n) + 2, 0.0);
  double total = 0.0;
  for (int i = 1; i <= n; ++i) {
    double q = i < n ? a.GetRefPoint(i + 1) : 0.0;
    expected[static_cast<std::size_t>(i)] = (a.GetRefPoint(i) + q) / 2;
    total += expected[static_cast<std::size_t>(i)];
  }
  std::vector<int> counts(static_cast<std::size_t>(n) + 2, 0);
  UniformSeed = 7;
  const int kCount = 250000;
  for (int k = 0; k < kCount; ++k)
    ++counts[static_cast<std::size_t>(a.ValueToClass(a.RandomValue()))];
  EXPECT_EQ(counts[0], 0);
  EXPECT_EQ(counts[static_cast<std::size_t>(n) + 1], 0);
  // Chi-square over classes with enough expected hits; 499 degrees of freedom at most.
  double chi2 = 0.0;
  int cells = 0;
  for (int i = 1; i <= n; ++i) {
    double e = expected[static_cast<std::size_t>(i)] / total * kCount;
    if (e < 20.0) continue;
    double d = counts[static_cast<std::size_t>(i)] - e;
    chi2 += d * d / e;
    ++cells;
  }
  ASSERT_GT(cells, 300);
  EXPECT_LT(chi2, cells + 5.0 * std::sqrt(2.0 * cells)) << cells;
  EXPECT_GT(chi2, cells - 5.0 * std::sqrt(2.0 * cells)) << cells;
}

TEST(Sampler, NarrowPeakStaysInItsClasses) {
  TAlearix a = Engine(100, 0.0, 100.0);
  for (int i = 1; i <= 100; ++i) a.SetRefPoint(i, 0.0);
  a.SetRefPoint(40, 1.0);  // a triangle from 38..40 (rising in class 39, falling in class 40)
  UniformSeed = 5;
  double sum = 0.0;
  for (int k = 0; k < 20000; ++k) {
    double v = a.RandomValue();
    ASSERT_GE(v, 38.0);
    ASSERT_LT(v, 40.0);
    sum += v;
  }
  EXPECT_NEAR(sum / 20000, 39.0, 0.02);
}

TEST(Sampler, UnnormalisedTableIsTolerated) {
  TAlearix a = Engine(10, 0.0, 1.0);
  for (int i = 1; i <= 10; ++i) a.SetRefPoint(i, 0.01);
  UniformSeed = 3;
  for (int k = 0; k < 1000; ++k) {
    double v = a.RandomValue();
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 1.0);
  }
}

}  // namespace
