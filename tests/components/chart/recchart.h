#pragma once
// The chart tests' fixture: a chart whose two bitmaps record their drawing
// instead of painting pixels. AutoRedraw is off, so only Paint() draws.
#include <memory>
#include <string>
#include <vector>

#include "components/chart/rchart.h"
#include "tests/support/recsurface.h"

struct TRecChart {
  // Numbers of the chart's recording bitmaps (created in this order).
  static constexpr int kArea = 1;
  static constexpr int kWindow = 2;

  std::shared_ptr<TRecLog> Log = std::make_shared<TRecLog>();
  TRChart Chart;

  TRecChart() {
    Chart.SetAutoRedraw(false);
    Chart.SetBitmapFactory(RecordingFactory(Log));
  }
  // Item pixel in chart-area coordinates.
  TPoint AreaPixel(double x, double y) const {
    const TPoint p = Chart.DataToPixel(x, y);
    return {p.x - Chart.LRim(), p.y - Chart.TRim()};
  }
  std::vector<TRecCall> Calls(TRecKind k, int bitmap) const { return Log->OfKind(k, bitmap); }
  void Paint() {
    Log->clear();
    Chart.Paint();
  }
  // The texts of the last paint on the window bitmap, in drawing order.
  std::vector<std::string> WindowTexts() const {
    std::vector<std::string> texts;
    for (const auto& c : Calls(TRecKind::rkTextOut, kWindow)) texts.push_back(c.Text);
    return texts;
  }
};
