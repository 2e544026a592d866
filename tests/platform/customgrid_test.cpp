// The grid base: layout, selection, keyboard and mouse, the in-place editor, and
// painting only what is in view or what moved.
#include "platform/customgrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>
#include <string>
#include <vector>

namespace {

// Cells show "col,row"; the editor starts with "e<col>,<row>"; stored texts are logged.
class TTestGrid : public TCustomGrid {
 public:
  std::vector<std::string> Stored;

 protected:
  static std::string Name(int col, int row) {
    return std::to_string(col) + "," + std::to_string(row);
  }
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState) override {
    Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, Name(col, row));
  }
  std::string GetEditText(int col, int row) override { return "e" + Name(col, row); }
  void SetEditText(int col, int row, const std::string& text) override {
    Stored.push_back(Name(col, row) + "=" + text);
  }
};

class CustomGridTest : public ::testing::Test {
 protected:
  // 5 x 5 cells of 64 x 24 with lines, in a 200 x 100 viewport.
  void SetUp() override {
    FGrid.setFrameStyle(QFrame::NoFrame);
    FGrid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FGrid.resize(200, 100);
    FGrid.show();
    QApplication::setActiveWindow(&FGrid);
    FGrid.setFocus();
  }
  void Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QWidget* target = FGrid.EditorMode() ? FGrid.InplaceEditor() : static_cast<QWidget*>(&FGrid);
    QTest::keyClick(target, static_cast<Qt::Key>(key), m);
  }
  void Click(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseClick(FGrid.viewport(), Qt::LeftButton, m, QPoint(x, y));
  }

  TTestGrid FGrid;
};

TEST_F(CustomGridTest, CellRectanglesAndTheCellUnderAPoint) {
  EXPECT_EQ(FGrid.CellRect(0, 0), (TRect{0, 0, 64, 24}));
  EXPECT_EQ(FGrid.CellRect(1, 1), (TRect{65, 25, 129, 49}));
  EXPECT_EQ(FGrid.CellRect(3, 3), (TRect{195, 75, 259, 99}));  // partly in view
  EXPECT_EQ(FGrid.CellRect(4, 1), TRect{});                    // out of view
  EXPECT_EQ(FGrid.CellRect(1, 4), TRect{});
  const struct {
    int x, y;
    TGridCoord Cell;
  } points[] = {{0, 0, {0, 0}},    {64, 24, {0, 0}},  {65, 25, {1, 1}},
                {199, 99, {3, 3}}, {-1, 5, {-1, -1}}, {200, 5, {-1, -1}}};
  for (const auto& p : points) EXPECT_EQ(FGrid.MouseCoord(p.x, p.y), p.Cell) << p.x << "," << p.y;
  EXPECT_EQ(FGrid.GridWidth(), 200);
  EXPECT_EQ(FGrid.GridHeight(), 100);
  FGrid.SetColCount(2);
  FGrid.SetRowCount(3);
  EXPECT_EQ(FGrid.GridWidth(), 130);
  EXPECT_EQ(FGrid.GridHeight(), 75);
  FGrid.SetOptions({});  // no lines: cells touch
  EXPECT_EQ(FGrid.CellRect(1, 1), (TRect{64, 24, 128, 48}));
}

TEST_F(CustomGridTest, WidthsHeightsAndFixedCounts) {
  FGrid.SetColWidth(2, 99);
  FGrid.SetRowHeight(1, 30);
  EXPECT_EQ(FGrid.CellRect(2, 1), (TRect{130, 25, 229, 55}));
  FGrid.SetDefaultColWidth(30);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(FGrid.ColWidth(c), 30);
  FGrid.SetColCount(7);
  EXPECT_EQ(FGrid.ColWidth(6), 30);
  EXPECT_THROW(FGrid.SetFixedCols(7), EInvalidGridOperation);
  EXPECT_THROW(FGrid.SetFixedRows(5), EInvalidGridOperation);
  EXPECT_EQ(FGrid.FixedCols(), 1);
  // the selection moves out of cells that become fixed
  FGrid.SetFixedCols(3);
  EXPECT_EQ(FGrid.Selection(), (TGridRect{3, 1, 3, 1}));
  FGrid.SetColCount(2);  // fewer columns than fixed ones: one scrolling column stays
  EXPECT_EQ(FGrid.FixedCols(), 1);
  EXPECT_EQ(FGrid.Col(), 1);
}

TEST_F(CustomGridTest, SelectionNeverHoldsFixedCellsAndFollowsKeysAndMouse) {
  FGrid.SetSelection({0, 0, 9, 2});
  EXPECT_EQ(FGrid.Selection(), (TGridRect{1, 1, 4, 2}));
  EXPECT_EQ(FGrid.Col(), 4);

  FGrid.FocusCell(1, 1);
  const struct {
    int Key;
    Qt::KeyboardModifiers Mods;
    TGridRect Sel;
  } steps[] = {{Qt::Key_Up, Qt::NoModifier, {1, 1, 1, 1}},  // stays off the header
               {Qt::Key_Left, Qt::NoModifier, {1, 1, 1, 1}},
               {Qt::Key_Right, Qt::NoModifier, {2, 1, 2, 1}},
               {Qt::Key_Down, Qt::ShiftModifier, {2, 1, 2, 2}},
               {Qt::Key_Right, Qt::ShiftModifier, {2, 1, 3, 2}},
               {Qt::Key_Down, Qt::NoModifier, {3, 3, 3, 3}},
               {Qt::Key_End, Qt::ControlModifier, {4, 4, 4, 4}},
               {Qt::Key_Home, Qt::ControlModifier, {1, 1, 1, 1}}};
  for (const auto& s : steps) {
    Key(s.Key, s.Mods);
    EXPECT_EQ(FGrid.Selection(), s.Sel) << s.Key;
  }

  std::vector<TMouseButton> pressed;
  FGrid.OnMouseDown = [&](TCustomGrid*, TMouseButton b, TShiftState, int, int) {
    pressed.push_back(b);
  };
  Click(140, 60);  // cell 2, 2
  EXPECT_EQ(FGrid.Selection(), (TGridRect{2, 2, 2, 2}));
  Click(70, 30, Qt::ShiftModifier);  // back to 1, 1: a range
  EXPECT_EQ(FGrid.Selection(), (TGridRect{1, 1, 2, 2}));
  Click(10, 60);  // a header cell selects nothing
  QTest::mouseClick(FGrid.viewport(), Qt::RightButton, {}, QPoint(140, 60));
  EXPECT_EQ(FGrid.Selection(), (TGridRect{1, 1, 2, 2}));
  EXPECT_EQ(pressed, (std::vector<TMouseButton>{mbLeft, mbLeft, mbLeft, mbRight}));

  FGrid.SetOptions({});  // without range selection Shift only moves
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(FGrid.Selection(), (TGridRect{1, 2, 1, 2}));
}

TEST_F(CustomGridTest, EnterOpensAndClosesTheEditorWhichStoresOnlyChangedText) {
  FGrid.SetOptions(FGrid.Options() + TGridOptions{TGridOption::goEditing});
  Key(Qt::Key_Return);
  ASSERT_TRUE(FGrid.EditorMode());
  EXPECT_EQ(FGrid.InplaceEditor()->text(), "e1,1");
  EXPECT_EQ(FGrid.InplaceEditor()->geometry(), QRect(65, 25, 64, 24));
  QTest::keyClicks(FGrid.InplaceEditor(), "abc");
  Key(Qt::Key_Return);
  EXPECT_FALSE(FGrid.EditorMode());
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);  // open on 1,2 and leave it unchanged
  Key(Qt::Key_Down);
  EXPECT_FALSE(FGrid.EditorMode());
  Key(Qt::Key_Return);  // 1,3: typed, then Escape takes the cell's text back
  QTest::keyClicks(FGrid.InplaceEditor(), "x");
  Key(Qt::Key_Escape);
  EXPECT_FALSE(FGrid.EditorMode());
  QTest::keyClicks(&FGrid, "7");  // typing on a cell opens the editor with the key
  EXPECT_EQ(FGrid.InplaceEditor()->text(), "7");
  Key(Qt::Key_Up);
  EXPECT_EQ(FGrid.Stored, (std::vector<std::string>{"1,1=abc", "1,3=7"}));
}

TEST_F(CustomGridTest, AlwaysShownEditorFollowsTheCurrentCell) {
  FGrid.SetOptions(FGrid.Options() +
                   TGridOptions{TGridOption::goEditing, TGridOption::goAlwaysShowEditor});
  ASSERT_TRUE(FGrid.EditorMode());
  QTest::keyClicks(FGrid.InplaceEditor(), "5");
  Key(Qt::Key_Return);  // stores, and the editor stays
  EXPECT_TRUE(FGrid.EditorMode());
  Key(Qt::Key_Down);
  EXPECT_EQ(FGrid.InplaceEditor()->text(), "e1,2");
  EXPECT_EQ(FGrid.InplaceEditor()->geometry(), QRect(65, 50, 64, 24));
  QTest::keyClicks(FGrid.InplaceEditor(), "6");
  Click(140, 30);  // leaving by the mouse stores too
  EXPECT_EQ(FGrid.InplaceEditor()->text(), "e2,1");
  EXPECT_EQ(FGrid.Stored, (std::vector<std::string>{"1,1=5", "1,2=6"}));
}

TEST_F(CustomGridTest, PaintsTheCellsInViewAndScrollingRepaintsOnlyWhatMoved) {
  FGrid.SetRowCount(500);
  FGrid.Paint();
  long long before = FGrid.CellsDrawn();
  FGrid.Paint();
  EXPECT_EQ(FGrid.CellsDrawn() - before, 4 * 4);  // rows 0..3 by columns 0..3

  // Down from the first to the last row: each step past the bottom draws the new
  // row and the two cells whose look changed; the rest is moved.
  long long most = 0;
  for (int row = 1; row < 499; ++row) {
    before = FGrid.CellsDrawn();
    Key(Qt::Key_Down);
    most = std::max(most, FGrid.CellsDrawn() - before);
  }
  EXPECT_GE(most, 4);
  EXPECT_LE(most, 4 + 2);
  EXPECT_EQ(FGrid.Row(), 499);
  EXPECT_EQ(FGrid.TopRow(), 497);
  EXPECT_EQ(FGrid.CellRect(1, 0), (TRect{65, 0, 129, 24}));  // the header stays
  EXPECT_EQ(FGrid.CellRect(1, 499), (TRect{65, 75, 129, 99}));

  // what the moves left on the canvas equals a fresh paint
  const QImage moved = FGrid.CanvasImage()->Image().copy();
  FGrid.Paint();
  EXPECT_EQ(moved, FGrid.CanvasImage()->Image());
  Key(Qt::Key_PageUp);
  const QImage up = FGrid.CanvasImage()->Image().copy();
  FGrid.Paint();
  EXPECT_EQ(up, FGrid.CanvasImage()->Image());
}

}  // namespace
