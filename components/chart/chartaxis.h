#pragma once
// One axis of a chart: its bounds, logarithmic switch, label settings and the
// linear map between data values and control pixels. Both chart axes are of
// this type; TAxisRule holds what differs between the abscissa and the
// ordinate. Qt-free, so that the scale arithmetic can be tested on its own.
#include <cstddef>
#include <span>
#include <utility>

#include "components/chart/dtlabel.h"

// What an axis shows as tick labels.
enum class FigType { NoFigs, Num, Time, NoScales, DateTime };

// One entry of a time step table: a step in seconds and its subdivisions.
struct TTimeStep {
  double Seconds;
  int Sub;
};

// The differences between the two axes of a chart.
struct TAxisRule {
  bool Abscissa;     // the x axis: ticks below the chart area, labels centred on them
  bool MinorTicks;   // linear scales also draw a short tick at every subdivision
  bool ManyLogPlus;  // intermediate log ticks when MinTick > |decades| + 1 (x);
                     // otherwise when MinTick >= decades, signed (y)
  std::span<const TTimeStep> TimeSteps;  // the time step table; its last entry
                                         // (one day) only bounds the search
};

extern const TAxisRule kXAxisRule;
extern const TAxisRule kYAxisRule;

class TChartAxis {
 public:
  // Smallest accepted distance between two bounds, and smallest bound of a
  // logarithmic axis.
  static constexpr double kRangeEpsilon = 1e-30;

  double Lo = 0.0;  // the bounds as set; Lo > Hi gives a reversed axis
  double Hi = 10.0;
  bool Log = false;
  int DecPlace = 1;  // -2 automatic, -1 scientific, 0..6 decimals
  int MinTick = 3;   // smallest number of labelled intervals
  FigType LabelType = FigType::Num;
  TDTLabel DTFormat;

  // Scale factors: pixel = K * v + O, with v the natural logarithm of the
  // value on a logarithmic axis.
  double K = 0.0;
  double O = 0.0;

  // The bounds after setting the low (or high) bound to v: a bound within
  // kRangeEpsilon of the other one widens the axis to other-1..other+1; a
  // logarithmic axis refuses a bound below kRangeEpsilon.
  std::pair<double, double> WithLow(double v) const;
  std::pair<double, double> WithHigh(double v) const;
  // Whether both bounds may be replaced at once (a pan or zoom step): only
  // when the current range is wider than kRangeEpsilon, and on a logarithmic
  // axis only by bounds of at least kRangeEpsilon.
  bool TakesRange(double lo, double hi) const;
  // Whether the axis may become logarithmic.
  bool AllowsLog() const;

  // Sets K and O so that Lo maps to pixel pixLo and Hi to pixHi; with an
  // empty area (pixLo == pixHi, or an extent <= 0) every value maps to middle.
  void CalcScale(int pixLo, int pixHi, int extent, double middle);
  // The pixel of v, not rounded. A value that is not positive on a
  // logarithmic axis, or not a number, goes to the control edge at the low
  // end of the axis: lowEdge for an ascending axis, highEdge for a reversed one.
  double Map(double v, double lowEdge, double highEdge) const;
  // The value at pixel p; the middle of the range when the axis has no area.
  double Unmap(double p) const;
};
