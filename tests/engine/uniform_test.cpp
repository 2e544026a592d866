#include "engine/uniform.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The state the program starts with, read during static initialisation of this test program.
const std::uint32_t kSeedAtStart = UniformSeed;

// The recurrence written out with explicit 64-bit arithmetic.
std::uint32_t Step(std::uint32_t s) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(s) * 134775813ull + 1ull) %
                                    4294967296ull);
}

// The state whose successor is t: the inverse of the multiplier modulo 2^32.
std::uint32_t Predecessor(std::uint32_t t) {
  std::uint32_t inv = 1;
  for (int i = 0; i < 5; ++i) inv *= 2u - 134775813u * inv;  // Newton iteration for 1/a mod 2^32
  return (t - 1u) * inv;
}

TEST(Uniform, StartsThreeStepsAfterZero) {
  // 0 -> 1 -> 134775814 -> 3698175007
  EXPECT_EQ(Step(0), 1u);
  EXPECT_EQ(Step(1), 134775814u);
  EXPECT_EQ(Step(134775814u), 3698175007u);
  EXPECT_EQ(kSeedAtStart, 3698175007u);

  // The first draw of the program is the fourth step.
  UniformSeed = kSeedAtStart;
  EXPECT_EQ(UniformReal(), 870078620.0 / 4294967296.0);
  EXPECT_EQ(UniformSeed, 870078620u);
}

TEST(Uniform, StartupAdvancesThreeStepsFromAnyState) {
  UniformSeed = 0;
  UniformStartup();
  EXPECT_EQ(UniformSeed, 3698175007u);
  UniformSeed = 12345;
  UniformStartup();
  EXPECT_EQ(UniformSeed, Step(Step(Step(12345))));
}

TEST(Uniform, IntAndRealFollowTheRecurrence) {
  UniformSeed = 0;
  EXPECT_EQ(UniformInt(10), 0u);  // state 1: 10 * 1 >> 32
  EXPECT_EQ(UniformSeed, 1u);
  EXPECT_EQ(UniformReal(), 134775814.0 / 4294967296.0);
  EXPECT_EQ(UniformInt(10), 8u);     // 10 * 3698175007 = 36981750070 = 8 * 2^32 + ...
  EXPECT_EQ(UniformInt(500), 101u);  // 500 * 870078620 >> 32

  std::uint32_t s = 987654321u;
  UniformSeed = s;
  for (int i = 0; i < 1000; ++i) {
    s = Step(s);
    std::uint32_t n = static_cast<std::uint32_t>(i * 7919 + 1);
    ASSERT_EQ(UniformInt(n), static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * s) >> 32));
    s = Step(s);
    ASSERT_EQ(UniformReal(), static_cast<double>(s) / 4294967296.0);
  }
}

TEST(Uniform, RangeEnds) {
  UniformSeed = Predecessor(0xFFFFFFFFu);
  EXPECT_EQ(UniformInt(10), 9u);  // the largest state never reaches n
  UniformSeed = Predecessor(0xFFFFFFFFu);
  EXPECT_EQ(UniformInt(0xFFFFFFFFu), 0xFFFFFFFEu);
  UniformSeed = Predecessor(0xFFFFFFFFu);
  double r = UniformReal();
  EXPECT_LT(r, 1.0);
  EXPECT_EQ(r, 4294967295.0 / 4294967296.0);
  UniformSeed = Predecessor(0);
  EXPECT_EQ(UniformReal(), 0.0);
  UniformSeed = Predecessor(0);
  EXPECT_EQ(UniformInt(1000), 0u);
}

}  // namespace
