// Drawing the density with the mouse on the main window's chart, and undoing strokes.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <cmath>

#include "tests/app/frmmaintest.h"

namespace {

class FrmDrawTest : public FrmEditTest {
 protected:
  void SetUp() override {
    FrmEditTest::SetUp();
    ShowActive();
  }
  TRChart* Chart() const { return FForm->RChart1(); }
  QPoint At(double x, double y) const {
    const TPoint p = Chart()->DataToPixel(x, y);
    return {p.x, p.y};
  }
  // The data point that a pixel of the chart area stands for.
  std::pair<double, double> DataAt(QPoint p) const {
    double x, y;
    Chart()->PixelToData(p.x(), p.y(), x, y);
    return {x, y};
  }
  // Press at the first point, move through the others, release at the last.
  void Stroke(const std::vector<QPoint>& path, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(Chart(), button, {}, path.front());
    for (std::size_t k = 1; k + 1 < path.size(); ++k) QTest::mouseMove(Chart(), path[k]);
    QTest::mouseRelease(Chart(), button, {}, path.back());
  }
  std::vector<double> Table() const { return FForm->Generator().RefPoints(); }
  // The class whose edge lies nearest to x, found by trying every one.
  int Nearest(double x) const {
    int best = 1;
    for (int i = 2; i <= FForm->Generator().Resolution(); ++i)
      if (std::fabs(FForm->Generator().ClassEdge(i) - x) <
          std::fabs(FForm->Generator().ClassEdge(best) - x))
        best = i;
    return best;
  }
  // Limits, resolution and a table that holds no value a stroke sets here.
  void Setup(double lo, double hi, int resolution) {
    TAlearix& gen = FForm->Generator();
    gen.SetResolution(resolution);
    gen.LowerLimit = lo;
    gen.UpperLimit = hi;
    for (int i = 1; i <= resolution; ++i) gen.SetRefPoint(i, 0.05 + (i % 7) * 0.01);
    Chart()->SetRanges(lo, 0.0, hi, 1.1);
    FForm->DrawDistri();
  }
  void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
  void Redo() { Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
  int Steps() const { return FForm->UndoStack()->count(); }
};

TEST_F(FrmDrawTest, AHorizontalDragSetsExactlyThePointsUnderIt) {
  struct TCase {
    double Lo, Hi;
    int Resolution;
  };
  for (const TCase& c :
       {TCase{-300, 300, 500}, TCase{300, -300, 500}, TCase{-5, 5, 10}, TCase{-300, 300, 4000}}) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << " / " << c.Resolution);
    Setup(c.Lo, c.Hi, c.Resolution);
    FForm->SBSetNormalD()->setChecked(true);
    const std::vector<double> before = Table();
    // from -200 to 100 over the start range, and the same share of any other
    const auto x = [&](double share) { return c.Lo + (c.Hi - c.Lo) * share; };
    std::vector<QPoint> path;
    for (double share = 1.0 / 6; share < 2.0 / 3 + 1e-9; share += 0.125)
      path.push_back(At(x(share), 0.5));
    path.push_back(At(x(2.0 / 3), 0.5));
    Stroke(path);

    const auto [x0, y] = DataAt(path.front());
    const double x1 = DataAt(path.back()).first;
    EXPECT_NEAR(y, 0.5, 0.005);
    const int pressed = Nearest(x0);
    int set = 0;
    for (int i = 1; i <= c.Resolution; ++i) {
      const double e = FForm->Generator().ClassEdge(i);
      const bool under = std::min(x0, x1) <= e && e <= std::max(x0, x1);
      set += under ? 1 : 0;
      ASSERT_EQ(FForm->Generator().GetRefPoint(i), under || i == pressed ? y : before[i - 1])
          << "class " << i << " at " << e;
    }
    EXPECT_NEAR(set, c.Resolution / 2.0, c.Resolution / 200.0 + 2);
    EXPECT_EQ(DownCount(), 0);
    EXPECT_EQ(Chart()->MouseAction(), maNone);
    EXPECT_TRUE(Chart()->MouseCursorFixed());
    ExpectCurveAt(0);
  }
}

TEST_F(FrmDrawTest, AFastStrokeFillsTheGapAndAStrokeLeavingTheAreaStopsAtItsEdge) {
  Setup(-300, 300, 500);
  const std::vector<double> before = Table();
  Stroke({At(-250, 0.2), At(250, 0.8)});  // a press and a release
  const auto [x0, y0] = DataAt(At(-250, 0.2));
  const auto [x1, y1] = DataAt(At(250, 0.8));
  for (int i = 1; i <= 500; ++i) {
    const double e = FForm->Generator().ClassEdge(i);
    const double expected = x0 <= e && e <= x1 ? y0 + (e - x0) * (y1 - y0) / (x1 - x0)
                            : i == Nearest(x0) ? y0
                                               : before[i - 1];
    ASSERT_NEAR(FForm->Generator().GetRefPoint(i), expected, 1e-12) << i;
  }

  // out to the right of and below the area: the end is clamped to its corner
  Stroke({At(100, 0.4), QPoint(Chart()->width() + 40, Chart()->height() + 30)});
  const double from = DataAt(At(100, 0.4)).first;
  const auto [right, bottom] = DataAt(At(300, 0));
  EXPECT_EQ(bottom, 0.0);
  for (int i = 1; i <= 500; ++i) {
    const double e = FForm->Generator().ClassEdge(i);
    if (e >= from) {
      ASSERT_NEAR(FForm->Generator().GetRefPoint(i), 0.4 * (right - e) / (right - from), 1e-12)
          << i;
    }
  }
  EXPECT_EQ(Steps(), 2);
}

TEST_F(FrmDrawTest, NoStrokeStartsOutsideTheAreaWithAnotherButtonOrOverEqualLimits) {
  struct TCase {
    const char* Name;
    QPoint Press;
    Qt::MouseButton Button;
    bool EqualLimits;
  };
  const TCase cases[] = {
      {"left rim", QPoint(20, 150), Qt::LeftButton, false},
      {"below the area", At(0, -0.05), Qt::LeftButton, false},
      {"right button", At(0, 0.5), Qt::RightButton, false},
      {"equal limits", At(0, 0.5), Qt::LeftButton, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.EqualLimits) FForm->Generator().LowerLimit = FForm->Generator().UpperLimit;
    const std::vector<double> before = Table();
    Stroke({c.Press, At(-100, 0.9), At(100, 0.1)}, c.Button);
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(DownCount(), 1);
  }
}

TEST_F(FrmDrawTest, UndoAndRedoRestoreWholeTables) {
  std::vector<std::vector<double>> tables{Table()};
  for (double y : {0.2, 0.4, 0.6}) {
    Stroke({At(-200, y), At(-50, y + 0.3), At(150, y)});
    tables.push_back(Table());
  }
  for (int k = 2; k >= 0; --k) {
    Undo();
    ASSERT_EQ(Table(), tables[k]);
  }
  Undo();  // nothing left to undo
  EXPECT_EQ(Table(), tables[0]);
  ExpectCurveAt(0);
  Redo();
  Redo();
  EXPECT_EQ(Table(), tables[2]);
  ExpectCurveAt(0);

  // a new stroke drops what could be redone; many strokes are kept
  Stroke({At(0, 1), At(50, 1)});
  const std::vector<double> start = Table();
  Redo();
  EXPECT_EQ(Table(), start);
  for (int k = 0; k < 25; ++k) Stroke({At(-290 + 20 * k, 0.03 * k), At(-280 + 20 * k, 0.5)});
  for (int k = 0; k < 25; ++k) Undo();
  EXPECT_EQ(Table(), start);
}

TEST_F(FrmDrawTest, LoadPresetsShapeBarsAndEditClearTheStrokes) {
  Put("d.rnd", "c\r\n10\r\n-300\r\n300\r\n0.1\r\n0.2\r\n1\r\n");
  const std::vector<std::pair<const char*, std::function<void()>>> actions = {
      {"Load", [&] { FDialogs.OpenAnswers.push_back(PathOf("d.rnd")), FForm->LoadClick(); }},
      {"preset", [&] { FForm->SButBiModal()->click(); }},
      {"shape bar", [&] { FForm->SBarMean1()->setValue(120); }},
      {"Edit", [&] { RunEdit([](TFrmEditDistri&, TNTabEd&) {}, true); }},
  };
  for (const auto& [name, action] : actions) {
    SCOPED_TRACE(name);
    Stroke({At(-200, 0.3), At(200, 0.3)});
    ASSERT_EQ(Steps(), 1);
    action();
    EXPECT_EQ(Steps(), 0);
    const std::vector<double> after = Table();
    Undo();
    EXPECT_EQ(Table(), after);
  }
}

TEST_F(FrmDrawTest, TheChartAreaShowsACrossHairAndTheHint) {
  EXPECT_EQ(Chart()->toolTip(), "Drag to draw the density, Ctrl+Z to undo");
  QTest::mouseMove(Chart(), At(0, 0.5));
  EXPECT_EQ(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mouseMove(Chart(), QPoint(10, 10));  // the rim
  EXPECT_NE(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mousePress(Chart(), Qt::LeftButton, {}, At(0, 0.5));
  QTest::mouseMove(Chart(), At(10, 0.6));
  EXPECT_EQ(Chart()->cursor().shape(), Qt::CrossCursor);
  QTest::mouseRelease(Chart(), Qt::LeftButton, {}, At(10, 0.6));
}

TEST_F(FrmDrawTest, AReleaseThatWentElsewhereEndsTheStroke) {
  QTest::mousePress(Chart(), Qt::LeftButton, {}, At(-100, 0.5));
  QTest::mouseRelease(FForm.get(), Qt::LeftButton, {}, QPoint(5, 5));  // lost to the chart
  const std::vector<double> ended = Table();
  QTest::mouseMove(Chart(), At(100, 0.9));
  EXPECT_EQ(Table(), ended);
  EXPECT_EQ(Steps(), 1);
}

}  // namespace
