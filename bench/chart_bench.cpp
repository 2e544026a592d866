// Paint cost of the chart as the desktop program shows it after "Calc": a
// density curve, a histogram of 500 vertical lines and the curve again.
// Our chart (display list, surface layer, scales) is measured next to the same
// polylines and lines drawn straight with QPainter into a QImage; the same
// chart with date/time x axes next to numeric ones; and one pan step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <string>
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

// A chart whose mouse handler the benchmark can call.
class TBenchChart : public TRChart {
 public:
  using TRChart::MouseMove;
};

// The chart after "Calc" over x = -300..300, or with its x values moved
// linearly into loX..hiX.
std::unique_ptr<TBenchChart> MakeChart(double loX = -300, double hiX = 300) {
  auto c = std::make_unique<TBenchChart>();
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
  if (loX != -300 || hiX != 300) {
    std::vector<TGrafItem> items = c->GrafItems();
    auto moved = [&](double x) { return loX + (x + 300) / 600 * (hiX - loX); };
    c->ClearGraf();
    for (const TGrafItem& it : items) {
      c->SetDataColor(it.Color);
      if (it.Kind == gkMoveTo) c->MoveTo(moved(it.x), it.y);
      if (it.Kind == gkLineTo) c->DrawTo(moved(it.x), it.y);
      if (it.Kind == gkLine) c->Line(moved(it.x), it.y, moved(it.x2), it.y2);
    }
    c->SetRanges(loX, 0, hiX, 1.1);
  }
  return c;
}

// A full paint of the chart over a range of day numbers with numeric labels
// (range(1) = 0) or date/time labels (range(1) = 1); range(0) is the span:
// 0 twelve hours, 1 ten years.
void BM_ChartDayRangePaint(benchmark::State& state) {
  const double lo = 35000.25;
  const double hi = state.range(0) == 0 ? lo + 0.5 : lo + 3652.5;
  auto c = MakeChart(lo, hi);
  c->SetXLabelType(state.range(1) == 1 ? FigType::DateTime : FigType::Num);
  for (auto _ : state) {
    c->Paint();
    benchmark::DoNotOptimize(c->CanvasBitmap().Image().constBits());
  }
  state.SetLabel(std::string(state.range(0) == 0 ? "12 hours" : "10 years") +
                 (state.range(1) == 1 ? ", DateTime labels" : ", numeric labels"));
}
BENCHMARK(BM_ChartDayRangePaint)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

// One pan step: a mouse move with the left button held, which sets the ranges
// and paints the whole chart.
void BM_ChartPanStep(benchmark::State& state) {
  auto c = MakeChart();
  c->SetMouseAction(maPan);
  const TShiftState left{TShiftFlag::ssLeft};
  c->MouseMove(left, 200, 150);  // starts the drag
  int step = 0;
  for (auto _ : state) {
    c->MouseMove(left, 200 + (++step % 40), 150);
    benchmark::DoNotOptimize(c->CanvasBitmap().Image().constBits());
  }
  state.SetLabel(std::to_string(c->GrafItems().size() - 1) + " items");
}
BENCHMARK(BM_ChartPanStep)->Unit(benchmark::kMicrosecond);

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
