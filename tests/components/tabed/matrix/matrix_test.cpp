// Cell storage: positions outside, the reshape limit and rules, construction.
#include "components/tabed/matrix/matrix.h"

#include <gtest/gtest.h>

#include "components/common/velcomperror.h"

namespace {

// A matrix whose cell (c, r) holds 10 c + r.
TMatrix Numbered(int cols, int rows) {
  TMatrix m(cols, rows);
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) m.SetElem(c, r, 10.0 * c + r);
  return m;
}

void ExpectNumbered(const TMatrix& m, int cols, int rows) {
  for (int r = 1; r <= m.NrOfRows(); ++r)
    for (int c = 1; c <= m.NrOfColumns(); ++c)
      EXPECT_EQ(m.GetElem(c, r), c <= cols && r <= rows ? 10.0 * c + r : 0.0) << c << "," << r;
}

TEST(Matrix, NewMatrixIsZeroAndOutsidePositionsReadZeroAndIgnoreWrites) {
  TMatrix m = Numbered(3, 2);
  const int outside[][2] = {{0, 1}, {4, 1}, {1, 0}, {1, 3}, {-1, -1}, {3, 3}};
  for (const auto& p : outside) {
    EXPECT_EQ(m.GetElem(p[0], p[1]), 0.0);
    m.SetElem(p[0], p[1], 99.0);
  }
  ExpectNumbered(m, 3, 2);
  EXPECT_EQ(TMatrix(2, 2).GetElem(2, 2), 0.0);
  m.Fill(0.5);
  EXPECT_EQ(m.GetElem(3, 2), 0.5);
}

TEST(Matrix, ResizeKeepsValuesAtTheirColumnAndRow) {
  struct TCase {
    int FromCols, FromRows, ToCols, ToRows;
  };
  const TCase cases[] = {{3, 2, 2, 3}, {2, 2, 4, 2}, {4, 5, 1, 1}, {1, 1, 3, 4}, {2, 3, 2, 3}};
  for (const TCase& k : cases) {
    TMatrix m = Numbered(k.FromCols, k.FromRows);
    ASSERT_TRUE(m.Resize(k.ToCols, k.ToRows));
    EXPECT_EQ(m.NrOfColumns(), k.ToCols);
    EXPECT_EQ(m.NrOfRows(), k.ToRows);
    ExpectNumbered(m, k.FromCols, k.FromRows);
  }
}

TEST(Matrix, RefusedShapesChangeNothing) {
  // 8187 cells of 8 bytes fit into 65500 bytes, 8188 do not
  TMatrix m = Numbered(2, 3);
  const int refused[][2] = {{1, 8188}, {4, 2047}, {8188, 1}, {0, 5}, {5, 0}, {-2, -3}, {-1, 4}};
  for (const auto& s : refused) {
    EXPECT_FALSE(m.Resize(s[0], s[1])) << s[0] << "x" << s[1];
    EXPECT_EQ(m.NrOfColumns(), 2);
    EXPECT_EQ(m.NrOfRows(), 3);
    ExpectNumbered(m, 2, 3);
  }
  EXPECT_TRUE(m.Resize(1, 8187));
  EXPECT_EQ(m.GetElem(1, 3), 13.0);
  EXPECT_EQ(m.GetElem(1, 8187), 0.0);
}

TEST(Matrix, CreateWithoutCellsRaisesNotEnoughMemoryOnHeap) {
  const int counts[][2] = {{0, 4}, {4, 0}, {0, 0}, {-2, -3}, {-1, 5}};
  for (const auto& c : counts) {
    try {
      TMatrix m(c[0], c[1]);
      ADD_FAILURE() << c[0] << "x" << c[1] << " was created";
    } catch (const EVelCompError& e) {
      EXPECT_STREQ(e.what(), "not enough memory on heap");
    }
  }
  // the reshape limit does not apply to construction
  EXPECT_EQ(TMatrix(1, 9000).NrOfRows(), 9000);
}

}  // namespace
