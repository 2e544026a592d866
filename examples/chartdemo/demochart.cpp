#include "examples/chartdemo/demochart.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "components/chart/calendar.h"
#include "components/chart/datetimescale.h"
#include "platform/monthnames.h"

namespace {

FigType LabelTypeOf(TDemoAxisType t) {
  switch (t) {
    case TDemoAxisType::atTime:
      return FigType::Time;
    case TDemoAxisType::atDateTime:
      return FigType::DateTime;
    case TDemoAxisType::atLinear:
    case TDemoAxisType::atLog:
      break;
  }
  return FigType::Num;
}

// The value at fraction u (0..1) of a range, geometric on a logarithmic axis.
double At(double lo, double hi, bool log, double u) {
  return log ? lo * std::pow(hi / lo, u) : lo + (hi - lo) * u;
}

}  // namespace

void ConfigureChart(TRChart& chart, const TChartDemoOptions& o) {
  chart.SetAutoRedraw(false);
  chart.SetBounds(chart.Left(), chart.Top(), o.Width, o.Height);
  // Room for every label type the tool bar can switch to: time labels of the y axis
  // ("10:00:00") on the left, half a date label at the right end, and the date line
  // under time-of-day labels below.
  chart.SetLRim(64);
  chart.SetRRim(36);
  chart.SetBRim(46);
  chart.SetXLabelType(LabelTypeOf(o.X.Type));
  chart.SetYLabelType(LabelTypeOf(o.Y.Type));
  chart.SetRanges(o.X.Lo, o.Y.Lo, o.X.Hi, o.Y.Hi);
  chart.SetLogScaleX(o.X.Type == TDemoAxisType::atLog);
  chart.SetLogScaleY(o.Y.Type == TDemoAxisType::atLog);
  chart.SetMinTickX(o.X.MinTick);
  chart.SetMinTickY(o.Y.MinTick);
  for (TDTLabel* f : {&chart.DTXFormat(), &chart.DTYFormat()}) {
    f->SetTimeFormat(o.TimeFormat);
    f->SetDateForTime(o.DateForTime);
  }
  chart.SetMouseAction(o.Mouse);
  chart.SetAutoRedraw(true);
}

void AddSampleData(TRChart& chart) {
  const double loX = chart.RangeLoX(), hiX = chart.RangeHiX();
  const double loY = chart.RangeLoY(), hiY = chart.RangeHiY();
  const bool logX = chart.LogScaleX(), logY = chart.LogScaleY();
  auto x = [&](double u) { return At(loX, hiX, logX, u); };
  auto y = [&](double v) { return At(loY, hiY, logY, v); };
  chart.ClearGraf();

  // Bars: two flat ones and three-dimensional ones.
  chart.SetDataColor(0xC0E0FF);  // light orange
  chart.FilledRectangle(x(0.05), y(0), x(0.12), y(0.3));
  chart.FilledRectangle(x(0.14), y(0), x(0.21), y(0.45));
  chart.SetDataColor(0xFFC080);  // light blue
  chart.Bar3D(x(0.78), y(0), x(0.84), y(0.25), 8, 45);
  chart.Bar3D(x(0.88), y(0), x(0.94), y(0.4), 8, 45);

  // Two curves: a wave and a decay, 200 points each.
  const int points = 200;
  chart.SetDataColor(clNavy);
  chart.SetLineWidth(2);
  chart.MoveTo(x(0), y(0.5));
  for (int i = 1; i <= points; ++i) {
    const double u = static_cast<double>(i) / points;
    chart.DrawTo(x(u), y(0.5 + 0.3 * std::sin(2 * std::numbers::pi * 2 * u)));
  }
  chart.SetDataColor(clRed);
  chart.SetLineWidth(1);
  chart.MoveTo(x(0), y(0.9));
  for (int i = 1; i <= points; ++i) {
    const double u = static_cast<double>(i) / points;
    chart.DrawTo(x(u), y(0.9 * std::exp(-2.5 * u) + 0.05));
  }

  // Marks along the wave, and a text at its first crest.
  chart.SetDataColor(clGreen);
  const std::uint8_t marks[] = {2, 5, 8, 11, 14, 16, 19, 21, 24, 25};
  for (int i = 0; i < 10; ++i) {
    const double u = 0.05 + 0.1 * i;
    chart.MarkAt(x(u), y(0.5 + 0.3 * std::sin(2 * std::numbers::pi * 2 * u)), marks[i]);
  }
  chart.SetDataColor(clMaroon);
  chart.Text(x(0.125), y(0.88), 10, "crest");
}

std::string AxisValueText(FigType type, const TDTLabel& format, double v) {
  if (type == FigType::Time && std::fabs(v) < 1e9) return SecondsText(v);
  if (type == FigType::DateTime && v >= 1 && v < kLastDayNumber + 1)
    return DateText(v, format, ShortMonthNames()) + " " +
           FormatDayNumber(R"(hh":"nn":"ss)", v, TMonthNames{});
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return std::string(buf, res.ptr);
}
