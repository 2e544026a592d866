#pragma once
// TCustomGrid: a self-drawn grid of cells on a scroll area, the base of the table
// editor. It knows nothing of what the cells hold: subclasses draw them (DrawCell)
// and give and take the text of the in-place editor (GetEditText, SetEditText).
//
// Layout: ColCount x RowCount cells; the first FixedCols columns and FixedRows rows
// are headers that never scroll out of view and are never selected. Each column has
// its own width and each row its own height; a grid line of one pixel follows every
// column and row while the options ask for lines. Cell rectangles exclude the lines.
// All pixel positions are in the viewport's coordinates.
//
// Painting: the grid owns an image the size of its viewport. Paint() redraws every
// visible cell into it; a selection move redraws only the cells whose look changed,
// and scrolling moves the pixels already drawn and draws only the rows that came
// into view. The Qt paint event copies the image to the screen.
#include <QAbstractScrollArea>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "components/common/set.h"
#include "platform/controltypes.h"
#include "platform/qtsurface.h"
#include "platform/surface.h"

class QLineEdit;
class TInplaceEdit;

enum class TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goEditing,
  goAlwaysShowEditor
};
using TGridOptions = TSet<TGridOption>;

// How a cell is to be drawn: in the selection, the current cell, a header cell.
enum class TGridDrawFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawFlag>;

// A block of cells in grid coordinates (column, row), both corners included.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
  bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
};

// A cell in grid coordinates; -1, -1 for none.
struct TGridCoord {
  int Col = -1;
  int Row = -1;
  bool operator==(const TGridCoord&) const = default;
};

// A grid operation that cannot be carried out (a fixed count that leaves no
// scrolling cell).
class EInvalidGridOperation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ~EInvalidGridOperation() override;
};

// The character codes KeyPress hands on: Enter, and the null key a handler turns a
// consumed key into.
constexpr int kKeyNull = 0;
constexpr int kKeyEnter = 13;

class TCustomGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Largest column or row count the grid takes.
  static constexpr int kMaxCount = 1 << 20;

  explicit TCustomGrid(QWidget* parent = nullptr);
  ~TCustomGrid() override;

  // Shape. Counts below 1 are taken as 1; a count at or below the fixed count
  // lowers the fixed count. New columns and rows get the default width and height.
  int ColCount() const { return static_cast<int>(FColWidths.size()); }
  void SetColCount(int n);
  int RowCount() const { return static_cast<int>(FRowHeights.size()); }
  void SetRowCount(int n);
  int FixedCols() const { return FFixedCols; }
  // Raises EInvalidGridOperation unless 0 <= n < ColCount.
  void SetFixedCols(int n);
  int FixedRows() const { return FFixedRows; }
  // Raises EInvalidGridOperation unless 0 <= n < RowCount.
  void SetFixedRows(int n);

  // Widths and heights in pixels; out-of-range indices read 0 and are ignored.
  int ColWidth(int col) const;
  void SetColWidth(int col, int w);
  int RowHeight(int row) const;
  void SetRowHeight(int row, int h);
  int DefaultColWidth() const { return FDefaultColWidth; }
  // Stores the default and gives every column that width.
  void SetDefaultColWidth(int w);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  // Stores the default and gives every row that height.
  void SetDefaultRowHeight(int h);

  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions o);

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& f);
  // Background of the scrolling cells and of the area beyond the grid.
  TColor Color() const { return FColor; }
  void SetColor(TColor c);

  // Selection: the block between the anchor and the current cell; it never holds a
  // fixed cell. SetSelection puts the anchor at the top-left corner and the current
  // cell at the bottom-right one, both moved into the scrolling cells.
  TGridRect Selection() const;
  void SetSelection(const TGridRect& r);
  int Col() const { return FCurrent.Col; }
  int Row() const { return FCurrent.Row; }
  // Makes (col, row) the current cell and the whole selection, and scrolls it into view.
  void FocusCell(int col, int row);

  // The first scrolling row and column in view.
  int TopRow() const { return FTopRow; }
  void SetTopRow(int row);
  int LeftCol() const { return FLeftCol; }
  void SetLeftCol(int col);
  // Scrolling rows and columns that fit completely into the viewport (at least 1).
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // Pixel rectangle of a cell in view (right and bottom excluded, lines not
  // included); an empty rectangle when the cell is out of view.
  TRect CellRect(int col, int row) const;
  // The cell under a pixel position, or -1, -1.
  TGridCoord MouseCoord(int x, int y) const;
  // Width and height of the drawn cells, lines included, at most the viewport's.
  int GridWidth() const;
  int GridHeight() const;

  // The surface the cells are drawn on, and its pixels (none when a test made the
  // canvas a recording bitmap).
  TSurface& Canvas() { return *FCanvas; }
  const TQtBitmap* CanvasImage() const;
  // Makes the canvas with another factory (tests record the drawing calls).
  void SetBitmapFactory(TBitmapFactory factory);
  // Redraws every visible cell into the canvas (nothing while CanPaint() is false),
  // then schedules the copy to the screen.
  virtual void Paint();
  // A full paint at the next Qt paint event.
  void Invalidate();
  // Redraws one cell now when it is in view.
  void InvalidateCell(int col, int row);
  // Cells drawn since construction: shows how much a change repainted.
  long long CellsDrawn() const { return FCellsDrawn; }

  // In-place editor.
  QLineEdit* InplaceEditor() const;
  bool EditorMode() const { return FEditorMode; }
  // Opens the editor on the current cell with the text of GetEditText.
  void ShowEditor();
  // Ends the edit (see CommitEdit) and closes the editor.
  void HideEditor();
  // Gives an open editor the cell's text again unless the user has changed it (a
  // full Paint does this too).
  void RefreshEditor();
  // Hands a changed editor text to SetEditText. Text the user has not changed is
  // not handed on, so moving through the cells never alters them.
  void CommitEdit();

  std::function<void(TCustomGrid*, TMouseButton, TShiftState, int, int)> OnMouseDown;
  std::function<void(TCustomGrid*)> OnClick;
  std::function<void(TCustomGrid*)> OnDblClick;

 protected:
  // Draws one cell. The base has filled its rectangle with the background, set the
  // brush colour to it and the font and its colour; the default draws nothing.
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  // Keys, with Qt's key codes. The base moves the current cell with the arrow keys,
  // Page Up/Down and Home/End (Shift extends the selection with goRangeSelect).
  virtual void KeyDown(int& key, TShiftState shift);
  // Characters: Enter opens or closes the editor and becomes kKeyNull; with
  // goAlwaysShowEditor it ends the edit and stays Enter.
  virtual void KeyPress(int& key);
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string& text);
  // Mouse press at (x, y): the left button selects; then OnMouseDown.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  // False while the owner wants no painting at all.
  virtual bool CanPaint() const { return true; }
  // Called after the selection or the current cell changed.
  virtual void SelectionChanged() {}

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  friend class TInplaceEdit;

  bool HasVertLines() const;
  bool HasHorzLines() const;
  // Left edge of a column in view, or -1.
  int ColX(int col) const;
  int RowY(int row) const;
  int FixedWidth() const;
  int FixedHeight() const;
  int MaxTopRow() const;
  int MaxLeftCol() const;
  // The lowest top row (left column) with which the given row (column) is still
  // shown completely, or as much of it as fits.
  int LowestTopRowShowing(int row) const;
  int LowestLeftColShowing(int col) const;
  TGridCoord ClampToScrolling(TGridCoord c) const;
  // Moves the current cell (and the anchor unless extending) and scrolls it into view.
  void MoveCurrent(TGridCoord to, bool extend);
  void ScrollInView(TGridCoord c);
  void ClampAfterShapeChange();
  void UpdateScrollBars();
  void DrawCellAt(int col, int row, const TRect& rect);
  // Fills the band of rows [y0, y1) with the background and draws the cells of the
  // rows that reach into it.
  void PaintRowBand(int y0, int y1);
  void RedrawBlock(const TGridRect& r);
  void PlaceEditor();
  void LoadEditor();
  bool CanvasFits() const;
  // Key handling shared by the grid and its editor; true when the key was used.
  bool HandleKey(QKeyEvent* e);

  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  TGridOptions FOptions;
  TFont FFont;
  TColor FColor;
  TGridCoord FAnchor{1, 1};
  TGridCoord FCurrent{1, 1};
  int FTopRow = 1;
  int FLeftCol = 1;

  TBitmapFactory FFactory;
  std::unique_ptr<TBitmap> FCanvas;
  std::unique_ptr<TBitmap> FScratch;  // scrolled pixels in transit
  bool FDirty = true;
  long long FCellsDrawn = 0;
  bool FSyncingBars = false;

  TInplaceEdit* FEditor = nullptr;
  bool FEditorMode = false;
  TGridCoord FEditCell;
  bool FSelecting = false;
  bool FPressed = false;
};
