#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>

#include "components/chart/rchart.h"
#include "tests/components/chart/recchart.h"

TEST(ChartMapping, NewChartMapsRangeToChartArea) {
  TRChart c;
  EXPECT_EQ(c.Width(), 240);
  EXPECT_EQ(c.Height(), 160);
  EXPECT_EQ(c.DataToPixel(0, 0), (TPoint{50, 128}));
  EXPECT_EQ(c.DataToPixel(10, 10), (TPoint{230, 16}));
  EXPECT_EQ(c.DataToPixel(5, 5), (TPoint{140, 72}));
  double x, y;
  c.PixelToData(140, 72, x, y);
  EXPECT_NEAR(x, 5, 1e-12);
  EXPECT_NEAR(y, 5, 1e-12);
}

TEST(ChartMapping, ClampsAndRoundsHalfToEven) {
  TRChart c;
  c.SetAutoRedraw(false);
  EXPECT_EQ(c.DataToPixel(1e300, -1e300), (TPoint{2147483647, 2147483647}));
  EXPECT_EQ(c.DataToPixel(-1e300, 1e300), (TPoint{-2147483647, -2147483647}));
  // One pixel per unit: x = 0.5 lies on column 50.5, x = 1.5 on 51.5.
  c.SetRangeHiX(180);
  EXPECT_EQ(c.DataToPixel(0.5, 0).x, 50);
  EXPECT_EQ(c.DataToPixel(1.5, 0).x, 52);
  EXPECT_EQ(c.DataToPixel(-0.5, 0).x, 50);
}

TEST(ChartMapping, NoChartAreaMapsToTheMiddle) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetLRim(300);  // no room left for the chart area
  EXPECT_EQ(c.DataToPixel(3, 0).x, 120);
  EXPECT_EQ(c.DataToPixel(7, 0).x, 120);
  double x, y;
  c.PixelToData(17, 128, x, y);
  EXPECT_DOUBLE_EQ(x, 5.0);  // middle of 0..10
  EXPECT_NEAR(y, 0.0, 1e-12);
}

TEST(ChartMapping, LogarithmicAxes) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetRangeLoX(1);
  c.SetRangeHiX(1000);
  c.SetLogScaleX(true);
  ASSERT_TRUE(c.LogScaleX());
  EXPECT_EQ(c.DataToPixel(1, 0).x, 50);
  EXPECT_EQ(c.DataToPixel(1000, 0).x, 230);
  EXPECT_EQ(c.DataToPixel(10, 0).x, 110);
  EXPECT_EQ(c.DataToPixel(0, 0).x, 0);  // not positive: the control's edge
  EXPECT_EQ(c.DataToPixel(-5, 0).x, 0);
  double x, y;
  c.PixelToData(110, 0, x, y);
  EXPECT_NEAR(x, 10, 1e-9);
  // A reversed logarithmic axis puts the low end at the right edge.
  c.SetRangeLoX(1000);
  c.SetRangeHiX(1);
  EXPECT_EQ(c.DataToPixel(0, 0).x, 240);
  EXPECT_EQ(c.DataToPixel(1000, 0).x, 50);

  c.SetRangeLoY(1);
  c.SetLogScaleY(true);
  ASSERT_TRUE(c.LogScaleY());
  EXPECT_EQ(c.DataToPixel(1, 0).y, 160);
  EXPECT_EQ(c.DataToPixel(1, 1).y, 128);
  EXPECT_EQ(c.DataToPixel(1, 10).y, 16);
}

TEST(ChartRanges, EqualBoundsWidenTheAxis) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetRangeLoX(5);
  c.SetRangeHiX(5);
  EXPECT_EQ(c.RangeLoX(), 4);
  EXPECT_EQ(c.RangeHiX(), 6);
  c.SetRangeHiY(5);
  c.SetRangeLoY(5);
  EXPECT_EQ(c.RangeLoY(), 4);
  EXPECT_EQ(c.RangeHiY(), 6);
  // Bounds are never ordered.
  c.SetRangeLoX(20);
  EXPECT_EQ(c.RangeLoX(), 20);
  EXPECT_EQ(c.RangeHiX(), 6);
  EXPECT_EQ(c.DataToPixel(20, 4).x, 50);
  EXPECT_EQ(c.DataToPixel(6, 4).x, 230);
}

TEST(ChartRanges, LogarithmicRefusals) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetLogScaleX(true);  // the low bound is 0
  EXPECT_FALSE(c.LogScaleX());
  c.SetRangeLoX(0.5);
  c.SetLogScaleX(true);
  EXPECT_TRUE(c.LogScaleX());
  c.SetRangeLoX(0);
  EXPECT_EQ(c.RangeLoX(), 0.5);
  c.SetRangeHiX(-3);
  EXPECT_EQ(c.RangeHiX(), 10);
  c.SetRanges(0, 0, 100, 100);  // x refused on the log axis, y taken
  EXPECT_EQ(c.RangeLoX(), 0.5);
  EXPECT_EQ(c.RangeHiX(), 10);
  EXPECT_EQ(c.RangeHiY(), 100);
  c.SetRanges(2, 0, 200, 10);
  EXPECT_EQ(c.RangeLoX(), 2);
  EXPECT_EQ(c.RangeHiX(), 200);
  EXPECT_EQ(c.DataToPixel(200, 0).x, 230);  // SetRanges rescales
  c.SetXLabelType(FigType::DateTime);
  EXPECT_FALSE(c.LogScaleX());
  c.SetLogScaleX(true);
  EXPECT_FALSE(c.LogScaleX());
  c.SetXLabelType(FigType::Num);
  c.SetLogScaleX(true);
  EXPECT_TRUE(c.LogScaleX());
  c.SetLogScaleX(false);
  EXPECT_FALSE(c.LogScaleX());
}

TEST(ChartRanges, SetRangesWithEqualBoundsKeepsMappingFinite) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetRanges(5, 0, 5, 10);
  EXPECT_EQ(c.RangeLoX(), 5);
  EXPECT_EQ(c.DataToPixel(5, 0).x, 120);
  c.Paint();  // the scales of a degenerate axis draw nothing and end
}

TEST(ChartProperties, DefaultsAndClamps) {
  TRChart c;
  c.SetAutoRedraw(false);
  EXPECT_TRUE(TRChart().AutoRedraw());
  EXPECT_EQ(c.LRim(), 50);
  EXPECT_EQ(c.RRim(), 10);
  EXPECT_EQ(c.TRim(), 16);
  EXPECT_EQ(c.BRim(), 32);
  EXPECT_EQ(c.ChartColor(), clWhite);
  EXPECT_EQ(c.WindColor(), clSilver);
  EXPECT_EQ(c.ShadowColor(), clGray);
  EXPECT_EQ(c.ShadowStyle(), TShadowStyle::ssFlying);
  EXPECT_EQ(c.TextBkStyle(), TBrushStyle::bsClear);
  EXPECT_EQ(c.XLabelType(), FigType::Num);
  EXPECT_EQ(c.GridStyle(), gsNone);

  c.SetShadowWidth(40);
  EXPECT_EQ(c.ShadowWidth(), 32);
  c.SetShadowWidth(-1);
  EXPECT_EQ(c.ShadowWidth(), 0);
  c.SetDecPlaceX(7);
  EXPECT_EQ(c.DecPlaceX(), 6);
  c.SetDecPlaceY(-3);
  EXPECT_EQ(c.DecPlaceY(), -2);
  c.SetMinTickX(1);
  EXPECT_EQ(c.MinTickX(), 2);
  c.SetMinTickY(11);
  EXPECT_EQ(c.MinTickY(), 10);
  c.SetGridDx(0.0);
  EXPECT_EQ(c.GridDx(), 1.0);
  c.SetGridDy(-2);
  EXPECT_EQ(c.GridDy(), -2);
  c.SetClassDefault(7);
  c.SetClassDefault(255);
  EXPECT_EQ(c.ClassDefault(), 7);

  const std::string sixty(60, 'a');
  c.SetIdAbscissa(sixty);
  EXPECT_EQ(c.IdAbscissa(), std::string(50, 'a'));
  std::string accents;
  for (int i = 0; i < 60; ++i) accents += "\xC3\xA9";  // 60 times e-acute
  c.SetIdOrdinate(accents);
  EXPECT_EQ(c.IdOrdinate(), accents.substr(0, 100));
}

TEST(ChartProperties, ShadowAndRimsRescale) {
  TRChart c;
  c.SetAutoRedraw(false);
  c.SetShadowWidth(10);
  EXPECT_EQ(c.DataToPixel(10, 0), (TPoint{220, 118}));
  c.SetLRim(20);
  EXPECT_EQ(c.DataToPixel(0, 0).x, 20);
  c.SetTRim(0);
  EXPECT_EQ(c.DataToPixel(0, 10).y, 0);
}

TEST(DTLabel, ChangeNotifications) {
  TDTLabel d;
  int calls = 0;
  d.OnChange = [&](TDTLabel* s) {
    EXPECT_EQ(s, &d);
    ++calls;
  };
  d.SetTimeFormat(tfHHMMSS);  // always notifies
  d.SetDateOrder(doDDMMYY);   // always notifies
  EXPECT_EQ(calls, 2);
  d.SetDateSeparator('-');
  d.SetTimeSeparator(':');
  d.SetYearLength(ylYYYY);
  d.SetMonthName(true);
  d.SetDateForTime(DateForTimeType::dtOnePerDay);
  EXPECT_EQ(calls, 2);  // unchanged values are silent
  d.SetDateSeparator('/');
  d.SetTimeSeparator('.');
  d.SetYearLength(ylYY);
  d.SetMonthName(false);
  d.SetDateForTime(DateForTimeType::dtAllTicks);
  EXPECT_EQ(calls, 7);
  EXPECT_EQ(d.DateSeparator(), '/');
  EXPECT_EQ(d.YearLength(), ylYY);
}

TEST(DTLabel, ChartCopiesSettingsAndRepaintsOnChange) {
  TRecChart r;
  r.Chart.SetAutoRedraw(true);
  TDTLabel other;
  other.SetTimeFormat(tfAMPM);
  other.SetDateSeparator('.');
  other.SetMonthName(false);
  int foreign = 0;
  other.OnChange = [&](TDTLabel*) { ++foreign; };
  r.Log->clear();
  r.Chart.SetDTXFormat(other);
  EXPECT_EQ(r.Chart.DTXFormat().TimeFormat(), tfAMPM);
  EXPECT_EQ(r.Chart.DTXFormat().DateSeparator(), '.');
  EXPECT_FALSE(r.Chart.DTXFormat().MonthName());
  EXPECT_EQ(r.Chart.DTYFormat().DateOrder(), doDDMMYY);
  EXPECT_GT(r.Log->size(), 0u);  // repainted
  // The chart keeps its own handler: a change of its object repaints the chart.
  r.Log->clear();
  r.Chart.DTXFormat().SetYearLength(ylNone);
  EXPECT_GT(r.Log->size(), 0u);
  EXPECT_EQ(foreign, 0);
  r.Chart.SetAutoRedraw(false);
  r.Log->clear();
  r.Chart.DTYFormat().SetTimeFormat(tfHHhMM);
  EXPECT_EQ(r.Log->size(), 0u);
}

TEST(ChartProperties, RepaintOnlyWithAutoRedraw) {
  TRecChart r;
  r.Chart.SetAutoRedraw(true);
  r.Log->clear();
  r.Chart.SetDataColor(clRed);
  r.Chart.SetLineWidth(3);
  r.Chart.SetMouseAction(maPan);
  EXPECT_EQ(r.Log->size(), 0u);  // these store only
  r.Chart.SetCaption("Density");
  EXPECT_GT(r.Log->size(), 0u);
  r.Chart.SetAutoRedraw(false);
  r.Log->clear();
  r.Chart.SetCaption("Other");
  r.Chart.SetRangeHiX(20);
  r.Chart.SetScaleColor(clBlue);
  EXPECT_EQ(r.Log->size(), 0u);
}

TEST(DisplayList, ItemsCarryTheSettingsOfTheirTime) {
  TRChart c;
  c.SetAutoRedraw(false);
  ASSERT_EQ(c.GrafItems().size(), 1u);
  EXPECT_EQ(c.GrafItems().back().Kind, gkEnd);

  c.SetDataColor(clRed);
  c.SetLineWidth(2);
  c.SetClassDefault(9);
  c.MoveTo(1, 2);
  c.DrawTo(3, 4);
  c.SetDataColor(clBlue);
  c.Line(5, 6, 7, 8);
  c.MarkAt(1, 1, 14);
  c.FilledRectangle(0, 0, 1, 1);
  c.Bar3D(1, 2, 3, 4, 10, 45);
  c.Text(2, 2, 12, "a text longer than eighteen characters");

  const auto& it = c.GrafItems();
  ASSERT_EQ(it.size(), 8u);
  EXPECT_EQ(it[0].Kind, gkMoveTo);
  EXPECT_EQ(it[0].Color, clRed);
  EXPECT_EQ(it[0].Width, 2);
  EXPECT_EQ(it[0].Class, 9);
  EXPECT_EQ(it[1].Kind, gkLineTo);
  EXPECT_EQ(it[1].x, 3);
  EXPECT_EQ(it[1].Color, clRed);
  EXPECT_EQ(it[2].Kind, gkLine);
  EXPECT_EQ(it[2].Color, clBlue);
  EXPECT_EQ(it[2].x2, 7);
  EXPECT_EQ(it[2].y2, 8);
  EXPECT_EQ(it[3].Kind, gkMark);
  EXPECT_EQ(it[3].Mark, 14);
  EXPECT_EQ(it[4].Kind, gkFilledRect);
  EXPECT_EQ(it[5].Kind, gkBar3D);
  EXPECT_EQ(it[5].Depth, 10);
  EXPECT_EQ(it[5].Angle, 45);
  EXPECT_EQ(it[6].Kind, gkText);
  EXPECT_EQ(it[6].Size, 12);
  EXPECT_EQ(it[6].Text, "a text longer than");
  EXPECT_EQ(it[7].Kind, gkEnd);

  c.ClearGraf();
  ASSERT_EQ(c.GrafItems().size(), 1u);
  EXPECT_EQ(c.GrafItems()[0].Kind, gkEnd);
}

TEST(ChartProperties, AlignedChartFollowsItsParent) {
  QWidget parent;
  parent.resize(300, 200);
  auto* c = new TRChart(&parent);
  c->SetAlign(alClient);
  parent.show();
  parent.resize(500, 260);
  EXPECT_EQ(c->Width(), 500);
  EXPECT_EQ(c->Height(), 260);
  EXPECT_EQ(c->DataToPixel(10, 0), (TPoint{490, 228}));
}
