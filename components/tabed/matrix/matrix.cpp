#include "components/tabed/matrix/matrix.h"

#include <algorithm>
#include <new>

#include "components/common/velcomperror.h"

TMatrix::TMatrix(int cols, int rows) {
  // Each count on its own: two negative counts must not pass as a positive size.
  if (cols < 1 || rows < 1) throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  try {
    FCells.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), 0.0);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  } catch (const std::length_error&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  FNrOfColumns = cols;
  FNrOfRows = rows;
}

bool TMatrix::Resize(int cols, int rows) {
  if (cols < 1 || rows < 1) return false;
  if (std::int64_t{cols} * rows * std::int64_t{sizeof(double)} > kMaxResizeBytes) return false;
  // The new block is built beside the old one, so a failure leaves the old intact.
  std::vector<double> cells;
  try {
    cells.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), 0.0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int keepCols = std::min(cols, FNrOfColumns);
  const int keepRows = std::min(rows, FNrOfRows);
  for (int r = 1; r <= keepRows; ++r)
    for (int c = 1; c <= keepCols; ++c)
      cells[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(cols) +
            static_cast<std::size_t>(c - 1)] = FCells[Index(c, r)];
  FCells.swap(cells);
  FNrOfColumns = cols;
  FNrOfRows = rows;
  return true;
}

double TMatrix::GetElem(int col, int row) const {
  return Inside(col, row) ? FCells[Index(col, row)] : 0.0;
}

void TMatrix::SetElem(int col, int row, double value) {
  if (Inside(col, row)) FCells[Index(col, row)] = value;
}

void TMatrix::Fill(double value) {
  std::fill(FCells.begin(), FCells.end(), value);
}
