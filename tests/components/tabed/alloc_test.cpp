// Exhausted memory, simulated by a global allocator that refuses large blocks: the
// table editor stays exactly as it was.
#include <gtest/gtest.h>

#include "components/common/velcomperror.h"
#include "components/tabed/ntabed.h"
#include "tests/support/refusingalloc.h"

namespace {

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
