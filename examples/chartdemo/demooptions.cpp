#include "examples/chartdemo/demooptions.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <tuple>

#include "components/common/numparse.h"

namespace {

template <typename T>
struct TKeyword {
  const char* Name;
  T Value;
};

constexpr TKeyword<TDemoAxisType> kAxisTypes[] = {{"linear", TDemoAxisType::atLinear},
                                                  {"log", TDemoAxisType::atLog},
                                                  {"time", TDemoAxisType::atTime},
                                                  {"datetime", TDemoAxisType::atDateTime}};
constexpr TKeyword<MouseActMode> kMouseModes[] = {{"none", maNone},
                                                  {"pan", maPan},
                                                  {"zoom-window", maZoomWind},
                                                  {"zoom-window-pos", maZoomWindPos},
                                                  {"zoom-drag", maZoomDrag}};
constexpr TKeyword<TimeFormatType> kTimeFormats[] = {
    {"hhmmss", tfHHMMSS}, {"hhhmm", tfHHhMM}, {"ampm", tfAMPM}};
constexpr TKeyword<DateForTimeType> kDateForTime[] = {
    {"none", DateForTimeType::dtNone},
    {"one-per-chart", DateForTimeType::dtOnePerChart},
    {"one-per-day", DateForTimeType::dtOnePerDay},
    {"all-ticks", DateForTimeType::dtAllTicks}};

template <typename T, std::size_t N>
T Keyword(const std::string& opt, const std::string& text, const TKeyword<T> (&table)[N]) {
  std::string names;
  for (const auto& k : table) {
    if (text == k.Name) return k.Value;
    names += names.empty() ? "" : ", ";
    names += k.Name;
  }
  throw EDemoUsageError("invalid value '" + text + "' for " + opt + " (one of " + names + ")");
}

// "A,B": two parts around one comma.
void Pair(const std::string& opt, const std::string& text, const std::string& what, std::string& a,
          std::string& b) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
    throw EDemoUsageError("invalid value '" + text + "' for " + opt + " (expected " + what + ")");
  a = text.substr(0, comma);
  b = text.substr(comma + 1);
}

int Whole(const std::string& opt, const std::string& text, int lo, int hi) {
  int v = 0;
  const char* end = text.data() + text.size();
  const auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi)
    throw EDemoUsageError("invalid value '" + text + "' for " + opt + " (a whole number " +
                          std::to_string(lo) + ".." + std::to_string(hi) + ")");
  return v;
}

double Real(const std::string& opt, const std::string& text) {
  double v = 0;
  if (!TextToReal(text, v) || !std::isfinite(v))
    throw EDemoUsageError("invalid value '" + text + "' for " + opt + " (a number)");
  return v;
}

// The range of one axis, checked against its type.
void CheckRange(const char* axis, const TDemoAxis& a) {
  if (a.Lo == a.Hi)
    throw EDemoUsageError(std::string("the ") + axis + " range needs two different bounds");
  if (a.Type == TDemoAxisType::atLog &&
      (a.Lo < TChartAxis::kRangeEpsilon || a.Hi < TChartAxis::kRangeEpsilon))
    throw EDemoUsageError(std::string("a log ") + axis + " axis needs bounds of at least 1e-30");
}

}  // namespace

void DefaultRange(TDemoAxisType type, double& lo, double& hi) {
  switch (type) {
    case TDemoAxisType::atLinear:
      lo = 0;
      hi = 10;
      break;
    case TDemoAxisType::atLog:
      lo = 1;
      hi = 1000;
      break;
    case TDemoAxisType::atTime:  // one hour, in seconds
      lo = 0;
      hi = 3600;
      break;
    case TDemoAxisType::atDateTime:  // 28 October 1995, 06:00 to 18:00
      lo = 35000.25;
      hi = 35000.75;
      break;
  }
}

TChartDemoOptions ParseChartDemoOptions(const std::vector<std::string>& args) {
  TChartDemoOptions o;
  std::optional<std::pair<double, double>> xRange, yRange;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string opt = args[i];
    std::optional<std::string> inlineValue;
    if (opt.rfind("--", 0) == 0) {
      const std::size_t eq = opt.find('=');
      if (eq != std::string::npos) {
        inlineValue = opt.substr(eq + 1);
        opt.resize(eq);
      }
    }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw EDemoUsageError("option '" + opt + "' needs a value");
      return args[++i];
    };
    auto flag = [&] {
      if (inlineValue) throw EDemoUsageError("option '" + opt + "' takes no value");
    };
    auto range = [&] {
      std::string a, b;
      Pair(opt, value(), "LO,HI", a, b);
      return std::pair{Real(opt, a), Real(opt, b)};
    };
    if (opt == "--help" || opt == "-h") {
      flag();
      o.Help = true;
    } else if (opt == "--version") {
      flag();
      o.Version = true;
    } else if (opt == "--size") {
      std::string w, h;
      Pair(opt, value(), "W,H", w, h);
      o.Width = Whole(opt, w, 10, 4000);
      o.Height = Whole(opt, h, 10, 4000);
    } else if (opt == "--x-type") {
      o.X.Type = Keyword(opt, value(), kAxisTypes);
    } else if (opt == "--y-type") {
      o.Y.Type = Keyword(opt, value(), kAxisTypes);
    } else if (opt == "--x-range") {
      xRange = range();
    } else if (opt == "--y-range") {
      yRange = range();
    } else if (opt == "--min-ticks") {
      std::string nx, ny;
      Pair(opt, value(), "NX,NY", nx, ny);
      o.X.MinTick = Whole(opt, nx, 2, 10);
      o.Y.MinTick = Whole(opt, ny, 2, 10);
    } else if (opt == "--mouse") {
      o.Mouse = Keyword(opt, value(), kMouseModes);
    } else if (opt == "--time-format") {
      o.TimeFormat = Keyword(opt, value(), kTimeFormats);
    } else if (opt == "--date-for-time") {
      o.DateForTime = Keyword(opt, value(), kDateForTime);
    } else if (opt == "--png") {
      o.PngPath = value();
      if (o.PngPath.empty()) throw EDemoUsageError("option '--png' needs a file name");
    } else if (opt == "--print-ranges") {
      flag();
      o.PrintRanges = true;
    } else if (!opt.empty() && opt[0] == '-') {
      throw EDemoUsageError("unknown option '" + opt + "'");
    } else {
      throw EDemoUsageError("unexpected argument '" + opt + "'");
    }
  }
  DefaultRange(o.X.Type, o.X.Lo, o.X.Hi);
  DefaultRange(o.Y.Type, o.Y.Lo, o.Y.Hi);
  if (xRange) std::tie(o.X.Lo, o.X.Hi) = *xRange;
  if (yRange) std::tie(o.Y.Lo, o.Y.Hi) = *yRange;
  CheckRange("x", o.X);
  CheckRange("y", o.Y);
  return o;
}

std::string ChartDemoUsage() {
  return "Usage: alearix-chartdemo [--size W,H] [--x-type linear|log|time|datetime] [--x-range "
         "LO,HI]\n"
         "                         [--y-type linear|log|time|datetime] [--y-range LO,HI]\n"
         "                         [--min-ticks NX,NY]\n"
         "                         [--mouse none|pan|zoom-window|zoom-window-pos|zoom-drag]\n"
         "                         [--time-format hhmmss|hhhmm|ampm]\n"
         "                         [--date-for-time none|one-per-chart|one-per-day|all-ticks]\n"
         "                         [--png FILE] [--print-ranges]\n"
         "Try 'alearix-chartdemo --help' for more information.\n";
}

std::string ChartDemoHelp() {
  return "Usage: alearix-chartdemo [options]\n"
         "Shows the chart component with some sample data (curves, marks, bars and a text)\n"
         "for trying its axes and its mouse pan and zoom by hand.\n"
         "\n"
         "Chart:\n"
         "  --size W,H           chart size in pixels, 10..4000 (default 600,400)\n"
         "  --x-type TYPE        linear (default), log, time (seconds) or datetime (day\n"
         "  --y-type TYPE        numbers counted from 30 December 1899)\n"
         "  --x-range LO,HI      axis range; by type the default is 0,10 (linear), 1,1000\n"
         "  --y-range LO,HI      (log), 0,3600 (time), 35000.25,35000.75 (datetime)\n"
         "  --min-ticks NX,NY    smallest number of labelled intervals, 2..10 (default 3,3)\n"
         "  --mouse MODE         none (position only, default), pan, zoom-window,\n"
         "                       zoom-window-pos or zoom-drag\n"
         "  --time-format F      time-of-day labels: hhmmss (09:00, default), hhhmm (9h),\n"
         "                       ampm (9am)\n"
         "  --date-for-time M    date under time-of-day labels: none, one-per-chart,\n"
         "                       one-per-day (default), all-ticks\n"
         "\n"
         "Output:\n"
         "  --png FILE           draw the chart into a PNG picture, without a window\n"
         "  --print-ranges       on quitting, print the final ranges as 'x LO HI' and\n"
         "                       'y LO HI'\n"
         "  --help               show this text\n"
         "  --version            show the program's name and version\n"
         "\n"
         "In the window: the tool bar sets the mouse mode (Ctrl+1..Ctrl+5), the label types\n"
         "of both axes and the time format; Ctrl+R restores the start ranges; Ctrl+Q quits.\n"
         "Zoom window: click two corners (a right click cancels). Pan and zoom drag: hold\n"
         "the left button.\n"
         "\n"
         "Exit status: 0 on success, 1 when the picture cannot be written, 2 on a bad option.\n";
}

std::string ShortestText(double v) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}
