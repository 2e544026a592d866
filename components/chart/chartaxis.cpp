#include "components/chart/chartaxis.h"

#include <cmath>

namespace {

// Time steps in seconds. The x axis ticks every 5 seconds at the finest and
// subdivides each step; the y axis goes down to 1 second without subdivisions.
constexpr TTimeStep kXTimeSteps[] = {
    {5, 5},    {10, 5},    {20, 4},    {30, 6},    {60, 6},    {120, 6},
    {180, 6},  {300, 5},   {600, 5},   {1200, 6},  {1800, 6},  {3600, 6},
    {7200, 4}, {14400, 4}, {21600, 6}, {43200, 6}, {86400, 6},
};
constexpr TTimeStep kYTimeSteps[] = {
    {1, 1},    {2, 1},     {5, 1},     {10, 1},    {20, 1},    {30, 1},   {60, 1},
    {120, 1},  {180, 1},   {300, 1},   {600, 1},   {1200, 1},  {1800, 1}, {3600, 1},
    {7200, 1}, {14400, 1}, {21600, 1}, {43200, 1}, {86400, 1},
};

}  // namespace

const TAxisRule kXAxisRule{true, true, true, kXTimeSteps};
const TAxisRule kYAxisRule{false, false, false, kYTimeSteps};

std::pair<double, double> TChartAxis::WithLow(double v) const {
  if (std::fabs(Hi - v) > kRangeEpsilon) {
    if (Log && v < kRangeEpsilon) return {Lo, Hi};
    return {v, Hi};
  }
  return {Hi - 1, Hi + 1};
}

std::pair<double, double> TChartAxis::WithHigh(double v) const {
  if (std::fabs(Lo - v) > kRangeEpsilon) {
    if (Log && v < kRangeEpsilon) return {Lo, Hi};
    return {Lo, v};
  }
  return {Lo - 1, Lo + 1};
}

bool TChartAxis::TakesRange(double lo, double hi) const {
  if (!(std::fabs(Lo - Hi) > kRangeEpsilon)) return false;
  return !Log || (lo >= kRangeEpsilon && hi >= kRangeEpsilon);
}

bool TChartAxis::AllowsLog() const {
  return Lo >= kRangeEpsilon && Hi >= kRangeEpsilon && LabelType != FigType::DateTime;
}

void TChartAxis::CalcScale(int pixLo, int pixHi, int extent, double middle) {
  if (extent > 0) {
    const double lo = Log ? std::log(Lo) : Lo;
    const double hi = Log ? std::log(Hi) : Hi;
    K = (pixHi - pixLo) / (hi - lo);
    O = (hi * pixLo - lo * pixHi) / (hi - lo);
    if (std::isfinite(K) && std::isfinite(O) && K != 0.0) return;
  }
  // No area, or bounds that give no usable scale.
  K = 0.0;
  O = middle;
}

double TChartAxis::Map(double v, double lowEdge, double highEdge) const {
  const double edge = Hi >= Lo ? lowEdge : highEdge;
  double f;
  if (!Log) {
    f = K * v + O;
  } else if (v > kRangeEpsilon) {
    f = K * std::log(v) + O;
  } else {
    f = edge;
  }
  return std::isnan(f) ? edge : f;
}

double TChartAxis::Unmap(double p) const {
  if (K == 0.0) return Log ? std::sqrt(Lo * Hi) : (Lo + Hi) * 0.5;
  const double v = (p - O) / K;
  return Log ? std::exp(v) : v;
}
