#include "platform/customgrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "platform/graphiccontrol.h"
#include "platform/syscolors.h"

EInvalidGridOperation::~EInvalidGridOperation() = default;

// The in-place editor: an edit box without a frame over the current cell. Keys that
// move between cells, Enter and Escape go to the grid; the rest edit the text.
class TInplaceEdit : public QLineEdit {
 public:
  explicit TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid) {
    setFrame(false);
    hide();
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (FGrid->HandleKey(e)) return;
    QLineEdit::keyPressEvent(e);
  }

 private:
  TCustomGrid* FGrid;
};

TCustomGrid::TCustomGrid(QWidget* parent)
    : QAbstractScrollArea(parent),
      FColWidths(5, 64),
      FRowHeights(5, 24),
      FOptions{TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine, TGridOption::goVertLine,
               TGridOption::goHorzLine, TGridOption::goRangeSelect},
      FColor(SysColorWindow()),
      FFactory(DefaultBitmapFactory()),
      FCanvas(FFactory()),
      FScratch(FFactory()) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(false);
  FEditor = new TInplaceEdit(this);
  FEditor->setFont(ToQFont(FFont));
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
    if (!FSyncingBars) SetTopRow(FFixedRows + v);
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
    if (!FSyncingBars) SetLeftCol(FFixedCols + v);
  });
  UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() = default;

QLineEdit* TCustomGrid::InplaceEditor() const {
  return FEditor;
}

const TQtBitmap* TCustomGrid::CanvasImage() const {
  return dynamic_cast<const TQtBitmap*>(FCanvas.get());
}

void TCustomGrid::SetBitmapFactory(TBitmapFactory factory) {
  FFactory = factory ? std::move(factory) : DefaultBitmapFactory();
  FCanvas = FFactory();
  FScratch = FFactory();
  Invalidate();
}

bool TCustomGrid::CanvasFits() const {
  return FCanvas->Width() == viewport()->width() && FCanvas->Height() == viewport()->height();
}

// ---------------------------------------------------------------- shape

void TCustomGrid::SetColCount(int n) {
  n = std::clamp(n, 1, kMaxCount);
  if (n == ColCount()) return;
  FColWidths.resize(static_cast<std::size_t>(n), FDefaultColWidth);  // unchanged if it throws
  if (FFixedCols >= n) FFixedCols = n - 1;
  ClampAfterShapeChange();
}

void TCustomGrid::SetRowCount(int n) {
  n = std::clamp(n, 1, kMaxCount);
  if (n == RowCount()) return;
  FRowHeights.resize(static_cast<std::size_t>(n), FDefaultRowHeight);  // unchanged if it throws
  if (FFixedRows >= n) FFixedRows = n - 1;
  ClampAfterShapeChange();
}

void TCustomGrid::SetFixedCols(int n) {
  if (n < 0 || n >= ColCount())
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  FFixedCols = n;
  ClampAfterShapeChange();
}

void TCustomGrid::SetFixedRows(int n) {
  if (n < 0 || n >= RowCount())
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  FFixedRows = n;
  ClampAfterShapeChange();
}

int TCustomGrid::ColWidth(int col) const {
  return col >= 0 && col < ColCount() ? FColWidths[static_cast<std::size_t>(col)] : 0;
}

void TCustomGrid::SetColWidth(int col, int w) {
  if (col < 0 || col >= ColCount()) return;
  w = std::max(0, w);
  if (FColWidths[static_cast<std::size_t>(col)] == w) return;
  FColWidths[static_cast<std::size_t>(col)] = w;
  ClampAfterShapeChange();
}

int TCustomGrid::RowHeight(int row) const {
  return row >= 0 && row < RowCount() ? FRowHeights[static_cast<std::size_t>(row)] : 0;
}

void TCustomGrid::SetRowHeight(int row, int h) {
  if (row < 0 || row >= RowCount()) return;
  h = std::max(0, h);
  if (FRowHeights[static_cast<std::size_t>(row)] == h) return;
  FRowHeights[static_cast<std::size_t>(row)] = h;
  ClampAfterShapeChange();
}

void TCustomGrid::SetDefaultColWidth(int w) {
  FDefaultColWidth = std::max(0, w);
  std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
  ClampAfterShapeChange();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  FDefaultRowHeight = std::max(0, h);
  std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
  ClampAfterShapeChange();
}

void TCustomGrid::SetOptions(TGridOptions o) {
  if (o == FOptions) return;
  FOptions = o;
  if (!FOptions.Contains(TGridOption::goEditing))
    HideEditor();
  else if (FOptions.Contains(TGridOption::goAlwaysShowEditor) && isVisible())
    ShowEditor();
  ClampAfterShapeChange();
}

void TCustomGrid::SetFont(const TFont& f) {
  if (f == FFont) return;
  FFont = f;
  FEditor->setFont(ToQFont(f));
  Invalidate();
}

void TCustomGrid::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  Invalidate();
}

void TCustomGrid::ClampAfterShapeChange() {
  const TGridCoord current = ClampToScrolling(FCurrent);
  const TGridCoord anchor = ClampToScrolling(FAnchor);
  const bool moved = !(current == FCurrent) || !(anchor == FAnchor);
  if (moved && FEditorMode) CommitEdit();
  FCurrent = current;
  FAnchor = anchor;
  FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
  FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
  UpdateScrollBars();
  if (FEditorMode) {
    if (moved) LoadEditor();
    PlaceEditor();
  }
  Invalidate();
  if (moved) SelectionChanged();
}

TGridCoord TCustomGrid::ClampToScrolling(TGridCoord c) const {
  return {std::clamp(c.Col, FFixedCols, ColCount() - 1),
          std::clamp(c.Row, FFixedRows, RowCount() - 1)};
}

// ---------------------------------------------------------------- geometry

bool TCustomGrid::HasVertLines() const {
  return FOptions.Contains(TGridOption::goVertLine) ||
         FOptions.Contains(TGridOption::goFixedVertLine);
}

bool TCustomGrid::HasHorzLines() const {
  return FOptions.Contains(TGridOption::goHorzLine) ||
         FOptions.Contains(TGridOption::goFixedHorzLine);
}

int TCustomGrid::FixedWidth() const {
  const int lw = HasVertLines() ? 1 : 0;
  int w = 0;
  for (int c = 0; c < FFixedCols; ++c) w += ColWidth(c) + lw;
  return w;
}

int TCustomGrid::FixedHeight() const {
  const int lw = HasHorzLines() ? 1 : 0;
  int h = 0;
  for (int r = 0; r < FFixedRows; ++r) h += RowHeight(r) + lw;
  return h;
}

int TCustomGrid::ColX(int col) const {
  const int lw = HasVertLines() ? 1 : 0;
  if (col < 0 || col >= ColCount()) return -1;
  int x = 0;
  if (col < FFixedCols) {
    for (int c = 0; c < col; ++c) x += ColWidth(c) + lw;
    return x;
  }
  if (col < FLeftCol) return -1;
  x = FixedWidth();
  const int limit = viewport()->width();
  for (int c = FLeftCol; c < col; ++c) {
    x += ColWidth(c) + lw;
    if (x >= limit) return -1;
  }
  return x;
}

int TCustomGrid::RowY(int row) const {
  const int lw = HasHorzLines() ? 1 : 0;
  if (row < 0 || row >= RowCount()) return -1;
  int y = 0;
  if (row < FFixedRows) {
    for (int r = 0; r < row; ++r) y += RowHeight(r) + lw;
    return y;
  }
  if (row < FTopRow) return -1;
  y = FixedHeight();
  const int limit = viewport()->height();
  for (int r = FTopRow; r < row; ++r) {
    y += RowHeight(r) + lw;
    if (y >= limit) return -1;
  }
  return y;
}

TRect TCustomGrid::CellRect(int col, int row) const {
  const int x = ColX(col);
  const int y = RowY(row);
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
  return {x, y, x + ColWidth(col), y + RowHeight(row)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  if (x < 0 || y < 0) return {};
  const int vlw = HasVertLines() ? 1 : 0;
  const int hlw = HasHorzLines() ? 1 : 0;
  auto find = [](int pos, int fixed, int first, int count, int lw, auto size) {
    int edge = 0;
    for (int i = 0; i < fixed; ++i) {
      edge += size(i) + lw;
      if (pos < edge) return i;
    }
    for (int i = first; i < count; ++i) {
      edge += size(i) + lw;
      if (pos < edge) return i;
    }
    return -1;
  };
  const int col =
      find(x, FFixedCols, FLeftCol, ColCount(), vlw, [this](int i) { return ColWidth(i); });
  const int row =
      find(y, FFixedRows, FTopRow, RowCount(), hlw, [this](int i) { return RowHeight(i); });
  if (col < 0 || row < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
  return {col, row};
}

int TCustomGrid::GridWidth() const {
  const int lw = HasVertLines() ? 1 : 0;
  const int limit = viewport()->width();
  int w = FixedWidth();
  for (int c = FLeftCol; c < ColCount() && w < limit; ++c) w += ColWidth(c) + lw;
  return std::min(w, limit);
}

int TCustomGrid::GridHeight() const {
  const int lw = HasHorzLines() ? 1 : 0;
  const int limit = viewport()->height();
  int h = FixedHeight();
  for (int r = FTopRow; r < RowCount() && h < limit; ++r) h += RowHeight(r) + lw;
  return std::min(h, limit);
}

int TCustomGrid::LowestTopRowShowing(int row) const {
  const int lw = HasHorzLines() ? 1 : 0;
  const int room = viewport()->height() - FixedHeight();
  int used = 0;
  int top = row;
  for (int r = row; r >= FFixedRows; --r) {
    used += RowHeight(r) + lw;
    if (used > room) break;
    top = r;
  }
  return std::max(top, FFixedRows);
}

int TCustomGrid::LowestLeftColShowing(int col) const {
  const int lw = HasVertLines() ? 1 : 0;
  const int room = viewport()->width() - FixedWidth();
  int used = 0;
  int left = col;
  for (int c = col; c >= FFixedCols; --c) {
    used += ColWidth(c) + lw;
    if (used > room) break;
    left = c;
  }
  return std::max(left, FFixedCols);
}

int TCustomGrid::MaxTopRow() const {
  return LowestTopRowShowing(RowCount() - 1);
}

int TCustomGrid::MaxLeftCol() const {
  return LowestLeftColShowing(ColCount() - 1);
}

int TCustomGrid::VisibleRowCount() const {
  const int lw = HasHorzLines() ? 1 : 0;
  const int limit = viewport()->height();
  int y = FixedHeight();
  int n = 0;
  for (int r = FTopRow; r < RowCount(); ++r) {
    y += RowHeight(r) + lw;
    if (y > limit) break;
    ++n;
  }
  return std::max(n, 1);
}

int TCustomGrid::VisibleColCount() const {
  const int lw = HasVertLines() ? 1 : 0;
  const int limit = viewport()->width();
  int x = FixedWidth();
  int n = 0;
  for (int c = FLeftCol; c < ColCount(); ++c) {
    x += ColWidth(c) + lw;
    if (x > limit) break;
    ++n;
  }
  return std::max(n, 1);
}

void TCustomGrid::UpdateScrollBars() {
  FSyncingBars = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, MaxTopRow() - FFixedRows);
  v->setPageStep(VisibleRowCount());
  v->setValue(FTopRow - FFixedRows);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, MaxLeftCol() - FFixedCols);
  h->setPageStep(VisibleColCount());
  h->setValue(FLeftCol - FFixedCols);
  FSyncingBars = false;
}

// ---------------------------------------------------------------- selection

TGridRect TCustomGrid::Selection() const {
  return {std::min(FAnchor.Col, FCurrent.Col), std::min(FAnchor.Row, FCurrent.Row),
          std::max(FAnchor.Col, FCurrent.Col), std::max(FAnchor.Row, FCurrent.Row)};
}

void TCustomGrid::SetSelection(const TGridRect& r) {
  const TGridRect old = Selection();
  const TGridCoord oldCurrent = FCurrent;
  const TGridCoord anchor = ClampToScrolling({r.Left, r.Top});
  const TGridCoord current = ClampToScrolling({r.Right, r.Bottom});
  if (!(current == FCurrent) && FEditorMode) CommitEdit();
  FAnchor = anchor;
  FCurrent = current;
  RedrawBlock(old);
  RedrawBlock(Selection());
  ScrollInView(FCurrent);
  if (FEditorMode && !(oldCurrent == FCurrent)) {
    LoadEditor();
    PlaceEditor();
  }
  SelectionChanged();
}

void TCustomGrid::FocusCell(int col, int row) {
  MoveCurrent(ClampToScrolling({col, row}), false);
}

void TCustomGrid::MoveCurrent(TGridCoord to, bool extend) {
  to = ClampToScrolling(to);
  const TGridRect old = Selection();
  const bool cellMoves = !(to == FCurrent);
  if (cellMoves && FEditorMode) {
    CommitEdit();
    if (!FOptions.Contains(TGridOption::goAlwaysShowEditor)) HideEditor();
  }
  FCurrent = to;
  if (!extend || !FOptions.Contains(TGridOption::goRangeSelect)) FAnchor = to;
  if (Selection() == old && !cellMoves) return;
  ScrollInView(FCurrent);
  RedrawBlock(old);
  RedrawBlock(Selection());
  if (FEditorMode && cellMoves) {
    LoadEditor();
    PlaceEditor();
  }
  SelectionChanged();
}

void TCustomGrid::ScrollInView(TGridCoord c) {
  if (c.Row < FTopRow) {
    SetTopRow(c.Row);
  } else {
    const int top = LowestTopRowShowing(c.Row);
    if (FTopRow < top) SetTopRow(top);
  }
  if (c.Col < FLeftCol) {
    SetLeftCol(c.Col);
  } else {
    const int left = LowestLeftColShowing(c.Col);
    if (FLeftCol < left) SetLeftCol(left);
  }
}

// ---------------------------------------------------------------- scrolling

void TCustomGrid::SetTopRow(int row) {
  row = std::clamp(row, FFixedRows, MaxTopRow());
  if (row == FTopRow) return;
  const int lw = HasHorzLines() ? 1 : 0;
  const int oldTop = FTopRow;
  // pixels the rows move by: the heights of the rows scrolled past
  int shift = 0;
  for (int r = std::min(oldTop, row); r < std::max(oldTop, row); ++r) shift += RowHeight(r) + lw;
  FTopRow = row;
  UpdateScrollBars();
  const int top = FixedHeight();
  const int bottom = viewport()->height();
  const int band = bottom - top;
  if (FDirty || !CanPaint() || !CanvasFits() || shift >= band) {
    Invalidate();
  } else {
    // Move what stays in view, then draw only the rows that came into it.
    const int keep = band - shift;
    FScratch->SetSize(FCanvas->Width(), keep);
    if (row > oldTop) {
      FScratch->Draw(0, -(top + shift), *FCanvas);
      FCanvas->Draw(0, top, *FScratch);
      PaintRowBand(top + keep, bottom);
    } else {
      FScratch->Draw(0, -top, *FCanvas);
      FCanvas->Draw(0, top + shift, *FScratch);
      PaintRowBand(top, top + shift);
    }
    viewport()->update();
  }
  if (FEditorMode) PlaceEditor();
}

void TCustomGrid::SetLeftCol(int col) {
  col = std::clamp(col, FFixedCols, MaxLeftCol());
  if (col == FLeftCol) return;
  FLeftCol = col;
  UpdateScrollBars();
  Invalidate();
  if (FEditorMode) PlaceEditor();
}

void TCustomGrid::scrollContentsBy(int, int) {
  // The grid scrolls its own image (SetTopRow, SetLeftCol).
}

// ---------------------------------------------------------------- painting

void TCustomGrid::Invalidate() {
  FDirty = true;
  viewport()->update();
}

void TCustomGrid::Paint() {
  if (!CanPaint()) return;
  FCanvas->SetSize(viewport()->width(), viewport()->height());
  FDirty = false;
  PaintRowBand(0, FCanvas->Height());
  RefreshEditor();
  viewport()->update();
}

void TCustomGrid::RefreshEditor() {
  if (FEditorMode && !FEditor->isModified()) LoadEditor();
}

void TCustomGrid::PaintRowBand(int y0, int y1) {
  const int vlw = HasVertLines() ? 1 : 0;
  const int hlw = HasHorzLines() ? 1 : 0;
  const int width = FCanvas->Width();
  FCanvas->SetPenMode(TPenMode::pmCopy);
  FCanvas->SetPenStyle(TPenStyle::psSolid);
  FCanvas->SetPenWidth(1);
  FCanvas->SetBrushStyle(TBrushStyle::bsSolid);
  FCanvas->SetPenColor(FColor);
  FCanvas->SetBrushColor(FColor);
  FCanvas->Rectangle(0, y0, width, y1);

  auto drawRow = [&](int row, int y) {
    const int h = RowHeight(row);
    if (y >= y1 || y + h + hlw <= y0) return;
    int x = 0;
    for (int c = 0; c < FFixedCols && x < width; ++c) {
      DrawCellAt(c, row, {x, y, x + ColWidth(c), y + h});
      x += ColWidth(c) + vlw;
    }
    for (int c = FLeftCol; c < ColCount() && x < width; ++c) {
      DrawCellAt(c, row, {x, y, x + ColWidth(c), y + h});
      x += ColWidth(c) + vlw;
    }
  };
  const int height = FCanvas->Height();
  int y = 0;
  for (int r = 0; r < FFixedRows && y < height; ++r) {
    drawRow(r, y);
    y += RowHeight(r) + hlw;
  }
  for (int r = FTopRow; r < RowCount() && y < height && y < y1; ++r) {
    drawRow(r, y);
    y += RowHeight(r) + hlw;
  }
}

void TCustomGrid::DrawCellAt(int col, int row, const TRect& rect) {
  const bool fixed = col < FFixedCols || row < FFixedRows;
  const bool focused = col == FCurrent.Col && row == FCurrent.Row;
  const bool selected = !fixed && Selection().Contains(col, row);
  TGridDrawState state;
  if (fixed) state.Include(TGridDrawFlag::gdFixed);
  if (selected) state.Include(TGridDrawFlag::gdSelected);
  if (focused) state.Include(TGridDrawFlag::gdFocused);
  const bool highlighted = selected && !focused;
  const TColor back = fixed ? SysColorBtnFace() : highlighted ? SysColorHighlight() : FColor;
  const TColor text = highlighted ? SysColorHighlightText() : FFont.Color;

  TSurface& s = *FCanvas;
  s.SetPenMode(TPenMode::pmCopy);
  s.SetPenStyle(TPenStyle::psSolid);
  s.SetPenWidth(1);
  s.SetBrushStyle(TBrushStyle::bsSolid);
  s.SetPenColor(back);
  s.SetBrushColor(back);
  s.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (fixed) {  // a raised header: light top and left edges
    s.SetPenColor(SysColorBtnHighlight());
    s.MoveTo(rect.Left, rect.Bottom - 1);
    s.LineTo(rect.Left, rect.Top);
    s.LineTo(rect.Right, rect.Top);
  }

  // the lines right of and below the cell
  const bool vert =
      FOptions.Contains(fixed ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
  const bool horz =
      FOptions.Contains(fixed ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
  const int hlw = HasHorzLines() ? 1 : 0;
  const int vlw = HasVertLines() ? 1 : 0;
  const TColor lineColor = fixed ? clBlack : clSilver;
  if (vlw) {
    s.SetPenColor(vert ? lineColor : FColor);
    s.MoveTo(rect.Right, rect.Top);
    s.LineTo(rect.Right, rect.Bottom + hlw);
  }
  if (hlw) {
    s.SetPenColor(horz ? lineColor : FColor);
    s.MoveTo(rect.Left, rect.Bottom);
    s.LineTo(rect.Right + (vert ? 0 : vlw), rect.Bottom);
  }

  s.SetFont(FFont);
  s.SetFontColor(text);
  s.SetBrushColor(back);
  DrawCell(col, row, rect, state);
  s.SetPenMode(TPenMode::pmCopy);

  if (focused && !FEditorMode) {  // the current cell without the editor: a dotted frame
    s.SetPenStyle(TPenStyle::psDot);
    s.SetPenColor(FFont.Color);
    s.SetBrushStyle(TBrushStyle::bsClear);
    s.Rectangle(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    s.SetPenStyle(TPenStyle::psSolid);
    s.SetBrushStyle(TBrushStyle::bsSolid);
  }
  ++FCellsDrawn;
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

void TCustomGrid::InvalidateCell(int col, int row) {
  if (FDirty || !CanPaint()) {
    Invalidate();
    return;
  }
  const TRect r = CellRect(col, row);
  if (r.Right <= r.Left && r.Bottom <= r.Top) return;
  DrawCellAt(col, row, r);
  viewport()->update(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

void TCustomGrid::RedrawBlock(const TGridRect& r) {
  if (FDirty || !CanPaint()) {
    Invalidate();
    return;
  }
  // only the part in view
  const int lastRow = std::min(r.Bottom, FTopRow + VisibleRowCount());
  const int lastCol = std::min(r.Right, FLeftCol + VisibleColCount());
  for (int row = std::max(r.Top, FTopRow); row <= lastRow; ++row)
    for (int col = std::max(r.Left, FLeftCol); col <= lastCol; ++col) InvalidateCell(col, row);
}

void TCustomGrid::paintEvent(QPaintEvent*) {
  if (FDirty || !CanvasFits()) Paint();
  QPainter p(viewport());
  p.setCompositionMode(QPainter::CompositionMode_Source);
  if (const TQtBitmap* image = CanvasImage())
    p.drawImage(0, 0, image->Image());
  else
    p.fillRect(viewport()->rect(), Qt::white);
}

void TCustomGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  ClampAfterShapeChange();  // the current cell stays; the scroll position may not
}

void TCustomGrid::showEvent(QShowEvent* e) {
  QAbstractScrollArea::showEvent(e);
  if (FOptions.Contains(TGridOption::goEditing) &&
      FOptions.Contains(TGridOption::goAlwaysShowEditor))
    ShowEditor();
}

void TCustomGrid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  if (FOptions.Contains(TGridOption::goEditing) &&
      FOptions.Contains(TGridOption::goAlwaysShowEditor))
    ShowEditor();
  if (FEditorMode) FEditor->setFocus();
}

// ---------------------------------------------------------------- editor

void TCustomGrid::ShowEditor() {
  if (!FOptions.Contains(TGridOption::goEditing)) return;
  if (!FEditorMode) {
    FEditorMode = true;
    LoadEditor();
    InvalidateCell(FCurrent.Col, FCurrent.Row);  // no dotted frame under the editor
  }
  PlaceEditor();
  if (isVisible()) FEditor->setFocus();
}

void TCustomGrid::HideEditor() {
  if (!FEditorMode) return;
  CommitEdit();
  FEditorMode = false;
  const bool hadFocus = FEditor->hasFocus();
  FEditor->hide();
  if (hadFocus) setFocus();
  InvalidateCell(FEditCell.Col, FEditCell.Row);
}

void TCustomGrid::CommitEdit() {
  if (!FEditorMode || !FEditor->isModified()) return;
  FEditor->setModified(false);
  SetEditText(FEditCell.Col, FEditCell.Row, FEditor->text().toStdString());
  InvalidateCell(FEditCell.Col, FEditCell.Row);
}

void TCustomGrid::LoadEditor() {
  FEditCell = FCurrent;
  FEditor->setText(QString::fromStdString(GetEditText(FCurrent.Col, FCurrent.Row)));
  FEditor->setModified(false);
  FEditor->selectAll();
}

void TCustomGrid::PlaceEditor() {
  const TRect r = CellRect(FCurrent.Col, FCurrent.Row);
  if (r.Right <= r.Left || r.Bottom <= r.Top) {
    FEditor->hide();
    return;
  }
  FEditor->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  FEditor->show();
}

std::string TCustomGrid::GetEditText(int, int) {
  return {};
}

void TCustomGrid::SetEditText(int, int, const std::string&) {}

// ---------------------------------------------------------------- keys

bool TCustomGrid::HandleKey(QKeyEvent* e) {
  int key = e->key();
  const TShiftState shift = ShiftStateOf(e->modifiers());
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      KeyDown(key, shift);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      if (FEditorMode && FEditor->hasFocus()) return false;  // these move the caret
      KeyDown(key, shift);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      KeyDown(key, shift);
      int ch = kKeyEnter;
      KeyPress(ch);
      return true;
    }
    case Qt::Key_Escape:
      if (!FEditorMode) return false;
      LoadEditor();  // back to the cell's text, so hiding stores nothing
      if (!FOptions.Contains(TGridOption::goAlwaysShowEditor)) HideEditor();
      return true;
    case Qt::Key_F2:
      ShowEditor();
      return true;
    default:
      return false;
  }
}

void TCustomGrid::keyPressEvent(QKeyEvent* e) {
  if (HandleKey(e)) return;
  // Typing on a cell opens the editor with the typed text.
  const QString text = e->text();
  if (!FEditorMode && FOptions.Contains(TGridOption::goEditing) && !text.isEmpty() &&
      text.at(0).isPrint()) {
    ShowEditor();
    FEditor->setText(text);
    FEditor->setModified(true);
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

void TCustomGrid::KeyDown(int& key, TShiftState shift) {
  const bool extend = shift.Contains(TShiftFlag::ssShift);
  const bool ctrl = shift.Contains(TShiftFlag::ssCtrl);
  TGridCoord to = FCurrent;
  switch (key) {
    case Qt::Key_Up:
      --to.Row;
      break;
    case Qt::Key_Down:
      ++to.Row;
      break;
    case Qt::Key_Left:
      --to.Col;
      break;
    case Qt::Key_Right:
      ++to.Col;
      break;
    case Qt::Key_PageUp:
      to.Row -= VisibleRowCount();
      break;
    case Qt::Key_PageDown:
      to.Row += VisibleRowCount();
      break;
    case Qt::Key_Home:
      if (ctrl) to.Row = FFixedRows;
      to.Col = FFixedCols;
      break;
    case Qt::Key_End:
      if (ctrl) to.Row = RowCount() - 1;
      to.Col = ColCount() - 1;
      break;
    default:
      return;
  }
  MoveCurrent(to, extend);
}

void TCustomGrid::KeyPress(int& key) {
  if (key != kKeyEnter || !FOptions.Contains(TGridOption::goEditing)) return;
  if (FOptions.Contains(TGridOption::goAlwaysShowEditor)) {
    CommitEdit();
    return;
  }
  if (FEditorMode)
    HideEditor();
  else
    ShowEditor();
  key = kKeyNull;
}

// ---------------------------------------------------------------- mouse

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!hasFocus() && !(FEditorMode && FEditor->hasFocus())) setFocus(Qt::MouseFocusReason);
  if (button == mbLeft) {
    const TGridCoord c = MouseCoord(x, y);
    if (c.Col >= FFixedCols && c.Row >= FFixedRows) {
      MoveCurrent(c, shift.Contains(TShiftFlag::ssShift));
      FSelecting = true;
    }
  }
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TCustomGrid::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!ToMouseButton(e->button(), b)) return;
  if (b == mbLeft) FPressed = true;
  const QPoint p = e->position().toPoint();
  MouseDown(b, ShiftStateOf(*e), p.x(), p.y());
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e) {
  if (!FSelecting || !(e->buttons() & Qt::LeftButton)) return;
  const QPoint p = e->position().toPoint();
  const TGridCoord c = MouseCoord(p.x(), p.y());
  if (c.Col >= FFixedCols && c.Row >= FFixedRows) MoveCurrent(c, true);
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) {
  FSelecting = false;
  if (e->button() == Qt::LeftButton && FPressed) {
    FPressed = false;
    if (viewport()->rect().contains(e->position().toPoint()) && OnClick) OnClick(this);
  }
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
