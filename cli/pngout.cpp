#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/core/export.h"
#include "app/distchart/districhart.h"
#include "cli/gen.h"
#include "components/chart/rchart.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"

// --png: the chart exactly as the main window shows it after "Calc" (the density curve,
// the histogram lines under it, the curve again), encoded as a PNG picture in memory;
// the caller writes it through the same safe writer as every other output.
namespace {

std::string RenderPng(const TAlearix& gen, const THistogram& hist) {
  // The chart is a widget and needs an application object; without a display Qt's
  // offscreen platform does, and it draws the same pixels.
  std::unique_ptr<QApplication> app;
  if (!QApplication::instance()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "alearix-gen";
    static char* argv[] = {arg0, nullptr};
    // Qt's start-up notes (such as a missing runtime folder) are not the user's concern here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
      if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    app = std::make_unique<QApplication>(argc, argv);
  }

  TRChart chart;
  SetupDistriChart(chart);
  DrawDistri(chart, gen);
  DrawHistogram(chart, gen, hist);

  std::optional<std::string> png = EncodePng(chart.CanvasBitmap());
  if (!png) throw EInOutError("Picture cannot be encoded");
  return std::move(*png);
}

}  // namespace

TPngHook GenPngRenderer() {
  return &RenderPng;
}
