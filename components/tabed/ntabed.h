#pragma once
// TNTabEd: a grid that shows and edits a table of real numbers.
//
// Grid column 0 holds the row identifiers, grid row 0 the column identifiers, and
// while RowAttribVisible is set grid column 1 shows one small integer per row (a = 1,
// else a = 0). Data column c is grid column c + a, data row r is grid row r. The
// public operations take data coordinates (1-based); positions outside the table
// read 0.0, empty text or 0 and ignore writes.
//
// Each data column has a precision (0..8 decimals, or -1 for scientific form); each
// cell has a mark (drawn in ColorMarked) and a value state (0 shows the number, 1
// shows "NAN", anything else nothing). The corner cell shows the position of the
// selection as "column:row".
//
// A right press on a data cell opens the data popup (marking, clearing, Copy and
// Paste through a clip store that all editors of the process share); on a header
// cell it opens the header popup (editing an identifier in place, stepping the
// column's precision).
//
// Setters that change what is shown repaint at once; nothing paints while
// SuppressPaint is set.
#include <QPoint>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/tabed/matrix/matrix.h"
#include "platform/customgrid.h"

class QAction;
class QLineEdit;
class QMenu;

class TNTabEd : public TCustomGrid {
  Q_OBJECT

 public:
  // Identifiers hold at most this many characters.
  static constexpr std::size_t kMaxIdentifier = 20;
  // Width of the attribute column whenever it is shown.
  static constexpr int kAttribColWidth = 20;
  // Width of the row identifier column.
  static constexpr int kIdentColWidth = 80;
  // Largest table: columns x rows cells. Larger shapes fail as storage failures.
  static constexpr std::int64_t kMaxCells = std::int64_t{1} << 24;

  // A new editor: 3 columns C-1..C-3 of precision 3, 4 rows R-1..R-4, all values 0.
  // An editor made for a form designer (designMode) has no identifier edit box.
  // Raises EVelCompError "failed to initialize TNTabEd (out of memory)".
  explicit TNTabEd(QWidget* parent = nullptr, bool designMode = false);
  ~TNTabEd() override;

  bool AutoAdvance() const { return FAutoAdvance; }
  // Enter moves the current cell one row down.
  void SetAutoAdvance(bool v) { FAutoAdvance = v; }
  bool RowAttribVisible() const { return FAttribCols > 0; }
  // Shows or hides the attribute column; data columns keep their widths.
  void SetRowAttribVisible(bool v);
  TColor ColorNormal() const { return FColorNormal; }
  void SetColorNormal(TColor c);
  TColor ColorMarked() const { return FColorMarked; }
  void SetColorMarked(TColor c);
  // Every column gets width w, then the identifier column 80 and the attribute
  // column 20.
  void SetDefaultColWidth(int w);
  int NrOfColumns() const { return FNrOfColumns; }
  // Reshapes: kept columns keep values, identifiers, precisions, marks and widths;
  // new ones are "C-<n>", precision 3, value 0, as wide as the last column was.
  // A count below 1, or storage that cannot be had, raises EVelCompError "not
  // enough memory on heap" and changes nothing.
  void SetNrOfColumns(int n);
  int NrOfRows() const { return FNrOfRows; }
  // As SetNrOfColumns, along the rows ("R-<n>", attribute 0, as high as the last row).
  void SetNrOfRows(int n);
  int NumWidth() const { return FNumWidth; }
  // Minimum width in characters of a number text; values outside 1..20 are ignored.
  void SetNumWidth(int n);
  bool SuppressPaint() const { return FSuppressPaint; }
  // While set the editor does not paint; clearing it schedules a full paint.
  void SetSuppressPaint(bool v);

  double GetCellValue(int col, int row) const;
  // Does not paint and leaves the cell's mark and state.
  void SetCellValue(int col, int row, double value);
  std::string GetColIdentifier(int col) const;
  // Stores the first 20 characters and paints.
  void SetColIdentifier(int col, std::string_view text);
  std::string GetRowIdentifier(int row) const;
  void SetRowIdentifier(int row, std::string_view text);
  // The column's decimals code; 0 outside the table.
  int GetColPrecision(int col) const;
  // Stores -1 for a negative code, 8 above 8, and paints.
  void SetColPrecision(int col, int code);
  // Row attribute (0..255) shown in the attribute column.
  int GetRowAttrib(int row) const;
  void SetRowAttrib(int row, int value);
  // Value state of a cell (0..127, see above) and its mark.
  int GetCellState(int col, int row) const;
  void SetCellState(int col, int row, int state);
  bool CellMarked(int col, int row) const;

  // The text of value x in a column of decimals code p, at least NumWidth wide.
  std::string FormatCell(double x, int p) const;

  // Popup menus and the identifier edit box.
  QMenu* PopupDTAction() const { return FPopupDT; }
  QMenu* PopupHTAction() const { return FPopupHT; }
  QLineEdit* IdentEdit() const { return FIdentEdit; }
  bool EditingIdentifier() const { return FEditingIdent; }
  // Grid cell and pixel position of the last mouse press on the grid.
  TGridCoord LastPressCell() const { return FLastCell; }
  QPoint LastPressPos() const { return FLastPos; }

  // Sender, grid column, grid row, the text the cell editor starts with (may be
  // replaced).
  std::function<void(TNTabEd*, int, int, std::string&)> OnGetEditText;
  // Sender, grid column, grid row, the text just stored as the cell's value.
  std::function<void(TNTabEd*, int, int, const std::string&)> OnSetEditText;

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  void KeyPress(int& key) override;
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& text) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool CanPaint() const override { return !FSuppressPaint; }
  void SelectionChanged() override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool InTable(int col, int row) const {
    return col >= 1 && col <= FNrOfColumns && row >= 1 && row <= FNrOfRows;
  }
  std::size_t FlagIndex(int col, int row) const {
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(FNrOfColumns) +
           static_cast<std::size_t>(col - 1);
  }
  void BuildPopups();
  // Runs a popup at a global position; the chosen item, if any, once it has closed.
  QAction* ExecPopup(QMenu* menu, QPoint global);
  void OpenDataPopup();
  void OpenHeaderPopup();
  void Dispatch(QAction* action);
  void InvertCell(int col, int row);
  // Data commands on the selection; marking sets or clears bit 7.
  template <typename F>
  void ForSelectedCells(F f);
  void MarkRange(bool mark);
  void MarkColumn();
  void MarkRow();
  void UnMarkAll();
  void Clear();
  void Copy();
  void Paste();
  void EditIdentifier();
  void ChangePrecision();
  void EndIdentifierEdit(bool store);

  bool FAutoAdvance = false;
  std::vector<std::uint8_t> FRowAttribs;
  int FAttribCols = 1;
  std::vector<std::int8_t> FColPrecisions;
  std::vector<std::uint8_t> FCellFlags;  // bit 7: marked; bits 0..6: value state
  std::vector<std::string> FColIdents;
  int FNumWidth = 1;
  std::vector<std::string> FRowIdents;
  int FNrOfColumns = 3;
  int FNrOfRows = 4;
  bool FSuppressPaint = false;
  QMenu* FPopupDT = nullptr;
  QMenu* FPopupHT = nullptr;
  std::vector<QAction*> FDataItems;
  std::vector<QAction*> FHeaderItems;
  bool FPopupOpen = false;
  QAction* FChosen = nullptr;
  TColor FColorNormal;
  TColor FColorMarked;
  bool FEditingIdent = false;
  QLineEdit* FIdentEdit = nullptr;
  std::unique_ptr<TMatrix> FValues;
  std::shared_ptr<TMatrix> FClip;  // shared by all editors
  TGridCoord FLastCell{0, 0};
  QPoint FLastPos;
};
