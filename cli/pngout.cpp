#include <QApplication>
#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "app/distchart/districhart.h"
#include "app/core/export.h"
#include "cli/gen.h"
#include "components/chart/rchart.h"
#include "engine/alearix.h"

// --png: the chart exactly as the main window shows it after "Calc" (the density curve,
// the histogram lines under it, the curve again), saved as a PNG picture.
namespace {

void RenderPng(const TGenOptions& opts, const TAlearix& gen, const THistogram& hist) {
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

  // Replaces the target only when the whole picture was written.
  QSaveFile file(QString::fromStdString(opts.PngPath));
  if (!file.open(QIODevice::WriteOnly) || !chart.CanvasBitmap().Image().save(&file, "PNG") ||
      !file.commit())
    throw std::runtime_error(file.errorString().isEmpty() ? "Cannot write the picture"
                                                          : file.errorString().toStdString());
}

}  // namespace

TPngHook GenPngRenderer() {
  return &RenderPng;
}
