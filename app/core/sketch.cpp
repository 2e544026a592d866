#include "app/core/sketch.h"

#include <algorithm>
#include <cmath>

#include "engine/alearix.h"

namespace {

// The class of x as a real number of class widths from the lower limit (for reversed
// ranges too); class edge i lies at i - 1.
double ClassPosition(const TAlearix& gen, double x) {
  return (x - gen.LowerLimit) / (gen.UpperLimit - gen.LowerLimit) * gen.Resolution();
}

bool Drawable(const TAlearix& gen) {
  const double width = gen.UpperLimit - gen.LowerLimit;
  return width != 0 && std::isfinite(width);
}

}  // namespace

void SketchSegment(TAlearix& gen, double x0, double y0, double x1, double y1) {
  if (!Drawable(gen)) return;
  if (!(std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1))) return;
  // Only the edges between the two ends are visited, found from their class numbers;
  // the exact test against ClassEdge decides at the ends.
  const double r = gen.Resolution();
  double t0 = std::fmin(std::fmax(ClassPosition(gen, x0), -1.0), r + 1);
  double t1 = std::fmin(std::fmax(ClassPosition(gen, x1), -1.0), r + 1);
  if (t0 > t1) std::swap(t0, t1);
  const int first = std::max(1, static_cast<int>(std::floor(t0)));
  const int last = std::min(gen.Resolution(), static_cast<int>(std::ceil(t1)) + 1);
  const double lo = std::fmin(x0, x1), hi = std::fmax(x0, x1);
  for (int i = first; i <= last; ++i) {
    const double e = gen.ClassEdge(i);
    if (e < lo || e > hi) continue;
    const double v = x1 == x0 ? y1 : y0 + (e - x0) * (y1 - y0) / (x1 - x0);
    gen.SetRefPoint(i, v);
  }
}

void SketchPoint(TAlearix& gen, double x, double y) {
  if (!Drawable(gen) || !std::isfinite(x) || !std::isfinite(y)) return;
  const double t = ClassPosition(gen, x);
  const int i =
      static_cast<int>(std::lround(std::fmin(std::fmax(t, 0.0), gen.Resolution() - 1.0))) + 1;
  gen.SetRefPoint(i, y);
}
