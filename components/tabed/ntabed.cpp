#include "components/tabed/ntabed.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "components/common/cutchars.h"
#include "components/common/floattext.h"
#include "components/common/numparse.h"
#include "components/common/velcomperror.h"
#include "platform/syscolors.h"

namespace {

// Captions of the data popup's eight items, then of the header popup's two.
constexpr const char* kPopupCaptions[10] = {
    "Mark Range", "Mark Column", "Mark Row", "Unmark Range",    "UnMark All",
    "Clear",      "Copy",        "Paste",    "Edit Identifier", "Change Precision"};
constexpr int kDataItems = 8;
// Bit k enables data item k + 1 at creation: all but "Paste".
constexpr std::uint32_t kDataItemsEnabled = ~std::uint32_t{1u << 7};

constexpr std::uint8_t kMarkBit = 0x80;
constexpr std::uint8_t kStateBits = 0x7F;
constexpr int kDefaultPrecision = 3;
constexpr std::size_t kMaxIdentBoxChars = 255;

// Bounds of the fixed form per decimals code: scientific below the first (except
// for 0) and above the second.
constexpr double kFixedBounds[9][2] = {
    {1.0, 999999999.0},    {0.1, 9999999.9},       {0.01, 999999.99},
    {0.001, 99999.999},    {0.0001, 9999.9999},    {0.00001, 999.99999},
    {0.000001, 99.999999}, {0.0000001, 9.9999999}, {0.00000001, 0.99999999}};

std::string Numbered(const char* prefix, int n) {
  return prefix + FloatText(1, 0, n);
}

// The clip store all editors share; it lives while any editor holds it.
std::weak_ptr<TMatrix>& ClipSlot() {
  static std::weak_ptr<TMatrix> slot;
  return slot;
}

}  // namespace

TNTabEd::TNTabEd(QWidget* parent, bool designMode)
    : TCustomGrid(parent), FColorNormal(clNavy), FColorMarked(clRed) {
  SetFixedCols(2);
  FAttribCols = 1;
  FNrOfColumns = ColCount() - 2;
  FNrOfRows = RowCount() - 1;
  if (!designMode) {
    FIdentEdit = new QLineEdit(viewport());
    FIdentEdit->setObjectName("IdentEdit");
    FIdentEdit->setMaxLength(static_cast<int>(kMaxIdentBoxChars));
    FIdentEdit->resize(140, 21);
    FIdentEdit->hide();
    FIdentEdit->installEventFilter(this);
  }
  SetColWidth(1, kAttribColWidth);
  SetColWidth(0, kIdentColWidth);

  // A new editor gives the shared clip store a new 1 x 1 matrix.
  FClip = ClipSlot().lock();
  if (FClip) {
    FClip->Resize(1, 1);
    FClip->Fill(0.0);
  } else {
    FClip = std::make_shared<TMatrix>(1, 1);
    ClipSlot() = FClip;
  }

  try {
    FValues = std::make_unique<TMatrix>(FNrOfColumns, FNrOfRows);
    FValues->Fill(0.0);
    FColPrecisions.assign(static_cast<std::size_t>(FNrOfColumns), kDefaultPrecision);
    FCellFlags.assign(static_cast<std::size_t>(FNrOfColumns * FNrOfRows), 0);
    for (int c = 1; c <= FNrOfColumns; ++c) FColIdents.push_back(Numbered("C-", c));
    for (int r = 1; r <= FNrOfRows; ++r) FRowIdents.push_back(Numbered("R-", r));
    FRowAttribs.assign(static_cast<std::size_t>(FNrOfRows), 0);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgTabEdInitFailed);
  } catch (const EVelCompError&) {
    throw EVelCompError(kMsgTabEdInitFailed);
  }
  BuildPopups();
}

TNTabEd::~TNTabEd() = default;

// ---------------------------------------------------------------- properties

void TNTabEd::SetRowAttribVisible(bool v) {
  if (v == RowAttribVisible()) return;
  // the selection keeps its data cells
  const TGridRect s = Selection();
  const int shift = v ? 1 : -1;
  if (v) {
    SetColCount(FNrOfColumns + 2);
    SetFixedCols(2);
    FAttribCols = 1;
    for (int gc = ColCount() - 1; gc >= 2; --gc) SetColWidth(gc, ColWidth(gc - 1));
    SetColWidth(1, kAttribColWidth);
  } else {
    SetFixedCols(1);
    FAttribCols = 0;
    for (int gc = 1; gc <= FNrOfColumns; ++gc) SetColWidth(gc, ColWidth(gc + 1));
    SetColCount(FNrOfColumns + 1);
  }
  SetSelection({s.Left + shift, s.Top, s.Right + shift, s.Bottom});
}

void TNTabEd::SetColorNormal(TColor c) {
  FColorNormal = c;
  Paint();
}

void TNTabEd::SetColorMarked(TColor c) {
  FColorMarked = c;
  Paint();
}

void TNTabEd::SetDefaultColWidth(int w) {
  TCustomGrid::SetDefaultColWidth(w);
  SetColWidth(0, kIdentColWidth);
  if (FAttribCols == 1) SetColWidth(1, kAttribColWidth);
}

void TNTabEd::SetNumWidth(int n) {
  if (n < 1 || n > 20) return;
  FNumWidth = n;
  Paint();
}

void TNTabEd::SetSuppressPaint(bool v) {
  FSuppressPaint = v;
  if (!v) Invalidate();
}

void TNTabEd::SetNrOfColumns(int n) {
  const int o = FNrOfColumns;
  const int rows = FNrOfRows;
  if (n < 1 || n > kMaxCount - 2 || std::int64_t{n} * rows > kMaxCells)
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  if (n == o) return;
  const int w = ColWidth(ColCount() - 1);
  const int keep = std::min(o, n);
  // Everything new is built before anything changes.
  std::vector<std::uint8_t> flags;
  std::vector<std::string> idents;
  std::vector<std::int8_t> precisions;
  try {
    flags.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(rows), 0);
    for (int r = 1; r <= rows; ++r)
      for (int c = 1; c <= keep; ++c)
        flags[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(n) +
              static_cast<std::size_t>(c - 1)] = FCellFlags[FlagIndex(c, r)];
    idents.assign(FColIdents.begin(), FColIdents.begin() + keep);
    for (int c = keep + 1; c <= n; ++c) idents.push_back(Numbered("C-", c));
    precisions.assign(FColPrecisions.begin(), FColPrecisions.begin() + keep);
    precisions.resize(static_cast<std::size_t>(n), kDefaultPrecision);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  FCellFlags.swap(flags);
  FColIdents.swap(idents);
  FColPrecisions.swap(precisions);
  FNrOfColumns = n;
  try {
    SetColCount(n + FAttribCols + 1);
  } catch (const std::bad_alloc&) {
    FCellFlags.swap(flags);
    FColIdents.swap(idents);
    FColPrecisions.swap(precisions);
    FNrOfColumns = o;
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  if (n >= o)
    for (int gc = o + FAttribCols; gc <= n + FAttribCols; ++gc) SetColWidth(gc, w);
  FValues->Resize(n, rows);  // a refused shape keeps the old one (see TMatrix)
}

void TNTabEd::SetNrOfRows(int n) {
  const int o = FNrOfRows;
  const int cols = FNrOfColumns;
  if (n < 1 || n > kMaxCount - 1 || std::int64_t{n} * cols > kMaxCells)
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  if (n == o) return;
  const int h = RowHeight(RowCount() - 1);
  const int keep = std::min(o, n);
  std::vector<std::uint8_t> flags;
  std::vector<std::string> idents;
  std::vector<std::uint8_t> attribs;
  try {
    flags.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(n), 0);
    std::copy(FCellFlags.begin(), FCellFlags.begin() + static_cast<std::ptrdiff_t>(keep) * cols,
              flags.begin());
    idents.assign(FRowIdents.begin(), FRowIdents.begin() + keep);
    idents.reserve(static_cast<std::size_t>(n));
    for (int r = keep + 1; r <= n; ++r) idents.push_back(Numbered("R-", r));
    attribs.assign(FRowAttribs.begin(), FRowAttribs.begin() + keep);
    attribs.resize(static_cast<std::size_t>(n), 0);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  FCellFlags.swap(flags);
  FRowIdents.swap(idents);
  FRowAttribs.swap(attribs);
  FNrOfRows = n;
  try {
    SetRowCount(n + 1);
  } catch (const std::bad_alloc&) {
    FCellFlags.swap(flags);
    FRowIdents.swap(idents);
    FRowAttribs.swap(attribs);
    FNrOfRows = o;
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  if (n >= o)
    for (int gr = o; gr <= n; ++gr) SetRowHeight(gr, h);
  FValues->Resize(cols, n);
}

// ---------------------------------------------------------------- cells

double TNTabEd::GetCellValue(int col, int row) const {
  return FValues->GetElem(col, row);
}

void TNTabEd::SetCellValue(int col, int row, double value) {
  FValues->SetElem(col, row, value);
}

std::string TNTabEd::GetColIdentifier(int col) const {
  return col >= 1 && col <= FNrOfColumns ? FColIdents[static_cast<std::size_t>(col - 1)]
                                         : std::string();
}

void TNTabEd::SetColIdentifier(int col, std::string_view text) {
  if (col < 1 || col > FNrOfColumns) return;
  FColIdents[static_cast<std::size_t>(col - 1)] = CutChars(text, kMaxIdentifier);
  Paint();
}

std::string TNTabEd::GetRowIdentifier(int row) const {
  return row >= 1 && row <= FNrOfRows ? FRowIdents[static_cast<std::size_t>(row - 1)]
                                      : std::string();
}

void TNTabEd::SetRowIdentifier(int row, std::string_view text) {
  if (row < 1 || row > FNrOfRows) return;
  FRowIdents[static_cast<std::size_t>(row - 1)] = CutChars(text, kMaxIdentifier);
  Paint();
}

int TNTabEd::GetColPrecision(int col) const {
  return col >= 1 && col <= FNrOfColumns ? FColPrecisions[static_cast<std::size_t>(col - 1)] : 0;
}

void TNTabEd::SetColPrecision(int col, int code) {
  if (col < 1 || col > FNrOfColumns) return;
  FColPrecisions[static_cast<std::size_t>(col - 1)] =
      static_cast<std::int8_t>(code < 0 ? -1 : std::min(code, 8));
  Paint();
}

int TNTabEd::GetRowAttrib(int row) const {
  return row >= 1 && row <= FNrOfRows ? FRowAttribs[static_cast<std::size_t>(row - 1)] : 0;
}

void TNTabEd::SetRowAttrib(int row, int value) {
  if (row < 1 || row > FNrOfRows) return;
  FRowAttribs[static_cast<std::size_t>(row - 1)] =
      static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  Paint();
}

int TNTabEd::GetCellState(int col, int row) const {
  return InTable(col, row) ? FCellFlags[FlagIndex(col, row)] & kStateBits : 0;
}

void TNTabEd::SetCellState(int col, int row, int state) {
  if (!InTable(col, row)) return;
  std::uint8_t& f = FCellFlags[FlagIndex(col, row)];
  f = static_cast<std::uint8_t>((f & kMarkBit) | (std::clamp(state, 0, 127) & kStateBits));
  Paint();
}

bool TNTabEd::CellMarked(int col, int row) const {
  return InTable(col, row) && (FCellFlags[FlagIndex(col, row)] & kMarkBit) != 0;
}

std::string TNTabEd::FormatCell(double x, int p) const {
  const bool scientific =
      std::isnan(x) || p < 0 || p > 8 ||
      (x != 0.0 && (std::fabs(x) < kFixedBounds[p][0] || std::fabs(x) > kFixedBounds[p][1]));
  return scientific ? FloatText(FNumWidth + 6, -2, x) : FloatText(FNumWidth, p, x);
}

// ---------------------------------------------------------------- drawing

void TNTabEd::DrawCell(int col, int row, const TRect& rect, TGridDrawState) {
  TSurface& s = Canvas();
  const int a = FAttribCols;
  const TRect t{rect.Left + 3, rect.Top + 2, rect.Right - 3, rect.Bottom};
  std::string text;
  if (col > a && row > 0) {
    const int c = col - a;
    const std::uint8_t f = InTable(c, row) ? FCellFlags[FlagIndex(c, row)] : 0;
    if ((f & kStateBits) == 0)
      text = FormatCell(GetCellValue(c, row), GetColPrecision(c));
    else if (f & 1)
      text = "NAN";
    s.SetFontColor(f & kMarkBit ? FColorMarked : FColorNormal);
  } else if (col == 0 && row > 0) {
    text = GetRowIdentifier(row);
  } else if (a == 1 && col == 1 && row > 0) {
    text = FloatText(1, 0, GetRowAttrib(row));
  } else if (row == 0 && col > a) {
    text = GetColIdentifier(col - a);
  } else if (col == 0 && row == 0) {
    // the position indicator, on the window colour over the whole cell
    const TGridRect sel = Selection();
    s.SetFontColor(FColorNormal);
    s.SetBrushColor(SysColorWindow());
    s.TextRect(rect, rect.Left + 3, rect.Top + 2,
               FloatText(1, 0, sel.Left - a) + ":" + FloatText(1, 0, sel.Top));
    return;
  } else {
    text = "I";  // attribute column header
  }
  s.TextRect(t, t.Left, t.Top, text);
}

void TNTabEd::SelectionChanged() {
  InvalidateCell(0, 0);
}

void TNTabEd::InvertCell(int col, int row) {
  if (!CanPaint()) return;
  const TRect r = CellRect(col, row);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  if (Canvas().Width() != viewport()->width() || Canvas().Height() != viewport()->height()) Paint();
  TSurface& s = Canvas();
  s.SetPenMode(TPenMode::pmNot);
  s.Rectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
  s.SetPenMode(TPenMode::pmCopy);
  viewport()->update(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// ---------------------------------------------------------------- editing

std::string TNTabEd::GetEditText(int col, int row) {
  const int c = col - FAttribCols;
  std::string text = FormatCell(GetCellValue(c, row), GetColPrecision(c));
  if (OnGetEditText) OnGetEditText(this, col, row, text);
  return text;
}

void TNTabEd::SetEditText(int col, int row, const std::string& text) {
  const std::optional<double> v = ParseReal(text, kCellSyntax);
  if (!v) return;  // the cell keeps its value
  const int c = col - FAttribCols;
  // only cells the value matrix holds take a value (it may keep an older shape)
  if (!InTable(c, row) || c > FValues->NrOfColumns() || row > FValues->NrOfRows()) return;
  SetCellValue(c, row, *v);
  if (OnSetEditText) OnSetEditText(this, col, row, text);
}

void TNTabEd::KeyPress(int& key) {
  TCustomGrid::KeyPress(key);
  if (FAutoAdvance && (key == kKeyEnter || key == kKeyNull)) {
    int down = Qt::Key_Down;
    KeyDown(down, TShiftState());
  }
}

// ---------------------------------------------------------------- mouse and popups

void TNTabEd::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (FEditingIdent) return;  // the identifier box is open
  TCustomGrid::MouseDown(button, shift, x, y);
  if (x <= 0 || x >= GridWidth() || y <= 0 || y >= GridHeight()) return;
  const TGridCoord c = MouseCoord(x, y);
  if (c.Col < 0) return;
  FLastCell = c;
  FLastPos = QPoint(x, y);
  if (c.Col == 0 && c.Row == 0) return;
  if (button != mbRight) return;
  if (c.Col > FAttribCols && c.Row > 0)
    OpenDataPopup();
  else
    OpenHeaderPopup();
}

void TNTabEd::BuildPopups() {
  FPopupDT = new QMenu(this);
  FPopupDT->setObjectName("PopupDTAction");
  FPopupHT = new QMenu(this);
  FPopupHT->setObjectName("PopupHTAction");
  for (int k = 0; k < 10; ++k) {
    const bool data = k < kDataItems;
    QMenu* menu = data ? FPopupDT : FPopupHT;
    QAction* item = menu->addAction(QString::fromUtf8(kPopupCaptions[k]));
    const int number = data ? k + 1 : k - kDataItems + 1;
    item->setObjectName(QString(data ? "DIt" : "HIt") + QString::number(number));
    item->setEnabled(!data || (kDataItemsEnabled >> k & 1u) != 0);
    (data ? FDataItems : FHeaderItems).push_back(item);
    connect(item, &QAction::triggered, this, [this, item] {
      if (FPopupOpen)
        FChosen = item;  // runs once the menu has closed
      else
        Dispatch(item);
    });
  }
}

QAction* TNTabEd::ExecPopup(QMenu* menu, QPoint global) {
  CommitEdit();  // the commands see the typed value
  FChosen = nullptr;
  FPopupOpen = true;
  menu->exec(global);
  FPopupOpen = false;
  return std::exchange(FChosen, nullptr);
}

void TNTabEd::OpenDataPopup() {
  if (QAction* chosen = ExecPopup(FPopupDT, viewport()->mapToGlobal(FLastPos))) Dispatch(chosen);
}

void TNTabEd::OpenHeaderPopup() {
  const TGridCoord c = FLastCell;
  FHeaderItems[1]->setEnabled(c.Col > FAttribCols);
  const TRect r = CellRect(c.Col, c.Row);
  InvertCell(c.Col, c.Row);
  QAction* chosen = ExecPopup(FPopupHT, viewport()->mapToGlobal(QPoint(r.Left + 30, r.Bottom)));
  InvertCell(c.Col, c.Row);
  if (chosen) Dispatch(chosen);
}

void TNTabEd::Dispatch(QAction* action) {
  for (int k = 0; k < kDataItems; ++k) {
    if (FDataItems[static_cast<std::size_t>(k)] != action) continue;
    if (!action->isEnabled()) return;
    CommitEdit();
    switch (k) {
      case 0:
        MarkRange(true);
        break;
      case 1:
        MarkColumn();
        break;
      case 2:
        MarkRow();
        break;
      case 3:
        MarkRange(false);
        break;
      case 4:
        UnMarkAll();
        break;
      case 5:
        Clear();
        break;
      case 6:
        Copy();
        return;  // Copy changes nothing shown
      case 7:
        Paste();
        return;  // Paste paints before it moves the selection
    }
    Paint();
    return;
  }
  if (action == FHeaderItems[0]) EditIdentifier();
  if (action == FHeaderItems[1] && action->isEnabled()) ChangePrecision();
}

template <typename F>
void TNTabEd::ForSelectedCells(F f) {
  const TGridRect s = Selection();
  for (int r = s.Top; r <= s.Bottom; ++r)
    for (int gc = s.Left; gc <= s.Right; ++gc)
      if (InTable(gc - FAttribCols, r)) f(gc - FAttribCols, r);
}

void TNTabEd::MarkRange(bool mark) {
  ForSelectedCells([this, mark](int c, int r) {
    std::uint8_t& f = FCellFlags[FlagIndex(c, r)];
    f = static_cast<std::uint8_t>(mark ? f | kMarkBit : f & ~kMarkBit);
  });
}

void TNTabEd::MarkColumn() {
  const TGridRect s = Selection();
  for (int gc = s.Left; gc <= s.Right; ++gc)
    for (int r = 1; r <= FNrOfRows; ++r)
      if (InTable(gc - FAttribCols, r)) FCellFlags[FlagIndex(gc - FAttribCols, r)] |= kMarkBit;
}

void TNTabEd::MarkRow() {
  const TGridRect s = Selection();
  for (int r = s.Top; r <= s.Bottom; ++r)
    for (int c = 1; c <= FNrOfColumns; ++c)
      if (InTable(c, r)) FCellFlags[FlagIndex(c, r)] |= kMarkBit;
}

void TNTabEd::UnMarkAll() {
  std::fill(FCellFlags.begin(), FCellFlags.end(), 0);
}

void TNTabEd::Clear() {
  ForSelectedCells([this](int c, int r) { SetCellValue(c, r, 0.0); });
}

void TNTabEd::Copy() {
  const TGridRect s = Selection();
  FClip->Resize(s.Right - s.Left + 1, s.Bottom - s.Top + 1);  // over the limit: keeps its shape
  const int c0 = s.Left - FAttribCols;
  const int r0 = s.Top;
  ForSelectedCells(
      [this, c0, r0](int c, int r) { FClip->SetElem(c - c0 + 1, r - r0 + 1, GetCellValue(c, r)); });
  FDataItems[7]->setEnabled(true);
}

void TNTabEd::Paste() {
  const TGridRect s = Selection();
  const int c0 = s.Left - FAttribCols;
  const int r0 = s.Top;
  const int cols = FClip->NrOfColumns();
  const int rows = FClip->NrOfRows();
  for (int j = 1; j <= rows; ++j)
    for (int i = 1; i <= cols; ++i)
      if (InTable(c0 + i - 1, r0 + j - 1))
        SetCellValue(c0 + i - 1, r0 + j - 1, FClip->GetElem(i, j));
  Paint();
  // the pasted block becomes the selection, cut at the table's edge
  SetSelection({s.Left, s.Top, std::min(s.Left + cols - 1, ColCount() - 1),
                std::min(s.Top + rows - 1, RowCount() - 1)});
}

void TNTabEd::EditIdentifier() {
  if (!FIdentEdit) return;
  const TGridCoord c = FLastCell;
  InvertCell(c.Col, c.Row);
  const TRect r = CellRect(c.Col, c.Row);
  FIdentEdit->move(r.Left + 30, r.Bottom + 5);
  const std::string text =
      c.Col > FAttribCols ? GetColIdentifier(c.Col - FAttribCols) : GetRowIdentifier(c.Row);
  FIdentEdit->setText(QString::fromStdString(text));
  FIdentEdit->show();
  FIdentEdit->raise();
  FIdentEdit->setFocus();
  FEditingIdent = true;
}

void TNTabEd::EndIdentifierEdit(bool store) {
  FIdentEdit->hide();
  FEditingIdent = false;
  const TGridCoord c = FLastCell;
  InvertCell(c.Col, c.Row);
  setFocus();
  if (!store) return;
  const std::string text = CutChars(FIdentEdit->text().toStdString(), kMaxIdentBoxChars);
  if (c.Col > FAttribCols)
    SetColIdentifier(c.Col - FAttribCols, text);
  else
    SetRowIdentifier(c.Row, text);
}

bool TNTabEd::eventFilter(QObject* watched, QEvent* e) {
  if (watched == FIdentEdit && FEditingIdent && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      EndIdentifierEdit(key != Qt::Key_Escape);
      return true;
    }
  }
  return TCustomGrid::eventFilter(watched, e);
}

void TNTabEd::ChangePrecision() {
  const int c = FLastCell.Col - FAttribCols;
  const int p = GetColPrecision(c) - 1;
  SetColPrecision(c, p < -1 ? 8 : p);
  OpenHeaderPopup();  // so the user can keep stepping
}
