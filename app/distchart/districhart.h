#pragma once
// The probability-distribution chart: its settings and the two drawings made in it,
// shared by the main window and the command-line PNG output.
#include "app/core/session.h"

class TRChart;
class TAlearix;
struct THistogram;

// Number of density points drawn, whatever the engine's resolution.
inline constexpr int kDistriChartPoints = kStartResolution;

// Applies the chart settings of the main window (size 557 x 328, rims, ranges,
// colours, captions); AutoRedraw ends up false, so nothing is painted here.
void SetupDistriChart(TRChart& chart);

// Clears the chart and draws the density curve in blue: up at the lower limit, along
// the reference points at the lower class edges, down at the upper limit; then shows it.
void DrawDistri(TRChart& chart, const TAlearix& gen);

// Adds the histogram of an export under the curve: one light-blue vertical line per
// class scaled by the histogram's scale, then the density curve again; then shows it.
void DrawHistogram(TRChart& chart, const TAlearix& gen, const THistogram& hist);
