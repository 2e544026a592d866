// Exhausted memory, simulated by a global allocator that refuses large blocks.
#include <gtest/gtest.h>

#include "components/common/velcomperror.h"
#include "engine/alearix.h"
#include "tests/support/refusingalloc.h"

namespace {

TEST(EngineMemory, ConstructorReportsNotEnoughMemoryOnHeap) {
  TRefuse refuse(500 * sizeof(double));
  try {
    TAlearix a;
    FAIL() << "constructed without a table";
  } catch (const EVelCompError& e) {
    EXPECT_STREQ(e.what(), "not enough memory on heap");
  }
}

TEST(EngineMemory, SetResolutionReportsNotEnoughMemoryAndStaysSafe) {
  TAlearix a;
  a.LowerLimit = 0.0;
  a.UpperLimit = 1.0;
  a.SetResolution(40);
  {
    TRefuse refuse(123 * sizeof(double));
    try {
      a.SetResolution(123);
      FAIL() << "resized without a table";
    } catch (const EVelCompError& e) {
      EXPECT_STREQ(e.what(), "not enough memory");
    }
  }
  // The old table is gone, the old count stays; nothing reads or writes outside.
  EXPECT_EQ(a.Resolution(), 40);
  EXPECT_EQ(a.GetRefPoint(1), 0.0);
  a.SetRefPoint(1, 0.5);
  EXPECT_EQ(a.GetRefPoint(1), 0.0);
  EXPECT_FALSE(a.HasPositiveRefPoint());
  EXPECT_THROW(a.RandomValue(), EDistributionError);
  EXPECT_THROW(a.Normalize(), EDistributionError);
  EXPECT_EQ(a.ValueToClass(0.5), 21);

  a.SetResolution(123);  // memory is back
  EXPECT_EQ(a.Resolution(), 123);
  EXPECT_EQ(a.GetRefPoint(123), 1.0);
  EXPECT_NO_THROW(a.RandomValue());
}

}  // namespace
