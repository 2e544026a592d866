#pragma once
// Tick arithmetic of the chart's numeric axes, kept apart from the drawing:
// these functions decide where the ticks go and what the labels say; the chart
// only walks the resulting lists and places them on its surface.
#include <string>
#include <vector>

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
// label is present only on major ticks of axes that show figures.
struct TScaleTick {
  double Value = 0.0;
  bool Major = false;
  bool HasLabel = false;
  std::string Label;
};

// What the tick producers need to know about one axis.
struct TAxisSettings {
  double Lo = 0.0;  // the range bounds as set (Lo > Hi: reversed axis)
  double Hi = 0.0;
  int MinTick = 3;      // smallest number of labelled intervals
  int DecPlace = 1;     // -2 automatic, -1 scientific, 0..6 decimals
  bool Figures = true;  // false for an axis without tick labels
};

// Linear x axis: the minor ticks (every subdivision, majors included) first,
// then, only when the axis shows figures, the labelled major ticks.
std::vector<TScaleTick> LinearXTicks(const TAxisSettings& a);
// Linear y axis: major ticks only, labelled when the axis shows figures.
std::vector<TScaleTick> LinearYTicks(const TAxisSettings& a);
// Logarithmic axes: the decades, and 2 and 5 times them plus minor ticks at
// 3, 4, 6..9 when the axis spans few decades. Less than one decade falls back
// to the linear ticks of the same axis.
std::vector<TScaleTick> LogXTicks(const TAxisSettings& a);
std::vector<TScaleTick> LogYTicks(const TAxisSettings& a);
