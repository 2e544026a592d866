// The numeric table editor: defaults, cell texts, editing, reshaping and the
// commands of its two popup menus, through real events on a shown editor.
#include "components/tabed/ntabed.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "components/common/velcomperror.h"
#include "tests/support/recsurface.h"

namespace {

// Answers the popup menus the editor opens: each choice is an item caption to click,
// or "" to close the menu. Records the enabled captions and the position of each.
class TPopupDriver {
 public:
  explicit TPopupDriver(std::deque<std::string> choices) : FChoices(std::move(choices)) {
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Answer(); });
    FTimer.start(5);
  }
  std::vector<std::vector<std::string>> Enabled;
  std::vector<QPoint> Positions;
  std::function<void()> OnOpen;

 private:
  void Answer() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible()) return;
    if (OnOpen) OnOpen();
    Positions.push_back(menu->pos());
    std::vector<std::string> on;
    for (QAction* a : menu->actions())
      if (a->isEnabled()) on.push_back(a->text().toStdString());
    Enabled.push_back(on);
    const std::string choice = FChoices.empty() ? "" : FChoices.front();
    if (!FChoices.empty()) FChoices.pop_front();
    for (QAction* a : menu->actions())
      if (a->text().toStdString() == choice) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        return;
      }
    menu->close();
  }
  std::deque<std::string> FChoices;
  QTimer FTimer;
};

class NTabEdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FLog = std::make_shared<TRecLog>();
    FTab = std::make_unique<TNTabEd>();
    FTab->setFrameStyle(QFrame::NoFrame);
    FTab->setGeometry(40, 40, 360, 200);
    FTab->show();
    QApplication::setActiveWindow(FTab.get());
  }
  void Record() { FTab->SetBitmapFactory(RecordingFactory(FLog)); }
  // The last text drawn inside the rectangle of a grid cell, and its colour.
  const TRecCall* Drawn(int gc, int gr) {
    FLog->clear();
    FTab->Paint();
    const TRect r = FTab->CellRect(gc, gr);
    const TRecCall* found = nullptr;
    for (const TRecCall& c : *FLog)
      if (c.Kind == TRecKind::rkTextRect && c.Rect.Left >= r.Left && c.Rect.Right <= r.Right &&
          c.Rect.Top >= r.Top && c.Rect.Bottom <= r.Bottom)
        found = &c;
    return found;
  }
  std::string Text(int gc, int gr) {
    const TRecCall* c = Drawn(gc, gr);
    return c ? c->Text : "<none>";
  }
  TColor TextColor(int gc, int gr) {
    const TRecCall* c = Drawn(gc, gr);
    return c ? c->Font.Color : 0x123456;
  }
  QPoint Center(int gc, int gr) const {
    const TRect r = FTab->CellRect(gc, gr);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void RightClick(int gc, int gr) {
    QTest::mouseClick(FTab->viewport(), Qt::RightButton, {}, Center(gc, gr));
  }
  // Runs one popup command on the grid cell (gc, gr).
  void Command(int gc, int gr, const std::string& caption) {
    TPopupDriver driver({caption});
    RightClick(gc, gr);
  }
  void Select(int l, int t, int r, int b) { FTab->SetSelection({l, t, r, b}); }

  std::shared_ptr<TRecLog> FLog;
  std::unique_ptr<TNTabEd> FTab;
};

TEST_F(NTabEdTest, NewEditorShowsItsDefaults) {
  Record();
  EXPECT_EQ(FTab->NrOfColumns(), 3);
  EXPECT_EQ(FTab->NrOfRows(), 4);
  EXPECT_EQ(FTab->ColCount(), 5);
  EXPECT_EQ(FTab->FixedCols(), 2);
  EXPECT_EQ(FTab->ColWidth(0), 80);
  EXPECT_EQ(FTab->ColWidth(1), 20);
  EXPECT_EQ(FTab->ColWidth(2), 64);
  EXPECT_EQ(Text(0, 0), "1:1");
  EXPECT_EQ(Text(1, 0), "I");
  EXPECT_EQ(Text(2, 0), "C-1");
  EXPECT_EQ(Text(4, 0), "C-3");
  EXPECT_EQ(Text(0, 4), "R-4");
  EXPECT_EQ(Text(1, 2), "0");
  EXPECT_EQ(Text(4, 4), "0.000");
  EXPECT_EQ(TextColor(4, 4), clNavy);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(FTab->GetColPrecision(c), 3);
  FTab->SetRowAttrib(2, 7);
  EXPECT_EQ(Text(1, 2), "7");
  FTab->SetRowAttribVisible(false);
  EXPECT_EQ(Text(0, 0), "1:1");
  EXPECT_EQ(Text(1, 0), "C-1");
  QTest::keyClick(FTab.get(), Qt::Key_Down);
  QTest::keyClick(FTab.get(), Qt::Key_Right);
  EXPECT_EQ(Text(0, 0), "2:2");
}

TEST_F(NTabEdTest, FormatCellFollowsThePrecisionBoundsAndNumWidth) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    int Width, P;
    double X;
    const char* Text;
  } cases[] = {
      {1, 0, 0.5, " 5.0E-0001"},
      {1, 0, 1.0, "1"},
      {1, 0, 999999999.0, "999999999"},
      {1, 0, 1e9, " 1.0E+0009"},
      {1, 0, 0.0, "0"},
      {1, 3, 0.001, "0.001"},
      {1, 3, 0.000999, " 1.0E-0003"},
      {1, 3, 0.000123, " 1.2E-0004"},
      {1, 3, -99999.999, "-99999.999"},
      {1, 3, 100000.0, " 1.0E+0005"},
      {8, 3, 2.5, "   2.500"},
      {1, 8, 0.99999999, "0.99999999"},
      {1, 8, 1.0, " 1.0E+0000"},
      {1, 8, 0.0, "0.00000000"},
      {1, -1, 0.0, " 0.0E+0000"},
      {1, -1, 12.5, " 1.3E+0001"},
      {4, -1, -12.5, "-1.3E+0001"},
      {5, -1, 12.5, " 1.25E+0001"},
      {1, 3, nan, "    Nan"},
      {1, 0, inf, "   +Inf"},
      {3, 8, -inf, "     -Inf"},
  };
  for (const auto& k : cases) {
    FTab->SetNumWidth(k.Width);
    EXPECT_EQ(FTab->FormatCell(k.X, k.P), k.Text) << k.Width << " " << k.P << " " << k.X;
  }
  FTab->SetNumWidth(21);  // ignored
  FTab->SetNumWidth(0);
  EXPECT_EQ(FTab->NumWidth(), 3);
}

TEST_F(NTabEdTest, CellsShowTheirStateAndMarkTheEditorTheirValue) {
  Record();
  FTab->SetCellValue(1, 1, 0.25);
  FTab->SetCellState(1, 1, 1);
  EXPECT_EQ(Text(2, 1), "NAN");
  FTab->SetCellState(1, 1, 2);
  EXPECT_EQ(Text(2, 1), "");
  FTab->SetOptions(FTab->Options() + TGridOptions{TGridOption::goEditing});
  QTest::keyClick(FTab.get(), Qt::Key_Return);
  EXPECT_EQ(FTab->InplaceEditor()->text(), "0.250");
  QTest::keyClick(FTab->InplaceEditor(), Qt::Key_Escape);
  // Mark Column over data columns 2 and 3; Unmark Range on one of their cells
  Select(3, 2, 4, 2);
  Command(3, 2, "Mark Column");
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(TextColor(2, r), clNavy) << r;
    EXPECT_EQ(TextColor(3, r), clRed) << r;
    EXPECT_EQ(TextColor(4, r), clRed) << r;
  }
  Select(3, 3, 3, 3);
  Command(3, 3, "Unmark Range");
  EXPECT_EQ(TextColor(3, 3), clNavy);
  EXPECT_EQ(TextColor(3, 4), clRed);
  Command(3, 3, "Mark Row");
  EXPECT_EQ(TextColor(2, 3), clRed);
  Select(2, 4, 2, 4);
  Command(2, 4, "Mark Range");
  EXPECT_TRUE(FTab->CellMarked(1, 4));
  EXPECT_FALSE(FTab->CellMarked(1, 2));
  Command(2, 4, "UnMark All");  // clears the marks and the value states
  EXPECT_EQ(Text(2, 1), "0.250");
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(TextColor(3, r), clNavy);
  FTab->SetColorNormal(clGreen);
  EXPECT_EQ(TextColor(2, 1), clGreen);
  EXPECT_EQ(TextColor(0, 0), clGreen);  // the position indicator too
}

TEST_F(NTabEdTest, TypingStoresValidNumbersAndAutoAdvanceMovesDown) {
  FTab->SetOptions(FTab->Options() +
                   TGridOptions{TGridOption::goEditing, TGridOption::goAlwaysShowEditor});
  FTab->SetAutoAdvance(true);
  std::vector<std::string> stored;
  FTab->OnSetEditText = [&](TNTabEd*, int gc, int gr, const std::string& t) {
    stored.push_back(std::to_string(gc) + "," + std::to_string(gr) + ":" + t);
  };
  FTab->SetCellValue(1, 2, 0.5);
  QLineEdit* ed = FTab->InplaceEditor();
  ASSERT_TRUE(FTab->EditorMode());
  const char* typed[] = {"abc", "1e2", "5.", " .5", "-0", "1,5"};
  for (const char* t : typed) {
    FTab->FocusCell(2, 1);
    ed->selectAll();
    QTest::keyClicks(ed, t);
    QTest::keyClick(ed, Qt::Key_Return);
  }
  EXPECT_EQ(FTab->Row(), 2);
  EXPECT_EQ(FTab->GetCellValue(1, 1), -0.0);
  EXPECT_EQ(stored, (std::vector<std::string>{"2,1:1e2", "2,1: .5", "2,1:-0"}));
  EXPECT_EQ(FTab->GetCellValue(1, 2), 0.5);  // passed through without a change
  FTab->SetCellValue(1, 3, 0.12345);
  FTab->FocusCell(2, 3);
  EXPECT_EQ(ed->text(), "0.123");
  QTest::keyClick(ed, Qt::Key_Up);
  EXPECT_EQ(FTab->GetCellValue(1, 3), 0.12345);  // looking at a value never rounds it
  EXPECT_EQ(FTab->Row(), 2);
}

TEST_F(NTabEdTest, ReshapingKeepsWhatStaysAndRefusesEmptyTables) {
  FTab->SetCellValue(3, 4, 34.0);
  FTab->SetColIdentifier(3, "Third");
  FTab->SetColPrecision(3, 5);
  FTab->SetColWidth(4, 50);
  Select(4, 4, 4, 4);
  Command(4, 4, "Mark Range");
  FTab->SetNrOfColumns(5);
  EXPECT_EQ(FTab->ColCount(), 7);
  EXPECT_EQ(FTab->GetCellValue(3, 4), 34.0);
  EXPECT_EQ(FTab->GetColIdentifier(3), "Third");
  EXPECT_EQ(FTab->GetColPrecision(3), 5);
  EXPECT_TRUE(FTab->CellMarked(3, 4));
  for (int c = 4; c <= 5; ++c) {
    EXPECT_EQ(FTab->GetColIdentifier(c), "C-" + std::to_string(c));
    EXPECT_EQ(FTab->GetColPrecision(c), 3);
    EXPECT_FALSE(FTab->CellMarked(c, 4));
    EXPECT_EQ(FTab->ColWidth(c + 1), 50);
  }
  FTab->SetNrOfRows(500);
  FTab->SetCellValue(2, 11, 5.0);
  FTab->SetRowIdentifier(11, "x");
  FTab->SetNrOfRows(10);
  FTab->SetNrOfRows(500);
  EXPECT_EQ(FTab->GetCellValue(2, 11), 0.0);
  EXPECT_EQ(FTab->GetRowIdentifier(11), "R-11");
  EXPECT_EQ(FTab->GetRowIdentifier(500), "R-500");
  EXPECT_EQ(FTab->GetRowAttrib(500), 0);
  EXPECT_EQ(FTab->GetCellValue(3, 4), 34.0);

  for (int n : {0, -1}) {
    for (bool columns : {true, false}) {
      try {
        columns ? FTab->SetNrOfColumns(n) : FTab->SetNrOfRows(n);
        ADD_FAILURE() << n << " accepted";
      } catch (const EVelCompError& e) {
        EXPECT_STREQ(e.what(), "not enough memory on heap");
      }
    }
  }
  EXPECT_EQ(FTab->NrOfColumns(), 5);
  EXPECT_EQ(FTab->ColCount(), 7);
  EXPECT_EQ(FTab->NrOfRows(), 500);
  EXPECT_EQ(FTab->RowCount(), 501);

  // over the value matrix's limit: the new cells read 0 and ignore edits
  FTab->SetNrOfRows(2000);
  FTab->SetCellValue(1, 1999, 1.0);
  EXPECT_EQ(FTab->GetCellValue(1, 1999), 0.0);
  EXPECT_EQ(FTab->GetCellValue(3, 4), 34.0);
}

TEST_F(NTabEdTest, AttributeColumnComesAndGoesWithoutChangingDataWidths) {
  for (int cols : {2, 1}) {
    FTab->SetNrOfColumns(cols);
    FTab->SetDefaultColWidth(74);
    std::vector<int> shown{80, 20};
    shown.resize(static_cast<std::size_t>(cols + 2), 74);
    FTab->SetRowAttribVisible(false);
    EXPECT_EQ(FTab->FixedCols(), 1);
    ASSERT_EQ(FTab->ColCount(), cols + 1);
    for (int c = 0; c <= cols; ++c) EXPECT_EQ(FTab->ColWidth(c), c == 0 ? 80 : 74);
    FTab->SetRowAttribVisible(true);
    EXPECT_EQ(FTab->FixedCols(), 2);
    ASSERT_EQ(FTab->ColCount(), cols + 2);
    for (int c = 0; c < cols + 2; ++c) EXPECT_EQ(FTab->ColWidth(c), shown[c]) << c;
  }
}

TEST_F(NTabEdTest, IdentifiersKeepTwentyCharactersAndPrecisionsAreClamped) {
  FTab->SetColIdentifier(1, "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(FTab->GetColIdentifier(1), "abcdefghijklmnopqrst");
  std::string accents;
  for (int i = 0; i < 25; ++i) accents += "\xC3\xA9";  // é
  FTab->SetRowIdentifier(2, accents);
  EXPECT_EQ(FTab->GetRowIdentifier(2), accents.substr(0, 40));
  FTab->SetColIdentifier(0, "x");
  FTab->SetColIdentifier(4, "x");
  FTab->SetRowIdentifier(5, "x");
  EXPECT_EQ(FTab->GetColIdentifier(0), "");
  EXPECT_EQ(FTab->GetColIdentifier(3), "C-3");
  EXPECT_EQ(FTab->GetRowIdentifier(4), "R-4");
  const int codes[][2] = {{-5, -1}, {0, 0}, {8, 8}, {99, 8}};
  for (const auto& c : codes) {
    FTab->SetColPrecision(2, c[0]);
    EXPECT_EQ(FTab->GetColPrecision(2), c[1]);
  }
  EXPECT_EQ(FTab->GetColPrecision(4), 0);
}

TEST_F(NTabEdTest, PopupsOpenAtThePressWithTheirItemsEnabledByTheRules) {
  TPopupDriver driver({"", "Copy", "", "", "", ""});
  RightClick(3, 2);  // data popup: Paste greyed
  RightClick(3, 2);  // Copy
  RightClick(3, 2);  // after the Copy: Paste enabled
  RightClick(3, 0);  // header of a data column
  RightClick(0, 2);  // row identifier
  RightClick(1, 0);  // attribute column header
  ASSERT_EQ(driver.Enabled.size(), 6u);
  EXPECT_EQ(driver.Enabled[0],
            (std::vector<std::string>{"Mark Range", "Mark Column", "Mark Row", "Unmark Range",
                                      "UnMark All", "Clear", "Copy"}));
  EXPECT_EQ(driver.Enabled[2].back(), "Paste");
  EXPECT_EQ(driver.Enabled[3], (std::vector<std::string>{"Edit Identifier", "Change Precision"}));
  EXPECT_EQ(driver.Enabled[4], (std::vector<std::string>{"Edit Identifier"}));
  EXPECT_EQ(driver.Enabled[5], (std::vector<std::string>{"Edit Identifier"}));
  EXPECT_EQ(driver.Positions[0], FTab->viewport()->mapToGlobal(Center(3, 2)));
  const TRect h = FTab->CellRect(3, 0);
  EXPECT_EQ(driver.Positions[3], FTab->viewport()->mapToGlobal(QPoint(h.Left + 30, h.Bottom)));
  EXPECT_EQ(FTab->PopupDTAction()->objectName(), "PopupDTAction");
  EXPECT_EQ(FTab->PopupHTAction()->actions()[1]->objectName(), "HIt2");
}

TEST_F(NTabEdTest, CopyAndPasteAcrossTheEdgeAndClear) {
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 4; ++r) FTab->SetCellValue(c, r, 10.0 * c + r);
  Select(2, 1, 3, 3);  // data columns 1..2, rows 1..3
  Command(2, 1, "Copy");
  Select(3, 3, 3, 3);  // paste at data column 2, one row above the last
  Command(3, 3, "Paste");
  const double expect[3][4] = {{11, 12, 13, 14}, {21, 22, 11, 12}, {31, 32, 21, 22}};
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(FTab->GetCellValue(c, r), expect[c - 1][r - 1]);
  EXPECT_EQ(FTab->Selection(), (TGridRect{3, 3, 4, 4}));  // cut at the table's edge

  Select(2, 1, 3, 1);
  Command(2, 1, "Mark Range");
  Command(2, 1, "Clear");
  EXPECT_EQ(FTab->GetCellValue(1, 1), 0.0);
  EXPECT_EQ(FTab->GetCellValue(2, 1), 0.0);
  EXPECT_EQ(FTab->GetCellValue(3, 1), 31.0);
  EXPECT_TRUE(FTab->CellMarked(2, 1));
}

TEST_F(NTabEdTest, ClipStoreIsSharedAndOutlivesAnyEditor) {
  FTab->SetCellValue(1, 1, 5.0);
  Select(2, 1, 2, 1);
  Command(2, 1, "Copy");
  auto other = std::make_unique<TNTabEd>();  // a new editor empties the store
  Select(2, 2, 2, 2);
  Command(2, 2, "Paste");
  EXPECT_EQ(FTab->GetCellValue(1, 2), 0.0);
  other->SetCellValue(1, 1, 7.0);
  other->FocusCell(2, 1);
  other->PopupDTAction()->actions()[6]->trigger();  // Copy in the other editor
  other.reset();
  Command(2, 2, "Paste");
  EXPECT_EQ(FTab->GetCellValue(1, 2), 7.0);
}

TEST_F(NTabEdTest, EditIdentifierStoresOnEnterAndDiscardsOnEscape) {
  FTab->Paint();
  const QImage plain = FTab->CanvasImage()->Image().copy();
  const TRect cell = FTab->CellRect(3, 0);
  const QPoint inside(cell.Left + 1, cell.Bottom - 2);  // beside the text
  const struct {
    int Col;
    const char* Typed;
    int Key;
    const char* Header;
  } cases[] = {{3, "Mass", Qt::Key_Return, "Mass"},
               {3, "Volume", Qt::Key_Escape, "Mass"},
               {1, "Attr", Qt::Key_Return, ""}};
  for (const auto& k : cases) {
    Command(k.Col, 0, "Edit Identifier");
    ASSERT_TRUE(FTab->EditingIdentifier());
    QLineEdit* box = FTab->IdentEdit();
    const TRect r = FTab->CellRect(k.Col, 0);
    EXPECT_EQ(box->pos(), QPoint(r.Left + 30, r.Bottom + 5));
    if (k.Col == 3) {
      EXPECT_EQ(box->text().toStdString(), FTab->GetColIdentifier(2));
      const QRgb was = plain.pixel(inside);
      EXPECT_EQ(FTab->CanvasImage()->Image().pixel(inside), (~was & 0xFFFFFFu) | 0xFF000000u);
    } else {
      EXPECT_EQ(box->text(), "");
    }
    // the grid ignores the mouse while the box is open
    QTest::mouseClick(FTab->viewport(), Qt::LeftButton, {}, Center(4, 3));
    RightClick(4, 3);
    EXPECT_EQ(FTab->Selection(), (TGridRect{2, 1, 2, 1}));
    box->selectAll();
    QTest::keyClicks(box, k.Typed);
    QTest::keyClick(box, static_cast<Qt::Key>(k.Key));
    EXPECT_FALSE(FTab->EditingIdentifier());
    EXPECT_TRUE(box->isHidden());
    if (k.Col == 3) EXPECT_EQ(FTab->GetColIdentifier(2), k.Header);
    EXPECT_EQ(FTab->CanvasImage()->Image().pixel(inside), plain.pixel(inside));
  }
  EXPECT_EQ(FTab->GetColIdentifier(1), "C-1");
}

TEST_F(NTabEdTest, ChangePrecisionStepsAndReopensThePopup) {
  std::vector<int> seen;
  TPopupDriver driver({"Change Precision", "Change Precision", "Change Precision",
                       "Change Precision", "Change Precision", ""});
  driver.OnOpen = [&] { seen.push_back(FTab->GetColPrecision(2)); };
  RightClick(3, 0);
  EXPECT_EQ(seen, (std::vector<int>{3, 2, 1, 0, -1, 8}));
  EXPECT_EQ(FTab->GetColPrecision(2), 8);
  EXPECT_EQ(FTab->GetColPrecision(1), 3);
}

}  // namespace
