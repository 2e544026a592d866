// alearix-chartdemo: one chart with sample data, for trying the chart's axes
// and its mouse pan and zoom by hand; or, with --png, its picture.
#include <QApplication>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "components/chart/rchart.h"
#include "examples/chartdemo/demochart.h"
#include "examples/chartdemo/demooptions.h"
#include "examples/chartdemo/demowindow.h"
#include "platform/textio/textfile.h"

namespace {

void PrintRanges(const TRChart& c) {
  const std::string text = "x " + ShortestText(c.RangeLoX()) + " " + ShortestText(c.RangeHiX()) +
                           "\ny " + ShortestText(c.RangeLoY()) + " " + ShortestText(c.RangeHiY()) +
                           "\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

// Encodes the chart's picture in memory and writes it through the safe writer,
// which replaces the file only when it is complete.
void WritePng(const TRChart& chart, const std::string& path) {
  const std::optional<std::string> png = EncodePng(chart.CanvasBitmap());
  if (!png) throw EInOutError("Picture cannot be encoded");
  TTextFileWriter out(path);
  out.Write(*png);
  out.Commit();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  TChartDemoOptions o;
  try {
    o = ParseChartDemoOptions(args);
  } catch (const EDemoUsageError& e) {
    std::fprintf(stderr, "alearix-chartdemo: %s\n%s", e.what(), ChartDemoUsage().c_str());
    return 2;
  }
  if (o.Help) {
    std::fputs(ChartDemoHelp().c_str(), stdout);
    return 0;
  }
  if (o.Version) {
    std::fputs("alearix-chartdemo 1.0\n", stdout);
    return 0;
  }

  // The picture needs no display: Qt's offscreen platform draws the same pixels.
  if (!o.PngPath.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's start-up notes (such as a missing runtime folder) are not the user's concern.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
  });
  static int qtArgc = 1;  // the options are ours, not Qt's
  QApplication app(qtArgc, argv);

  if (!o.PngPath.empty()) {
    TRChart chart;
    ConfigureChart(chart, o);
    AddSampleData(chart);
    chart.Paint();
    try {
      WritePng(chart, o.PngPath);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "alearix-chartdemo: %s: %s\n", o.PngPath.c_str(), e.what());
      return 1;
    }
    if (o.PrintRanges) PrintRanges(chart);
    return 0;
  }

  TDemoWindow window(o);
  window.show();
  window.FitChart();
  const int rc = QApplication::exec();
  if (o.PrintRanges) PrintRanges(window.Chart());
  return rc;
}
