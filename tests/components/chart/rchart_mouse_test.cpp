// Mouse events come through Qt's window system layer, as from a real mouse:
// moves without a button reach the chart as well.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "components/chart/rchart.h"
#include "platform/cursors.h"
#include "tests/components/chart/near.h"

namespace {

// A shown chart of the default size (chart area 50..230 x 16..128) in a window.
// Qt drops a move to the point the mouse is at, so every test starts with the
// mouse in the window's far corner and no button held.
struct TShownChart {
  QWidget Window;
  TRChart* Chart = new TRChart(&Window);
  bool Held = false;

  explicit TShownChart(int width = 240) {
    Window.resize(width + 20, 200);
    Chart->SetBounds(0, 0, width, 160);
    Window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window));
    QTest::mouseMove(&Window, {Window.width() - 1, Window.height() - 1});
  }
  ~TShownChart() {
    if (Held) QTest::mouseRelease(Chart, Qt::LeftButton);
  }
  // A press and release of a button.
  void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(Chart, b, {}, p); }
  void Move(QPoint p) { QTest::mouseMove(Chart, p); }
  void Release(QPoint p) {
    QTest::mouseRelease(Chart, Qt::LeftButton, {}, p);
    Held = false;
  }
  // A left-button drag: a press beside `from`, the first move to `from` (which
  // starts the drag), then the moves; the button stays down.
  void Drag(QPoint from, const std::vector<QPoint>& to) {
    QTest::mousePress(Chart, Qt::LeftButton, {}, from - QPoint(1, 0));
    Held = true;
    Move(from);
    for (QPoint p : to) Move(p);
  }
  std::vector<double> Ranges() const {
    return {Chart->RangeLoX(), Chart->RangeHiX(), Chart->RangeLoY(), Chart->RangeHiY()};
  }
  QImage Canvas() const { return Chart->CanvasBitmap().Image().copy(); }
};

}  // namespace

TEST(ChartMouse, PanFollowsTheMouse) {
  TShownChart s;
  s.Chart->SetMouseAction(maPan);
  // Over the full chart-area width to the right, and a quarter of its height down.
  s.Drag({50, 72}, {{230, 100}});
  ExpectAllNear(s.Ranges(), {-10, 0, 2.5, 12.5});
  // Moves outside the chart area change nothing and keep the drag.
  s.Move({239, 150});
  ExpectAllNear(s.Ranges(), {-10, 0, 2.5, 12.5});
  s.Move({50, 72});  // back to the start
  ExpectAllNear(s.Ranges(), {0, 10, 0, 10});
  s.Release({50, 72});
  // Without the button the drag ends: the next drag starts afresh.
  s.Move({60, 72});
  s.Drag({140, 72}, {{158, 72}});
  ExpectAllNear(s.Ranges(), {-1, 9, 0, 10});
}

TEST(ChartMouse, PanOnLogarithmicAxes) {
  TShownChart s(260);  // chart area 200 pixels wide
  s.Chart->SetRangeLoX(1);
  s.Chart->SetRangeHiX(100);
  s.Chart->SetLogScaleX(true);
  s.Chart->SetMouseAction(maPan);
  s.Drag({60, 72}, {{160, 72}});
  ExpectAllNear(s.Ranges(), {0.1, 10, 0, 10});
}

TEST(ChartMouse, ZoomDrag) {
  TShownChart s;
  s.Chart->SetMouseAction(maZoomDrag);
  // Right by half the control's width halves the x range about its centre;
  // up by a quarter of its height narrows y by a quarter.
  s.Drag({60, 100}, {{180, 60}});
  ExpectAllNear(s.Ranges(), {2.5, 7.5, 1.25, 8.75});
  s.Move({60, 100});
  ExpectAllNear(s.Ranges(), {0, 10, 0, 10});
}

TEST(ChartMouse, ZoomWindow) {
  struct TCase {
    MouseActMode Mode;
    std::vector<double> Want;  // LoX, HiX, LoY, HiY after a window from (95, 30) to (230, 128)
  } cases[] = {
      {maZoomWind, {2.5, 10, 8.75, 0}},  // top left to bottom right: y upside down
      {maZoomWindPos, {2.5, 10, 0, 8.75}},
  };
  for (const auto& c : cases) {
    TShownChart s;
    s.Chart->SetMouseAction(c.Mode);
    s.Click({95, 30});
    s.Move({120, 60});
    s.Click({120, 60}, Qt::MiddleButton);  // ignored: the window stays open
    s.Move({239, 159});                    // outside: the corner stays on the area's edge
    s.Click({239, 159});
    ExpectAllNear(s.Ranges(), c.Want);
  }
}

TEST(ChartMouse, ZoomWindowBandAndCancel) {
  TShownChart s;
  s.Chart->SetMouseAction(maZoomWind);
  const QImage before = s.Canvas();
  s.Click({80, 40});
  s.Move({150, 90});
  const QImage band = s.Canvas();
  EXPECT_NE(band, before);
  // The exclusive-or band inverts the white chart area at its corners.
  EXPECT_EQ(s.Chart->CanvasBitmap().Pixel(80, 40), clBlack);
  EXPECT_EQ(s.Chart->CanvasBitmap().Pixel(149, 89), clBlack);
  // Outside the chart area the corner stays on its edge; the position read-out too.
  s.Move({239, 159});
  EXPECT_EQ(s.Chart->CanvasBitmap().Pixel(229, 127), clBlack);
  EXPECT_DOUBLE_EQ(s.Chart->MousePosX(), 10);
  EXPECT_DOUBLE_EQ(s.Chart->MousePosY(), 0);
  // The band survives a redraw of the chart area; a right press erases it and
  // keeps the ranges.
  s.Chart->ShowGraf();
  s.Click({239, 159}, Qt::RightButton);
  EXPECT_EQ(s.Canvas(), before);
  ExpectAllNear(s.Ranges(), {0, 10, 0, 10});
  // A window of one row is dropped; a press outside the chart area starts nothing.
  s.Click({80, 40});
  s.Move({150, 40});
  s.Click({150, 40});
  EXPECT_EQ(s.Canvas(), before);
  s.Click({10, 10});
  s.Move({150, 90});
  EXPECT_EQ(s.Canvas(), before);
  // A change of mode takes an open band away.
  s.Click({80, 40});
  s.Move({150, 90});
  s.Chart->SetMouseAction(maPan);
  EXPECT_EQ(s.Canvas(), before);
}

TEST(ChartMouse, TwoChartsKeepTheirOwnZoomWindow) {
  TShownChart s;
  auto* other = new TRChart(&s.Window);
  other->SetBounds(0, 0, 240, 160);
  other->move(0, 200);
  s.Window.resize(260, 380);
  s.Chart->SetMouseAction(maZoomWind);
  other->SetMouseAction(maZoomWind);
  s.Click({80, 40});
  s.Move({140, 72});
  // Clicks in the other chart start its own window and finish nothing here.
  QTest::mouseClick(other, Qt::LeftButton, {}, {80, 40});
  QTest::mouseClick(other, Qt::LeftButton, {}, {80, 40});
  ExpectAllNear(s.Ranges(), {0, 10, 0, 10});
  EXPECT_EQ(other->RangeHiX(), 10);
  s.Click({140, 72});
  ExpectAllNear(s.Ranges(), {5.0 / 3, 5, 88 / 11.2, 5});
}

TEST(ChartMouse, CursorByModeAndPlace) {
  struct TCase {
    MouseActMode Mode;
    bool Fixed;
    int Inside;
  } cases[] = {
      {maNone, false, crCross},
      {maPan, false, crChartHand},
      {maZoomWind, false, crChartZoomWind},
      {maZoomWindPos, false, crChartZoomWindPos},
      {maZoomDrag, false, crChartZoomDrag},
      {maPan, true, crDefault},
  };
  for (const auto& c : cases) {
    TShownChart s;
    s.Chart->SetMouseAction(c.Mode);
    s.Chart->SetMouseCursorFixed(c.Fixed);
    s.Move({100, 50});
    EXPECT_EQ(s.Chart->Cursor(), c.Inside) << c.Mode;
    EXPECT_EQ(s.Chart->testAttribute(Qt::WA_SetCursor), c.Inside != crDefault);
    s.Move({20, 50});
    EXPECT_EQ(s.Chart->Cursor(), crDefault) << c.Mode;
    EXPECT_FALSE(s.Chart->testAttribute(Qt::WA_SetCursor));
  }
}

TEST(ChartMouse, PositionReadOut) {
  TShownChart s;
  struct TEvent {
    bool In;
    double X, Y;
  };
  std::vector<TEvent> seen;
  s.Chart->OnMouseMoveInChart = [&](TRChart* sender, bool in, TShiftState, double x, double y) {
    EXPECT_EQ(sender, s.Chart);
    seen.push_back({in, x, y});
  };
  s.Move({140, 72});
  s.Move({20, 72});  // over the left rim: extrapolated, the position kept
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].In);
  EXPECT_NEAR(seen[0].X, 5, 1e-9);
  EXPECT_FALSE(seen[1].In);
  EXPECT_NEAR(seen[1].X, -30.0 / 18, 1e-9);
  EXPECT_NEAR(s.Chart->MousePosX(), 5, 1e-9);
  EXPECT_NEAR(s.Chart->MousePosY(), 5, 1e-9);

  // A pan step paints, and the paint reports the data now under the mouse.
  s.Chart->SetMouseAction(maPan);
  s.Drag({140, 72}, {});
  seen.clear();
  s.Move({158, 72});
  ASSERT_EQ(seen.size(), 2u);  // from the paint and from the move
  EXPECT_NEAR(seen[0].X, 5, 1e-9);
  EXPECT_NEAR(seen[1].X, 5, 1e-9);
  EXPECT_NEAR(s.Chart->RangeLoX(), -1, 1e-9);
}
