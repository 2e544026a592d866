#pragma once
// TMatrix: a rectangular array of doubles addressed by 1-based (column, row). The
// table editor keeps its cell values in one, and the editors' clip store is another.
//
// Positions outside the matrix never fail: they read as 0.0 and ignore writes.
// Reshaping keeps every value at its (column, row) and is limited to 65500 bytes
// of cells (8187); a refused or failed reshape leaves the matrix as it was.
#include <cstdint>
#include <vector>

class TMatrix {
 public:
  // Largest cell block a reshape accepts, in bytes.
  static constexpr std::int64_t kMaxResizeBytes = 65500;

  // A cols x rows matrix of 0.0. Raises EVelCompError "not enough memory on heap"
  // when a count is below 1 or the cells cannot be obtained. The reshape limit does
  // not apply here.
  TMatrix(int cols, int rows);

  int NrOfColumns() const { return FNrOfColumns; }
  int NrOfRows() const { return FNrOfRows; }

  // New shape, keeping the overlap at its (column, row); new cells are 0.0. False,
  // and nothing changed, for a count below 1, a shape over the limit or when the
  // new cells cannot be obtained.
  bool Resize(int cols, int rows);

  double GetElem(int col, int row) const;
  void SetElem(int col, int row, double value);
  void Fill(double value);

 private:
  bool Inside(int col, int row) const {
    return col >= 1 && col <= FNrOfColumns && row >= 1 && row <= FNrOfRows;
  }
  std::size_t Index(int col, int row) const {
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(FNrOfColumns) +
           static_cast<std::size_t>(col - 1);
  }

  int FNrOfColumns = 0;
  int FNrOfRows = 0;
  std::vector<double> FCells;  // row after row, a row's columns side by side
};
