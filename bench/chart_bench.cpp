// Paint cost of the chart as the desktop program shows it after "Calc": a
// density curve, a histogram of 500 vertical lines and the curve again.
// Our chart (display list, surface layer, scales) is measured next to the same
// polylines and lines drawn straight with QPainter into a QImage.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <vector>

#include "components/chart/rchart.h"
#include "platform/qtsurface.h"

namespace {

constexpr int kClasses = 500;

double Density(double x) {
  return std::exp(-0.5 * (x / 100) * (x / 100));
}

void AddCurve(TRChart& c) {
  c.MoveTo(-300, Density(-300));
  for (int i = 0; i <= kClasses; ++i) {
    const double x = -300 + 600.0 * i / kClasses;
    c.DrawTo(x, Density(x));
  }
}

std::unique_ptr<TRChart> MakeChart() {
  auto c = std::make_unique<TRChart>();
  c->SetAutoRedraw(false);
  c->SetBounds(0, 0, 557, 328);
  c->SetTRim(20);
  c->SetBRim(44);
  c->SetRangeLoX(-300);
  c->SetRangeHiX(300);
  c->SetRangeLoY(0);
  c->SetRangeHiY(1.1);
  c->ClearGraf();
  c->SetDataColor(clNavy);
  AddCurve(*c);
  c->SetDataColor(clRed);
  for (int i = 1; i <= kClasses; ++i) {
    const double x = -300 + 600.0 * (i - 0.5) / kClasses;
    c->Line(x, 0, x, 0.8 * Density(x) * ((i * 7919) % 13 + 7) / 13.0);
  }
  c->SetDataColor(clNavy);
  AddCurve(*c);
  return c;
}

void BM_ChartFullPaint(benchmark::State& state) {
  auto c = MakeChart();
  for (auto _ : state) {
    c->Paint();
    benchmark::DoNotOptimize(c->CanvasBitmap().Image().constBits());
  }
}
BENCHMARK(BM_ChartFullPaint)->Unit(benchmark::kMicrosecond);

// The chart area only (what ShowGraf redraws): background, items, frame, copy.
void BM_ChartShowGraf(benchmark::State& state) {
  auto c = MakeChart();
  c->SetAutoRedraw(true);
  for (auto _ : state) {
    c->ShowGraf();
    benchmark::DoNotOptimize(c->CanvasBitmap().Image().constBits());
  }
}
BENCHMARK(BM_ChartShowGraf)->Unit(benchmark::kMicrosecond);

// The same chart area painted directly: the pixel lists are prepared once, as
// a hand-written widget would keep them.
void BM_DirectQPainter(benchmark::State& state) {
  auto c = MakeChart();
  const int l = c->LRim(), t = c->TRim();
  const int cw = c->Width() - l - c->RRim(), ch = c->Height() - t - c->BRim();
  std::vector<std::vector<QPoint>> polylines;
  std::vector<std::pair<QPoint, QPoint>> lines;
  std::vector<QPoint> run;
  for (const TGrafItem& it : c->GrafItems()) {
    const TPoint p = c->DataToPixel(it.x, it.y);
    const QPoint q(p.x - l, p.y - t);
    if (it.Kind == gkMoveTo) {
      if (run.size() > 1) polylines.push_back(run);
      run = {q};
    } else if (it.Kind == gkLineTo) {
      run.push_back(q);
      if (run.size() == 200) {
        polylines.push_back(run);
        run = {q};
      }
    } else if (it.Kind == gkLine) {
      const TPoint p2 = c->DataToPixel(it.x2, it.y2);
      lines.push_back({q, QPoint(p2.x - l, p2.y - t)});
    }
  }
  if (run.size() > 1) polylines.push_back(run);

  QImage area(cw + 1, ch + 1, QImage::Format_RGB32);
  QImage window(c->Width(), c->Height(), QImage::Format_RGB32);
  const QColor navy = ToQColor(clNavy), red = ToQColor(clRed);
  for (auto _ : state) {
    {
      QPainter p(&area);
      p.fillRect(0, 0, cw + 1, ch + 1, Qt::white);
      p.setPen(QPen(navy, 0));
      for (std::size_t i = 0; i < polylines.size(); ++i) {
        if (i == polylines.size() / 2) {  // the histogram lies between the two curves
          p.setPen(QPen(red, 0));
          for (const auto& ln : lines) p.drawLine(ln.first, ln.second);
          p.setPen(QPen(navy, 0));
        }
        p.drawPolyline(polylines[i].data(), static_cast<int>(polylines[i].size()));
      }
      p.setPen(QPen(Qt::black, 0));
      p.drawRect(0, 0, cw, ch);
    }
    {
      QPainter p(&window);
      p.drawImage(l, t, area);
    }
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_DirectQPainter)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
