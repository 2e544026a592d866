#include "components/chart/scaleengine.h"

#include <cmath>
#include <cstdlib>

#include "components/common/floattext.h"

namespace {

// Upper bound on the ticks of one loop: far above what a sane axis produces
// (about 50 labelled and 250 minor ticks), it only stops loops whose values no
// longer advance because the step is lost in the magnitude of the bounds.
constexpr int kMaxTicks = 10000;
constexpr int kLabelLength = 8;

// Cuts a label to its first 8 characters.
std::string CutLabel(std::string s) {
  if (s.size() > kLabelLength) s.resize(kLabelLength);
  return s;
}

TScaleTick MakeTick(double v, bool major) {
  TScaleTick t;
  t.Value = v;
  t.Major = major;
  return t;
}

void AddLabel(TScaleTick& t, std::string text) {
  t.HasLabel = true;
  t.Label = std::move(text);
}

}  // namespace

TNiceStep NiceStep(int n, double lo, double hi) {
  TNiceStep r;
  if (lo == hi || !std::isfinite(lo) || !std::isfinite(hi) || n <= 0) {
    r.First = lo;
    r.Step = 0.0;
    r.Sub = 1;
    return r;
  }
  const double dir = hi > lo ? 1.0 : -1.0;
  const double l = std::log10(std::fabs(hi - lo) / n);
  if (!std::isfinite(l)) {  // the span overflows a double
    r.First = lo;
    return r;
  }
  double f = l - std::trunc(l);
  double e;
  if (l < 0 && f != 0.0) {
    f += 1.0;
    e = std::trunc(l) - 1.0;
  } else {
    e = std::trunc(l);
  }
  // A quotient of exactly 2 or 5 times a power of ten gives an F a few units
  // of the last place below log10 2 or log10 5 (the rounding of log10 and of
  // the subtraction of the integer part): compare with a little slack so that
  // 0..100 in 2 intervals steps by 50, not by 20.
  constexpr double kSlack = 1e-9;
  const double log2 = std::log10(2.0) - kSlack;
  const double log5 = std::log10(5.0) - kSlack;
  double mantissa;
  if (f < log2) {
    mantissa = 1.0;
    r.Sub = 5;
  } else if (f < log5) {
    mantissa = 2.0;
    r.Sub = 4;
  } else {
    mantissa = 5.0;
    r.Sub = 5;
  }
  const double step = dir * mantissa * std::pow(10.0, e);
  if (step == 0.0 || !std::isfinite(step)) {
    r.First = lo;
    r.Step = 0.0;
    r.Sub = 1;
    return r;
  }
  double first = (std::trunc(lo / step) - 1.0) * step;
  for (int i = 0; i < kMaxTicks && dir * (lo - first) > 0.001 * std::fabs(step); ++i) {
    first += step;
  }
  r.First = first;
  r.Step = step;
  return r;
}

int AutoDecPlaces(int dp, double a, double b) {
  if (dp != -2) return dp;
  const double d = std::fabs(a - b);
  if (!(d < 1e6) || d <= 1e-4) return -1;  // NaN lands here too
  if (d >= 100) return 0;
  return 2 - static_cast<int>(std::nearbyint(0.4 * std::log(d)));
}

int AutoDecPlacesLog(int dp, double a, double b) {
  if (dp != -2) return dp;
  const double lo = a < b ? a : b;
  const double hi = a < b ? b : a;
  const double d = hi - lo;
  if (!(d < 1e6) || d <= 1e-4) return -1;
  if (lo >= 1) return 0;
  return 1 - static_cast<int>(std::nearbyint(std::log10(lo)));
}

std::string ScaleLabel(double v, int dec, bool linearZeroRule, double lo, double hi) {
  if (linearZeroRule && std::fabs(v) < 0.001 && (hi - lo) > 100000) {
    return dec == 0 ? "0" : "0.0";
  }
  return CutLabel(FloatText(1, dec, v));
}

std::vector<TScaleTick> LinearTicks(const TChartAxis& a, const TAxisRule& rule) {
  std::vector<TScaleTick> ticks;
  const TNiceStep ns = NiceStep(a.MinTick, a.Lo, a.Hi);
  if (ns.Step == 0.0) return ticks;
  const double step = ns.Step;
  const double dir = a.Hi > a.Lo ? 1.0 : -1.0;
  const bool figures = a.LabelType != FigType::NoFigs;

  if (rule.MinorTicks) {
    // Minor ticks, starting one step before the first labelled tick; an axis
    // without figures shows only these.
    const double minor = step / ns.Sub;
    const double start = ns.First - step;
    for (int i = 0; i < kMaxTicks; ++i) {
      const double v = start + i * minor;
      if (dir * v >= dir * a.Lo) ticks.push_back(MakeTick(v, false));
      const double next = start + (i + 1) * minor;
      if (!(dir * (next - a.Hi) <= 0.001 * std::fabs(minor))) break;
    }
    if (!figures) return ticks;
  }

  const int dec = AutoDecPlaces(a.DecPlace, a.Lo, a.Hi);
  for (int i = 0; i < kMaxTicks; ++i) {
    const double v = ns.First + i * step;
    TScaleTick t = MakeTick(v, true);
    if (figures) AddLabel(t, ScaleLabel(v, dec, true, a.Lo, a.Hi));
    ticks.push_back(std::move(t));
    const double next = ns.First + (i + 1) * step;
    if (!(dir * (next - a.Hi) <= 0.001 * std::fabs(step))) break;
  }
  return ticks;
}

double LogDecades(double lo, double hi) {
  const double q = hi / lo;
  if (std::isfinite(q) && q > 0) return std::log10(q);
  // The ratio overflows (or underflows): take the difference of the logarithms.
  return std::log10(hi) - std::log10(lo);
}

std::vector<TScaleTick> LogTicks(const TChartAxis& a, const TAxisRule& rule) {
  const double dec10 = LogDecades(a.Lo, a.Hi);
  if (!std::isfinite(dec10)) return {};
  if (std::fabs(dec10) < 1) return LinearTicks(a, rule);
  // The two axes count "few decades" differently: the x axis compares with
  // the magnitude plus one, the y axis with the signed count.
  const bool many = rule.ManyLogPlus ? a.MinTick > std::fabs(dec10) + 1 : a.MinTick >= dec10;

  std::vector<TScaleTick> ticks;
  const double lo = a.Lo < a.Hi ? a.Lo : a.Hi;
  const double hi = a.Lo < a.Hi ? a.Hi : a.Lo;
  if (!(lo > 0) || !std::isfinite(hi)) return ticks;
  const bool figures = a.LabelType != FigType::NoFigs;
  const int dec = AutoDecPlacesLog(a.DecPlace, lo, hi);
  const double e0 = std::floor(std::log10(lo * 0.99999));
  const double d = std::pow(10.0, e0);

  // Decade i is d * 10^i; past the range of m (more than 308 decades) it is
  // computed from its exponent.
  double m = 1.0;
  auto value = [&](double k, int i) {
    return std::isfinite(m) ? k * d * m : k * std::pow(10.0, e0 + i);
  };
  auto tick = [&](bool minor, double k, int i) {
    const double v = value(k, i);
    if (v / 0.99999 > lo && v * 0.99999 < hi) {
      TScaleTick t = MakeTick(v, !minor);
      if (!minor && figures) AddLabel(t, ScaleLabel(v, dec, false, lo, hi));
      ticks.push_back(std::move(t));
    }
  };
  // A double spans about 630 decades; the bound only guards the loop.
  for (int i = 0; i < 700; ++i) {
    tick(false, 1, i);
    if (many) {
      tick(false, 2, i);
      tick(false, 5, i);
      for (double k : {3.0, 4.0, 6.0, 7.0, 8.0, 9.0}) tick(true, k, i);
    }
    m *= 10.0;
    const double next = std::isfinite(m) ? 0.99999 * d * m : 0.99999 * value(1, i + 1);
    if (next > hi || !std::isfinite(next)) break;
  }
  return ticks;
}

std::vector<TScaleTick> NumericTicks(const TChartAxis& a, const TAxisRule& rule) {
  return a.Log ? LogTicks(a, rule) : LinearTicks(a, rule);
}

namespace {

// Mantissa digit d and exponent e of a positive value on a decimal scale.
void DecadeDigit(double v, double& e, double& d) {
  const double l = std::log10(v);
  e = std::floor(l);
  d = std::nearbyint(std::pow(10.0, l - e));
}

}  // namespace

double FirstGridValue(const TChartAxis& a, double step, double lo) {
  if (step > 0 || !a.Log) return std::ceil(lo / step) * step;
  if (step == -1) return std::pow(10.0, std::ceil(std::log10(lo)));
  double e, d;
  DecadeDigit(lo, e, d);
  if (step == -2) {
    const double m = d <= 2 ? 2 : (d <= 5 ? 5 : 10);
    return m * std::pow(10.0, e);
  }
  return d * std::pow(10.0, e);
}

double NextGridValue(const TChartAxis& a, double step, double v) {
  if (step > 0 || !a.Log) return v + std::fabs(step);
  if (step == -1) return v * 10;
  double e, d;
  DecadeDigit(v, e, d);
  const double p = std::pow(10.0, e);
  if (step == -2) {
    if (d == 1) return 2 * p;
    if (d == 2) return 5 * p;
    if (d == 5) return 10 * p;
    if (d == 10) return 20 * p;
    // Not on the 1-2-5 sequence: go on to its next member.
    return (d < 2 ? 2 : (d < 5 ? 5 : 10)) * p;
  }
  return (d + 1) * p;
}
