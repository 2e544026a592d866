// Exhausted memory is simulated by a global allocator that refuses blocks of one chosen size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "components/common/velcomperror.h"
#include "engine/alearix.h"

namespace {
std::size_t RefusedFrom = 0;  // requests of this many bytes or more fail; 0: all are served
}  // namespace

void* operator new(std::size_t n) {
  if (RefusedFrom != 0 && n >= RefusedFrom) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

struct TRefuse {
  explicit TRefuse(std::size_t bytes) { RefusedFrom = bytes; }
  ~TRefuse() { RefusedFrom = 0; }
};

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
