#pragma once
// The demo's chart: its settings from the command line, its sample data, and
// the texts of positions on its axes.
#include <string>

#include "components/chart/rchart.h"
#include "examples/chartdemo/demooptions.h"

// Size, axis types, ranges, minimum ticks, time labels and mouse mode; all
// other properties keep the component's defaults.
void ConfigureChart(TRChart& chart, const TChartDemoOptions& o);

// A few curves, marks, bars and a text, placed in the chart's current ranges.
void AddSampleData(TRChart& chart);

// A value of an axis as its labels show it: seconds as hours:minutes:seconds,
// day numbers as date and time, other values as a number.
std::string AxisValueText(FigType type, const TDTLabel& format, double v);
