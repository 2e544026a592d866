#pragma once
// Element-wise comparison of computed values (ticks, ranges) with expected ones.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

inline void ExpectAllNear(const std::vector<double>& got, const std::vector<double>& want,
                          double tolerance = 1e-9) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    EXPECT_NEAR(got[i], want[i], tolerance) << "at " << i;
}
