#pragma once
// Tick arithmetic of the chart's numeric axes and grids, kept apart from the
// drawing: these functions decide where the ticks go and what the labels say;
// the chart only walks the resulting lists and places them on its surface.
// They work on one axis and the rule of its side (x or y).
#include <string>
#include <vector>

#include "components/chart/chartaxis.h"

// The result of NiceStep: the first tick at or beyond lo, the signed step
// between labelled ticks and the number of subdivisions of a step.
struct TNiceStep {
  double First = 0.0;
  double Step = 0.0;
  int Sub = 1;
};

// The step is 1, 2 or 5 times a power of ten, the largest such number not above
// |hi - lo| / N, signed in the direction from lo to hi. Equal bounds give step 0.
// Non-finite input also gives step 0 (no ticks).
TNiceStep NiceStep(int n, double lo, double hi);

// Decimals for the labels of a linear axis over a..b: dp unless dp is -2
// (automatic); -1 means scientific notation.
int AutoDecPlaces(int dp, double a, double b);
// The same for a logarithmic axis.
int AutoDecPlacesLog(int dp, double a, double b);

// Label of a tick value: FloatText(1, dec, v) cut to 8 characters. With
// linearZeroRule set (linear axes) a value below 0.001 in magnitude on an axis
// with hi - lo above 100000 prints as "0" (dec 0) or "0.0".
std::string ScaleLabel(double v, int dec, bool linearZeroRule, double lo, double hi);

// One tick of an axis, in drawing order. Minor ticks are the short ones; a
// label is present only on major ticks of axes that show figures. DateLabel
// is the date that accompanies a time-of-day label (date/time axes only).
struct TScaleTick {
  double Value = 0.0;
  bool Major = false;
  bool HasLabel = false;
  std::string Label;
  std::string DateLabel;
};

// Linear axis: on the x axis the minor ticks (every subdivision, majors
// included) first, then, only when the axis shows figures, the labelled major
// ticks; the y axis has major ticks only, labelled when it shows figures.
std::vector<TScaleTick> LinearTicks(const TChartAxis& a, const TAxisRule& rule);
// Logarithmic axis: the decades, and 2 and 5 times them plus minor ticks at
// 3, 4, 6..9 when the axis spans few decades. Less than one decade falls back
// to the linear ticks of the same axis.
std::vector<TScaleTick> LogTicks(const TChartAxis& a, const TAxisRule& rule);
// The numeric scale of an axis: LogTicks or LinearTicks by its switch.
std::vector<TScaleTick> NumericTicks(const TChartAxis& a, const TAxisRule& rule);

// Decimal decades from lo to hi (negative when hi < lo), also when hi / lo
// overflows a double.
double LogDecades(double lo, double hi);

// Grid values of an axis. On a linear axis, or for a positive step, the grid
// runs in steps of |step| from the first multiple of step at or above lo; on a
// logarithmic axis step -1 goes by decades, -2 along 1, 2, 5, 10, 20, ... and
// any other negative step along 1..9 times each decade.
double FirstGridValue(const TChartAxis& a, double step, double lo);
double NextGridValue(const TChartAxis& a, double step, double v);
