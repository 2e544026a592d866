// Exhausted memory, simulated by a global allocator that refuses large blocks: the
// table editor stays exactly as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "components/common/velcomperror.h"
#include "components/tabed/ntabed.h"

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

TEST(TabEdMemory, ReshapingWithoutStorageChangesNothing) {
  TNTabEd tab;
  tab.SetCellValue(3, 4, 34.0);
  for (bool columns : {true, false}) {
    try {
      TRefuse refuse(200000);
      columns ? tab.SetNrOfColumns(100000) : tab.SetNrOfRows(100000);
      ADD_FAILURE() << "reshaped without storage";
    } catch (const EVelCompError& e) {
      EXPECT_STREQ(e.what(), "not enough memory on heap");
    }
    EXPECT_EQ(tab.NrOfColumns(), 3);
    EXPECT_EQ(tab.NrOfRows(), 4);
    EXPECT_EQ(tab.ColCount(), 5);
    EXPECT_EQ(tab.RowCount(), 5);
    EXPECT_EQ(tab.GetCellValue(3, 4), 34.0);
    EXPECT_EQ(tab.GetRowIdentifier(4), "R-4");
    tab.Paint();  // draws every cell from arrays of the right size
  }
}

}  // namespace
