#pragma once
// Command line of alearix-chartdemo, parsed without side effects so that it
// can be tested on its own.
#include <stdexcept>
#include <string>
#include <vector>

#include "components/chart/dtlabel.h"
#include "components/chart/rchart.h"

// A bad option or value; what() is the one-line message.
class EDemoUsageError : public std::runtime_error {
 public:
  explicit EDemoUsageError(const std::string& msg) : std::runtime_error(msg) {}
};

// How an axis is scaled and labelled.
enum class TDemoAxisType { atLinear, atLog, atTime, atDateTime };

struct TDemoAxis {
  TDemoAxisType Type = TDemoAxisType::atLinear;
  double Lo = 0.0, Hi = 10.0;
  int MinTick = 3;
};

struct TChartDemoOptions {
  int Width = 600, Height = 400;         // --size
  TDemoAxis X, Y;                        // --x-type, --x-range, --y-..., --min-ticks
  MouseActMode Mouse = maNone;           // --mouse
  TimeFormatType TimeFormat = tfHHMMSS;  // --time-format
  DateForTimeType DateForTime = DateForTimeType::dtOnePerDay;  // --date-for-time
  std::string PngPath;                                         // --png (empty: none)
  bool PrintRanges = false;                                    // --print-ranges
  bool Help = false;                                           // --help
  bool Version = false;                                        // --version
};

// args without the program name. Throws EDemoUsageError.
TChartDemoOptions ParseChartDemoOptions(const std::vector<std::string>& args);

// The range an axis type starts with when --x-range or --y-range is not given.
void DefaultRange(TDemoAxisType type, double& lo, double& hi);

// The usage synopsis and the full --help text.
std::string ChartDemoUsage();
std::string ChartDemoHelp();

// The shortest text that reads back to the same double.
std::string ShortestText(double v);
