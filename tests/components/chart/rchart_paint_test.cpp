#include <gtest/gtest.h>

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "components/chart/rchart.h"
#include "platform/qtsurface.h"
#include "tests/components/chart/recchart.h"

namespace {

constexpr int kArea = TRecChart::kArea;
constexpr int kWindow = TRecChart::kWindow;

const TQtBitmap& Area(const TRChart& c) {
  return dynamic_cast<const TQtBitmap&>(c.ChartAreaBitmap());
}

}  // namespace

TEST(ChartPaint, LongPathIsSplitIntoPolylinesSharingEndPoints) {
  TRecChart r;
  std::vector<TPoint> pts;
  r.Chart.MoveTo(0, 0);
  pts.push_back(r.AreaPixel(0, 0));
  for (int i = 1; i <= 450; ++i) {
    const double x = i / 45.0, y = (i % 7) + 1;
    r.Chart.DrawTo(x, y);
    pts.push_back(r.AreaPixel(x, y));
  }
  r.Paint();
  const auto polys = r.Calls(TRecKind::rkPolyline, kArea);
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0].Points.size(), 200u);
  EXPECT_EQ(polys[1].Points.size(), 200u);
  EXPECT_EQ(polys[2].Points.size(), 53u);
  EXPECT_EQ(polys[0].Points.front(), pts[0]);
  EXPECT_EQ(polys[0].Points.back(), pts[199]);
  EXPECT_EQ(polys[1].Points.front(), pts[199]);
  EXPECT_EQ(polys[1].Points.back(), pts[398]);
  EXPECT_EQ(polys[2].Points.front(), pts[398]);
  EXPECT_EQ(polys[2].Points.back(), pts[450]);
  // One colour: the pen colour is set once for all items (besides the
  // background and the frame), and the pen width once.
  EXPECT_EQ(r.Log->Count(TRecKind::rkSetPenColor, kArea), 3u);
  EXPECT_LE(r.Log->Count(TRecKind::rkSetPenWidth, kArea), 2u);
}

TEST(ChartPaint, ColourChangeKeepsThePathConnected) {
  TRecChart r;
  r.Chart.MoveTo(1, 1);
  r.Chart.SetDataColor(clRed);
  r.Chart.DrawTo(2, 5);
  r.Chart.SetDataColor(clBlue);
  r.Chart.DrawTo(3, 2);
  // A line in between does not move the path's pen position.
  r.Chart.Line(8, 8, 9, 9);
  r.Chart.DrawTo(4, 4);
  r.Paint();
  const auto polys = r.Calls(TRecKind::rkPolyline, kArea);
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0].Points, (std::vector<TPoint>{r.AreaPixel(1, 1), r.AreaPixel(2, 5)}));
  EXPECT_EQ(polys[0].PenColor, clRed);
  EXPECT_EQ(polys[1].Points, (std::vector<TPoint>{r.AreaPixel(2, 5), r.AreaPixel(3, 2)}));
  EXPECT_EQ(polys[1].PenColor, clBlue);
  EXPECT_EQ(polys[2].Points, (std::vector<TPoint>{r.AreaPixel(3, 2), r.AreaPixel(4, 4)}));
}

TEST(ChartPaint, ItemInChartColourIsDrawnInThatColour) {
  TRecChart r;
  r.Chart.MoveTo(1, 1);
  r.Chart.SetDataColor(clWhite);  // the chart colour
  r.Chart.DrawTo(5, 5);
  r.Paint();
  const auto polys = r.Calls(TRecKind::rkPolyline, kArea);
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].PenColor, clWhite);
}

TEST(ChartPaint, LineItemsAndItemClamp) {
  TRecChart r;
  r.Chart.SetDataColor(clRed);
  r.Chart.Line(5, 5, 5.01, 5.01);  // both ends on one pixel
  r.Chart.Line(0, 0, 1e9, 0);      // far end clamped to 30000
  r.Paint();
  const auto pixels = r.Calls(TRecKind::rkSetPixel, kArea);
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].Points[0], r.AreaPixel(5, 5));
  EXPECT_EQ(pixels[0].Color, clRed);
  const auto lines = r.Calls(TRecKind::rkLineTo, kArea);
  ASSERT_EQ(lines.size(), 5u);  // the far line and the four sides of the frame
  EXPECT_EQ(lines[0].Points[1], (TPoint{30000 - 50, r.AreaPixel(0, 0).y}));
  EXPECT_EQ(lines[0].PenColor, clRed);
}

TEST(ChartPaint, FilledRectangleCoversBothCorners) {
  TRecChart r;
  r.Chart.SetDataColor(clRed);
  r.Chart.FilledRectangle(0, 0, 1, 1);
  r.Chart.FilledRectangle(3, 3, 3, 3);  // one pixel: set in the scale colour
  r.Paint();
  const auto rects = r.Calls(TRecKind::rkRectangle, kArea);
  ASSERT_EQ(rects.size(), 2u);  // the background and the item
  const TPoint a = r.AreaPixel(0, 0), b = r.AreaPixel(1, 1);
  EXPECT_EQ(rects[1].Rect, (TRect{a.x, b.y, b.x + 1, a.y + 1}));
  EXPECT_EQ(rects[1].BrushColor, clRed);
  EXPECT_EQ(rects[1].PenColor, clBlack);
  EXPECT_EQ(rects[1].BrushStyle, TBrushStyle::bsSolid);
  const auto pixels = r.Calls(TRecKind::rkSetPixel, kArea);
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].Color, clBlack);

  // The same on real pixels: both corner pixels are covered.
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetDataColor(clRed);
  c.FilledRectangle(0, 0, 1, 1);
  c.Paint();
  const TPoint pa = {a.x, a.y}, pb = {b.x, b.y};
  EXPECT_NE(Area(c).Pixel(pa.x + 0, pa.y), clWhite);
  EXPECT_NE(Area(c).Pixel(pb.x, pb.y), clWhite);
  EXPECT_EQ(Area(c).Pixel(pa.x + 5, pa.y - 5), clRed);
}

TEST(ChartPaint, MarksSetTheirPatternPixels) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetDataColor(clRed);
  c.MarkAt(2, 5, 3);   // large plus
  c.MarkAt(5, 5, 21);  // large caret: open at the bottom
  c.MarkAt(8, 5, 0);   // one pixel
  c.MarkAt(8, 2, 30);  // one pixel as well
  c.Paint();
  auto collect = [&](double x, double y) {
    const TPoint p = c.DataToPixel(x, y);
    std::set<std::pair<int, int>> on;
    for (int dy = -4; dy <= 4; ++dy)
      for (int dx = -4; dx <= 4; ++dx)
        if (Area(c).Pixel(p.x - 50 + dx, p.y - 16 + dy) == clRed) on.insert({dx, dy});
    return on;
  };
  std::set<std::pair<int, int>> plus;
  for (int i = -3; i <= 3; ++i) {
    plus.insert({i, 0});
    plus.insert({0, i});
  }
  EXPECT_EQ(collect(2, 5), plus);
  const std::set<std::pair<int, int>> caret = {{0, -3}, {-1, -2}, {1, -2}, {-2, -1},
                                               {2, -1}, {-3, 0},  {3, 0}};
  EXPECT_EQ(collect(5, 5), caret);
  EXPECT_EQ(collect(8, 5), (std::set<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(collect(8, 2), (std::set<std::pair<int, int>>{{0, 0}}));
}

TEST(ChartPaint, CharacterMarksAndTextsAreCentred) {
  TRecChart r;
  r.Chart.SetDataColor(clBlue);
  r.Chart.MarkAt(5, 5, 'X');
  r.Chart.SetTextBkStyle(TBrushStyle::bsSolid);
  r.Chart.SetTextBkColor(clRed);
  r.Chart.SetDataColor(clGreen);
  r.Chart.Text(5, 5, 12, "Peak");
  r.Chart.SetDataColor(clBlue);
  r.Chart.MarkAt(2, 2, 'Y');
  r.Paint();
  const auto texts = r.Calls(TRecKind::rkTextOut, kArea);
  ASSERT_EQ(texts.size(), 3u);
  // A character mark sets only the pen: it is written with the surface's font
  // and brush as they stand, here the control's font on the chart colour.
  EXPECT_EQ(texts[0].Text, "X");
  EXPECT_EQ(texts[0].Font.Color, r.Chart.Font().Color);
  EXPECT_EQ(texts[0].BrushStyle, TBrushStyle::bsSolid);
  EXPECT_EQ(texts[0].BrushColor, clWhite);
  // After a text item its font colour and background stay.
  EXPECT_EQ(texts[2].Text, "Y");
  EXPECT_EQ(texts[2].Font.Color, clGreen);
  EXPECT_EQ(texts[2].BrushColor, clRed);
  EXPECT_EQ(texts[2].BrushStyle, TBrushStyle::bsSolid);
  EXPECT_EQ(texts[1].Text, "Peak");
  EXPECT_EQ(texts[1].Font.Color, clGreen);
  EXPECT_EQ(texts[1].BrushColor, clRed);
  EXPECT_EQ(texts[1].BrushStyle, TBrushStyle::bsSolid);
  // Centre with the metrics of the font the text was written in.
  TQtBitmap probe(10, 10);
  probe.SetFont(texts[1].Font);
  const TPoint p = r.AreaPixel(5, 5);
  EXPECT_EQ(texts[1].Points[0],
            (TPoint{p.x - probe.TextWidth("Peak") / 2, p.y - probe.TextHeight("Peak") / 2}));
}

TEST(ChartPaint, Bar3DFaces) {
  TRecChart r;
  r.Chart.SetDataColor(clRed);
  r.Chart.Bar3D(2, 0, 4, 5, 10, 45);
  r.Paint();
  const auto polys = r.Calls(TRecKind::rkPolygon, kArea);
  ASSERT_EQ(polys.size(), 2u);
  const TPoint a = r.AreaPixel(2, 5), b = r.AreaPixel(4, 0);  // top left, bottom right
  const int d = 7;                                            // round(cos 45 * 10)
  EXPECT_EQ(polys[0].Points,
            (std::vector<TPoint>{{a.x, a.y}, {a.x + d, a.y - d}, {b.x + d, a.y - d}, {b.x, a.y}}));
  EXPECT_EQ(polys[1].Points,
            (std::vector<TPoint>{{b.x + d, a.y - d}, {b.x, a.y}, {b.x, b.y}, {b.x + d, b.y - d}}));
  const auto rects = r.Calls(TRecKind::rkRectangle, kArea);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[1].Rect, (TRect{a.x, a.y, b.x + 1, b.y + 1}));
  EXPECT_EQ(rects[1].BrushColor, clRed);
}

TEST(ChartGrid, LogarithmicSteps) {
  TRecChart r;
  r.Chart.SetRangeLoX(1);
  r.Chart.SetRangeHiX(1000);
  r.Chart.SetLogScaleX(true);
  r.Chart.SetGridColor(clRed);
  r.Chart.SetGridStyle(gsVertLines);
  r.Chart.SetGridDx(-1);
  auto gridColumns = [&] {
    r.Paint();
    std::vector<int> xs;
    for (const auto& c : r.Calls(TRecKind::rkLineTo, kArea))
      if (c.PenColor == clRed) xs.push_back(c.Points[1].x);
    return xs;
  };
  EXPECT_EQ(gridColumns(),
            (std::vector<int>{r.AreaPixel(1, 0).x, r.AreaPixel(10, 0).x, r.AreaPixel(100, 0).x}));
  r.Chart.SetRangeHiX(100);
  r.Chart.SetGridDx(-2);
  std::vector<int> want;
  for (double v : {2, 5, 10, 20, 50}) want.push_back(r.AreaPixel(v, 0).x);
  EXPECT_EQ(gridColumns(), want);
  r.Chart.SetGridDx(-3);  // 1..9 times each decade
  EXPECT_EQ(gridColumns().size(), 18u);
}

TEST(ChartGrid, StylesAndLimits) {
  TRecChart r;
  r.Chart.SetGridColor(clRed);
  r.Chart.SetGridDx(2);
  r.Chart.SetGridDy(5);
  auto count = [&](GridStyleType s, TRecKind k) {
    r.Chart.SetGridStyle(s);
    r.Paint();
    int n = 0;
    for (const auto& c : r.Calls(k, kArea))
      if (c.PenColor == clRed) ++n;
    return n;
  };
  // x at 0, 2, 4, 6, 8 and y at 0, 5 (the high bound itself is left out).
  EXPECT_EQ(count(gsVertLines, TRecKind::rkLineTo), 5);
  EXPECT_EQ(count(gsHorizLines, TRecKind::rkLineTo), 2);
  EXPECT_EQ(count(gsLines, TRecKind::rkLineTo), 7);
  EXPECT_EQ(count(gsDotLines, TRecKind::rkLineTo), 7);
  EXPECT_EQ(count(gsPoints, TRecKind::rkSetPixel), 10);
  // Dotted lines are dotted, and the pen is solid again for the frame.
  r.Chart.SetGridStyle(gsVertDotLines);
  r.Paint();
  const auto lines = r.Calls(TRecKind::rkLineTo, kArea);
  EXPECT_EQ(lines.front().PenStyle, TPenStyle::psDot);
  EXPECT_EQ(lines.back().PenStyle, TPenStyle::psSolid);

  r.Chart.SetGridDx(0.001);
  r.Chart.SetGridDy(0.001);
  EXPECT_EQ(count(gsPoints, TRecKind::rkSetPixel), 1000);
}

TEST(ChartPaint, EmptyListPaintsChartColourAndFrame) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetChartColor(clRed);
  c.SetScaleColor(clBlue);
  c.ClearGraf();
  const int cw = 240 - 50 - 10, ch = 160 - 16 - 32;
  EXPECT_EQ(Area(c).Width(), cw + 1);
  EXPECT_EQ(Area(c).Height(), ch + 1);
  EXPECT_EQ(Area(c).Pixel(cw / 2, ch / 2), clRed);
  c.Paint();
  EXPECT_EQ(Area(c).Pixel(cw / 2, ch / 2), clRed);
  for (TPoint p : {TPoint{0, 0}, TPoint{cw, 0}, TPoint{cw, ch}, TPoint{0, ch}, TPoint{cw / 2, 0}})
    EXPECT_EQ(Area(c).Pixel(p.x, p.y), clBlue) << p.x << "," << p.y;
  // The whole picture reaches the control: window colour outside, chart area inside.
  EXPECT_EQ(c.CanvasBitmap().Pixel(50 + cw / 2, 16 + ch / 2), clRed);
  EXPECT_EQ(c.CanvasBitmap().Pixel(50, 16), clBlue);
  EXPECT_EQ(c.CanvasBitmap().Pixel(239, 2), clSilver);
}

TEST(ChartPaint, ShadowAndBorder) {
  TRecChart r;
  r.Chart.SetScaleColor(clBlue);
  r.Paint();
  EXPECT_EQ(r.Log->Count(TRecKind::rkPolygon, kWindow), 0u);
  for (const auto& c : r.Calls(TRecKind::rkSetPenColor, kWindow)) EXPECT_NE(c.Color, clBlack);

  r.Chart.SetShadowWidth(6);
  r.Chart.SetShadowStyle(TShadowStyle::ssFlying);
  r.Paint();
  auto polys = r.Calls(TRecKind::rkPolygon, kWindow);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].Points, (std::vector<TPoint>{{5, 154}, {5, 159}, {240, 159}, {234, 154}}));
  EXPECT_EQ(polys[0].PenColor, clGray);
  EXPECT_EQ(polys[1].Points, (std::vector<TPoint>{{234, 154}, {239, 159}, {239, 5}, {234, 5}}));
  const auto rects = r.Calls(TRecKind::rkRectangle, kWindow);
  ASSERT_GE(rects.size(), 3u);
  EXPECT_EQ(rects[1].Rect, (TRect{234, 0, 240, 6}));
  EXPECT_EQ(rects[2].Rect, (TRect{0, 154, 6, 160}));
  // The black border round the panel.
  const auto lines = r.Calls(TRecKind::rkLineTo, kWindow);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 0}, {0, 154}}));
  EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{234, 154}, {234, 0}}));
  EXPECT_EQ(lines[3].PenColor, clBlack);

  r.Chart.SetShadowStyle(TShadowStyle::ssBox);
  r.Paint();
  polys = r.Calls(TRecKind::rkPolygon, kWindow);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].Points.front(), (TPoint{0, 154}));
  EXPECT_EQ(polys[1].Points.back(), (TPoint{234, 0}));
  EXPECT_EQ(polys[0].PenColor, clBlack);
}

TEST(ChartPaint, ShowGrafRedrawsOnlyTheChartArea) {
  TRecChart r;
  r.Chart.SetAutoRedraw(true);
  r.Chart.DrawTo(5, 5);
  r.Log->clear();
  r.Chart.ShowGraf();
  EXPECT_EQ(r.Log->Count(TRecKind::rkPolyline, kArea), 1u);
  EXPECT_EQ(r.Log->Count(TRecKind::rkSetSize, kWindow), 0u);
  EXPECT_EQ(r.Log->Count(TRecKind::rkTextOut, kWindow), 0u);

  r.Chart.SetAutoRedraw(false);
  r.Log->clear();
  r.Chart.ShowGraf();  // full paint
  EXPECT_EQ(r.Log->Count(TRecKind::rkSetSize, kWindow), 1u);
  EXPECT_EQ(r.Log->Count(TRecKind::rkDraw, kWindow), 1u);

  r.Chart.SetVisible(false);
  r.Log->clear();
  r.Chart.SetAutoRedraw(true);
  r.Chart.ShowGraf();
  EXPECT_TRUE(r.Chart.Visible());
}

TEST(ChartPaint, PaintReportsTheMousePosition) {
  TRecChart r;
  int calls = 0;
  bool inside = true;
  r.Chart.OnMouseMoveInChart = [&](TRChart* s, bool in, TShiftState sh, double, double) {
    EXPECT_EQ(s, &r.Chart);
    EXPECT_TRUE(sh.Empty());
    inside = in;
    ++calls;
  };
  r.Paint();
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(inside);  // a new chart's last mouse position is (0, 0)
}

TEST(ChartScales, TickAndLabelPlacement) {
  TRecChart r;
  r.Chart.SetIdAbscissa("Value");
  r.Chart.SetIdOrdinate("Density");
  r.Chart.SetCaption("Distribution");
  r.Paint();
  TQtBitmap probe(10, 10);
  probe.SetFont(r.Chart.Font());
  const auto texts = r.Calls(TRecKind::rkTextOut, kWindow);
  std::vector<std::string> xLabels = {"0.0", "2.0", "4.0", "6.0", "8.0", "10.0"};
  int xSeen = 0, ySeen = 0;
  bool caption = false, idX = false, idY = false;
  for (const auto& t : texts) {
    const TPoint at = t.Points[0];
    const int w = probe.TextWidth(t.Text), h = probe.TextHeight(t.Text);
    if (t.Text == "Distribution") {
      caption = at == TPoint{240 - 10 - w, 16 - h};
    } else if (t.Text == "Value") {
      idX = at == TPoint{(50 + 240 - 10 - w) / 2, 160 - 32 + 7 + h};
    } else if (t.Text == "Density") {
      idY = at == TPoint{50, 16 - h};
    } else if (at.y == 128 + 7) {  // x labels below the axis
      ASSERT_LT(xSeen, 6);
      EXPECT_EQ(t.Text, xLabels[xSeen]);
      const int px = r.Chart.DataToPixel(2.0 * xSeen, 0).x;
      const int half = w / 2;
      EXPECT_EQ(at.x, px + half >= 240 ? 240 - 2 * half : px - half) << t.Text;
      if (t.Text == "10.0") {
        EXPECT_EQ(at.x + 2 * half, 240);  // moved left to end at the edge
      }
      ++xSeen;
    } else {  // y labels: right-aligned 2 pixels left of the tick
      const int py = r.Chart.DataToPixel(0, 2.0 * ySeen).y;
      EXPECT_EQ(at.x + w, 50 - 8) << t.Text;
      EXPECT_EQ(at.y, py - probe.TextHeight("0") / 2) << t.Text;
      ++ySeen;
    }
  }
  EXPECT_EQ(xSeen, 6);
  EXPECT_EQ(ySeen, 6);
  EXPECT_TRUE(caption);
  EXPECT_TRUE(idX);
  EXPECT_TRUE(idY);
  // Ticks: 21 minor x ticks of 4 pixels, 6 major of 7, and 6 y ticks of 6 to the left.
  int minor = 0, major = 0, left = 0;
  for (const auto& l : r.Calls(TRecKind::rkLineTo, kWindow)) {
    const TPoint a = l.Points[0], b = l.Points[1];
    if (a.x == b.x && b.y - a.y == 4) ++minor;
    if (a.x == b.x && b.y - a.y == 7) ++major;
    if (a.y == b.y && a.x - b.x == 6) ++left;
  }
  EXPECT_EQ(minor, 21);
  EXPECT_EQ(major, 6);
  EXPECT_EQ(left, 6);
}

TEST(ChartScales, LabelTypesControlTheScales) {
  TRecChart r;
  r.Chart.SetIdAbscissa("Value");
  r.Chart.SetXLabelType(FigType::NoFigs);
  r.Chart.SetYLabelType(FigType::NoScales);
  r.Paint();
  const auto texts = r.Calls(TRecKind::rkTextOut, kWindow);
  ASSERT_EQ(texts.size(), 1u);  // only the identifier
  EXPECT_EQ(texts[0].Text, "Value");
  const auto lines = r.Calls(TRecKind::rkLineTo, kWindow);
  EXPECT_EQ(lines.size(), 21u);  // the short x ticks only
  for (const auto& l : lines) EXPECT_EQ(l.Points[1].y - l.Points[0].y, 4);

  r.Chart.SetXLabelType(FigType::NoScales);
  r.Paint();
  EXPECT_EQ(r.Log->Count(TRecKind::rkTextOut, kWindow), 0u);
  EXPECT_EQ(r.Log->Count(TRecKind::rkLineTo, kWindow), 0u);
}

TEST(ChartScales, MinTickXSetsTheLabelDensity) {
  TRecChart r;
  r.Chart.SetRangeHiX(100);
  r.Chart.SetMinTickX(10);
  r.Paint();
  EXPECT_EQ(r.Chart.MinTickX(), 10);
  // 0..100 in at least 10 intervals: labels every 10.
  int labels = 0;
  for (const auto& t : r.Calls(TRecKind::rkTextOut, kWindow))
    if (t.Points[0].y == 128 + 7) ++labels;
  EXPECT_EQ(labels, 11);
}

TEST(ChartPaint, DegenerateSizesAndValuesPaintWithoutHarm) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.MoveTo(std::nan(""), 1);
  c.DrawTo(5, std::numeric_limits<double>::infinity());
  c.Line(-1e308, -1e308, 1e308, 1e308);
  c.SetGridStyle(gsLines);
  c.SetGridDx(1e-300);  // a step far below the resolution of the range
  c.Paint();
  // A value that is not a number lands at the low end of its axis.
  EXPECT_EQ(c.DataToPixel(std::nan(""), std::nan("")), (TPoint{0, 160}));
  // A control smaller than its rims has no chart area; it still paints.
  c.SetBounds(0, 0, 30, 20);
  c.Paint();
  EXPECT_EQ(c.CanvasBitmap().Width(), 30);
  EXPECT_EQ(c.DataToPixel(7, 7), (TPoint{15, 10}));
}

TEST(ChartScales, WideCaptionStartsLeftOfTheControl) {
  TRecChart r;
  const std::string caption(80, 'W');
  r.Chart.SetCaption(caption);
  r.Paint();
  const auto texts = r.Calls(TRecKind::rkTextOut, kWindow);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].Text, caption);
  EXPECT_LT(texts[0].Points[0].x, 0);
}

TEST(ChartScales, LogarithmicAxisBeyondTheRatioOfADouble) {
  TRecChart r;
  r.Chart.SetRangeLoX(1e-30);
  r.Chart.SetRangeHiX(1e300);
  r.Chart.SetLogScaleX(true);
  r.Chart.SetRangeLoY(1e-30);
  r.Chart.SetRangeHiY(1e300);
  r.Chart.SetLogScaleY(true);
  r.Paint();
  int xTicks = 0, yTicks = 0;
  for (const auto& l : r.Calls(TRecKind::rkLineTo, kWindow)) {
    const TPoint a = l.Points[0], b = l.Points[1];
    xTicks += a.x == b.x && b.y - a.y == 7;
    yTicks += a.y == b.y && a.x - b.x == 6;
  }
  EXPECT_EQ(xTicks, 331);  // every decade from 1e-30 to 1e300
  EXPECT_EQ(yTicks, 331);
  EXPECT_EQ(r.WindowTexts().size(), 662u);
}

TEST(ChartScales, TimeAndDateTimeLabels) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  TRecChart r;
  r.Chart.SetBounds(0, 0, 400, 160);
  r.Chart.SetRangeLoX(35000.25);
  r.Chart.SetRangeHiX(35000.75);
  r.Chart.SetXLabelType(FigType::DateTime);
  r.Chart.SetRangeHiY(3600);
  r.Chart.SetYLabelType(FigType::Time);
  r.Paint();
  TQtBitmap probe(10, 10);
  probe.SetFont(r.Chart.Font());
  const int th = probe.TextHeight("0"), axisY = 128;
  std::vector<std::string> xs, ys;
  for (const auto& t : r.Calls(TRecKind::rkTextOut, kWindow)) {
    const TPoint at = t.Points[0];
    const int w = probe.TextWidth(t.Text);
    if (t.Text == "28-Oct-1995") {  // one line below the first time label
      EXPECT_EQ(at, (TPoint{50 - w / 2, axisY + 7 + th}));
    } else if (at.y == axisY + 7) {
      const double v = 35000.25 + 0.125 * static_cast<double>(xs.size());
      const int px = r.Chart.DataToPixel(v, 0).x;
      EXPECT_EQ(at.x, px + w / 2 >= 400 ? 400 - 2 * (w / 2) : px - w / 2) << t.Text;
      xs.push_back(t.Text);
    } else {
      EXPECT_EQ(at.x + w, 50 - 8) << t.Text;
      ys.push_back(t.Text);
    }
  }
  EXPECT_EQ(xs, (std::vector<std::string>{"06:00", "09:00", "12:00", "15:00", "18:00"}));
  EXPECT_EQ(ys, (std::vector<std::string>{" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"}));
}

TEST(ChartScales, DateTimeMessagesInPlaceOfTheScale) {
  TRecChart r;
  r.Chart.SetXLabelType(FigType::DateTime);  // 0..10 starts before day 1
  r.Chart.SetRangeLoY(35000);
  r.Chart.SetRangeHiY(35000.00003);
  r.Chart.SetYLabelType(FigType::DateTime);
  r.Paint();
  TQtBitmap probe(10, 10);
  probe.SetFont(r.Chart.Font());
  const auto texts = r.Calls(TRecKind::rkTextOut, kWindow);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0].Text, "invalid DateTime scale");
  EXPECT_EQ(texts[0].Points[0], (TPoint{140 - probe.TextWidth(texts[0].Text) / 2, 128 + 7}));
  const std::vector<std::string> lines = {"DateTime", "range is", "below 1", "second"};
  const int th = probe.TextHeight("T"), mid = 72;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i + 1].Text, lines[i]);
    EXPECT_EQ(texts[i + 1].Points[0],
              (TPoint{50 - probe.TextWidth(lines[i]) - 2, mid + (i - 1) * th}));
  }
  EXPECT_EQ(r.Log->Count(TRecKind::rkLineTo, kWindow), 0u);  // no ticks
}

TEST(ChartScales, DateTimeDayTicksOnPixels) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetBounds(0, 0, 410, 160);  // 35 pixels a day
  c.SetRangeLoX(35000);
  c.SetRangeHiX(35010);
  c.SetXLabelType(FigType::DateTime);
  c.Paint();
  const TQtBitmap& win = c.CanvasBitmap();
  for (int day = 0; day <= 10; ++day) {
    const int px = c.DataToPixel(35000 + day, 0).x;
    const bool ticked = day % 3 == 0;  // 3-day steps from 28 October 1995
    for (int y = 129; y < 135; ++y)
      EXPECT_EQ(win.Pixel(px, y) == clBlack, ticked) << "day " << day << " row " << y;
    int ink = 0;  // the label under a tick
    for (int y = 136; y < 150; ++y)
      for (int x = px - 5; x <= px + 5; ++x) ink += win.Pixel(x, y) != clSilver;
    if (ticked) EXPECT_GT(ink, 0) << "day " << day;
  }
}
