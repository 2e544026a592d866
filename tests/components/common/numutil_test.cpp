#include "components/common/numutil.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>

#include "components/common/velcomperror.h"

TEST(NumUtil, CeilAndFloorExamples) {
  EXPECT_EQ(CeilInt(2.0), 2);
  EXPECT_EQ(CeilInt(2.1), 3);
  EXPECT_EQ(CeilInt(-2.5), -2);
  EXPECT_EQ(CeilInt(2.5), 3);
  EXPECT_EQ(CeilInt(-2.0), -2);
  EXPECT_EQ(CeilInt(-0.3), 0);
  EXPECT_EQ(FloorInt(-2.5), -3);
  EXPECT_EQ(FloorInt(2.9), 2);
  EXPECT_EQ(FloorInt(2.5), 2);
  EXPECT_EQ(FloorInt(3.5), 3);
  EXPECT_EQ(FloorInt(-2.0), -2);
  EXPECT_EQ(FloorInt(-0.3), -1);
}

TEST(NumUtil, CeilAndFloorNearIntegers) {
  EXPECT_EQ(CeilInt(std::nextafter(5.0, 6.0)), 6);
  EXPECT_EQ(CeilInt(std::nextafter(5.0, 4.0)), 5);
  EXPECT_EQ(FloorInt(std::nextafter(5.0, 4.0)), 4);
  EXPECT_EQ(FloorInt(std::nextafter(5.0, 6.0)), 5);
  EXPECT_EQ(FloorInt(1e9 + 0.5), 1000000000);
  EXPECT_EQ(CeilInt(1e9 + 0.5), 1000000001);
}

TEST(NumUtil, CeilAndFloorOutsideIntRangeStayDefined) {
  EXPECT_EQ(CeilInt(1e300), INT_MAX);
  EXPECT_EQ(FloorInt(-1e300), INT_MIN);
  EXPECT_EQ(FloorInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(NumUtil, SwapBytesExchangesExactlyNBytes) {
  double a = 1.5, b = -7.25;
  SwapBytes(&a, &b, 8);
  EXPECT_EQ(a, -7.25);
  EXPECT_EQ(b, 1.5);

  unsigned char x[5] = {1, 2, 3, 4, 5}, y[5] = {9, 8, 7, 6, 5};
  SwapBytes(x, y, 3);
  EXPECT_EQ((std::array<int, 5>{x[0], x[1], x[2], x[3], x[4]}),
            (std::array<int, 5>{9, 8, 7, 4, 5}));
  EXPECT_EQ((std::array<int, 5>{y[0], y[1], y[2], y[3], y[4]}),
            (std::array<int, 5>{1, 2, 3, 6, 5}));
  SwapBytes(x, y, 0);
  EXPECT_EQ(x[0], 9);
  EXPECT_EQ(y[0], 1);

  unsigned char big1[200], big2[200];
  for (int i = 0; i < 200; ++i) {
    big1[i] = static_cast<unsigned char>(i);
    big2[i] = static_cast<unsigned char>(255 - i);
  }
  SwapBytes(big1, big2, 200);
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(big1[i], 255 - i);
    ASSERT_EQ(big2[i], i);
  }
}

TEST(VelCompError, CarriesTheFixedMessages) {
  EXPECT_STREQ(kMsgNotEnoughMemoryOnHeap, "not enough memory on heap");
  EXPECT_STREQ(kMsgNotEnoughMemory, "not enough memory");
  EXPECT_STREQ(kMsgTabEdInitFailed, "failed to initialize TNTabEd (out of memory)");
  try {
    throw EVelCompError(kMsgNotEnoughMemory);
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "not enough memory");
  }
}
