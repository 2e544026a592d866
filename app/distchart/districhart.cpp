#include "app/distchart/districhart.h"

#include "app/core/export.h"
#include "components/chart/rchart.h"
#include "engine/alearix.h"
#include "platform/surface.h"
#include "platform/syscolors.h"

namespace {

constexpr TColor kCurveColor = 0xFF0000;      // blue
constexpr TColor kHistogramColor = 0xFFE0C0;  // light blue

void AddCurve(TRChart& chart, const TAlearix& gen) {
  chart.MoveTo(gen.LowerLimit, 0.0);
  chart.SetDataColor(kCurveColor);
  for (int i = 1; i <= kDistriChartPoints; ++i) chart.DrawTo(gen.ClassEdge(i), gen.GetRefPoint(i));
  chart.DrawTo(gen.UpperLimit, 0.0);
}

}  // namespace

void SetupDistriChart(TRChart& chart) {
  chart.SetAutoRedraw(false);  // first, so that the settings below do not paint
  chart.SetWidth(557);
  chart.SetHeight(328);
  chart.SetTRim(20);
  chart.SetBRim(44);
  chart.SetClassDefault(0);
  chart.SetGridStyle(gsNone);
  chart.SetGridDx(1.0);
  chart.SetGridDy(1.0);
  chart.SetLogScaleX(false);
  chart.SetLogScaleY(false);
  chart.SetRangeLoX(kStartLowerLimit);
  chart.SetRangeHiX(kStartUpperLimit);
  chart.SetRangeHiY(1.1);
  chart.SetWindColor(SysColorBtnFace());
  chart.SetCaption("Probability Distribution");
  chart.SetIdAbscissa("Range of generated random numbers");
  chart.SetXLabelType(FigType::Num);
  chart.SetYLabelType(FigType::Num);
  chart.SetMouseAction(maNone);
  chart.SetMouseCursorFixed(true);
  chart.SetShadowStyle(TShadowStyle::ssFlying);
  chart.SetShadowColor(clGray);
  chart.SetShadowBakColor(clSilver);
  chart.SetTextFontStyle({TFontStyle::fsBold});
  chart.SetTextBkStyle(TBrushStyle::bsSolid);
  chart.SetTextBkColor(clBlue);
  TFont font;
  font.Name = "Arial";
  font.PixelSize = 13;
  font.Color = clBlack;
  chart.SetFont(font);
}

void DrawDistri(TRChart& chart, const TAlearix& gen) {
  chart.ClearGraf();
  AddCurve(chart, gen);
  chart.ShowGraf();
}

void DrawHistogram(TRChart& chart, const TAlearix& gen, const THistogram& hist) {
  chart.SetDataColor(kHistogramColor);
  for (int i = 1; i <= kDistriChartPoints; ++i) {
    const double x = gen.ClassEdge(i);
    chart.Line(x, 0.0, x, hist.Count(i) / hist.Scale);
  }
  AddCurve(chart, gen);
  chart.ShowGraf();
}
