#include "app/core/fitreport.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>

#include "engine/alearix.h"

namespace {

// The density's table in class units: points 1..Resolution and the 0 it falls to.
std::vector<double> Points(const TAlearix& gen) {
  std::vector<double> p = gen.RefPoints();
  p.push_back(0.0);
  return p;
}

// The mass of class j (0-based) in class units: the integral of p + u d over u in 0..1.
double ClassMass(const std::vector<double>& p, std::size_t j) {
  return (p[j] + p[j + 1]) * 0.5;
}

std::optional<double> Finite(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

using TJson = nlohmann::ordered_json;  // keys in the order written

template <typename T>
TJson JsonOf(const std::optional<T>& v) {
  return v ? TJson(*v) : TJson(nullptr);
}

TJson JsonOf(const TMoments& m) {
  return {{"mean", JsonOf(m.Mean)},
          {"sd", JsonOf(m.Sd)},
          {"skewness", JsonOf(m.Skewness)},
          {"excess_kurtosis", JsonOf(m.ExcessKurtosis)}};
}

}  // namespace

TMoments DensityMoments(const TAlearix& gen) {
  const std::vector<double> p = Points(gen);
  const std::size_t classes = p.size() - 1;
  // In class units t = (x - LowerLimit) / w, class j spans t = j..j + 1 with the density
  // p[j] + u (p[j + 1] - p[j]), u = t - j.
  double mass = 0, first = 0;
  for (std::size_t j = 0; j < classes; ++j) {
    const double a = p[j], d = p[j + 1] - p[j];
    mass += a + d / 2;
    first += static_cast<double>(j) * (a + d / 2) + a / 2 + d / 3;
  }
  if (!(mass > 0)) throw EDistributionError();
  const double meanT = first / mass;
  // Central moments k = 2..4: the integral of (s + u)^k (a + u d) over u in 0..1 with
  // s = j - mean, expanded binomially: sum over l of C(k,l) s^(k-l) (a/(l+1) + d/(l+2)).
  double central[5] = {};
  for (std::size_t j = 0; j < classes; ++j) {
    const double a = p[j], d = p[j + 1] - p[j];
    const double s = static_cast<double>(j) - meanT;
    double uPart[5];  // integral of u^l (a + u d)
    for (int l = 0; l <= 4; ++l) uPart[l] = a / (l + 1) + d / (l + 2);
    const double s2 = s * s;
    central[2] += s2 * uPart[0] + 2 * s * uPart[1] + uPart[2];
    central[3] += s2 * s * uPart[0] + 3 * s2 * uPart[1] + 3 * s * uPart[2] + uPart[3];
    central[4] += s2 * s2 * uPart[0] + 4 * s2 * s * uPart[1] + 6 * s2 * uPart[2] +
                  4 * s * uPart[3] + uPart[4];
  }
  for (double& c : central) c /= mass;

  const double w = (gen.UpperLimit - gen.LowerLimit) / static_cast<double>(classes);
  TMoments m;
  m.Mean = Finite(gen.LowerLimit + w * meanT);
  m.Sd = Finite(std::fabs(w) * std::sqrt(central[2]));
  if (w != 0 && central[2] > 0) {
    const double sign = w < 0 ? -1.0 : 1.0;  // a reversed range mirrors the shape
    m.Skewness = Finite(sign * central[3] / std::pow(central[2], 1.5));
    m.ExcessKurtosis = Finite(central[4] / (central[2] * central[2]) - 3);
  }
  return m;
}

void TSampleMoments::Add(double x) {
  if (FCount == 0) {
    FMin = FMax = x;
  } else {
    FMin = std::min(FMin, x);
    FMax = std::max(FMax, x);
  }
  const double n1 = static_cast<double>(FCount);
  ++FCount;
  const double n = static_cast<double>(FCount);
  const double delta = x - FMean;
  const double deltaN = delta / n;
  const double deltaN2 = deltaN * deltaN;
  const double term = delta * deltaN * n1;
  FMean += deltaN;
  FM4 += term * deltaN2 * (n * n - 3 * n + 3) + 6 * deltaN2 * FM2 - 4 * deltaN * FM3;
  FM3 += term * deltaN * (n - 2) - 3 * deltaN * FM2;
  FM2 += term;
}

void TSampleMoments::Add(const double* x, std::size_t n) {
  constexpr std::size_t kPart = 4096;
  for (std::size_t start = 0; start < n; start += kPart) {
    const double* v = x + start;
    const std::size_t m = std::min(kPart, n - start);
    // Four running sums each, for speed; then the central sums about the part's mean.
    double sum[4] = {}, lo = v[0], hi = v[0];
    std::size_t i = 0;
    for (; i + 4 <= m; i += 4)
      for (int l = 0; l < 4; ++l) sum[l] += v[i + l];
    for (; i < m; ++i) sum[0] += v[i];
    const double mean = ((sum[0] + sum[1]) + (sum[2] + sum[3])) / static_cast<double>(m);
    double s2[4] = {}, s3[4] = {}, s4[4] = {};
    for (i = 0; i + 4 <= m; i += 4)
      for (int l = 0; l < 4; ++l) {
        const double d = v[i + l] - mean, d2 = d * d;
        s2[l] += d2;
        s3[l] += d2 * d;
        s4[l] += d2 * d2;
      }
    for (; i < m; ++i) {
      const double d = v[i] - mean, d2 = d * d;
      s2[0] += d2;
      s3[0] += d2 * d;
      s4[0] += d2 * d2;
    }
    for (i = 0; i < m; ++i) {
      lo = std::min(lo, v[i]);
      hi = std::max(hi, v[i]);
    }
    TSampleMoments part;
    part.FCount = static_cast<std::int64_t>(m);
    part.FMean = mean;
    part.FM2 = (s2[0] + s2[1]) + (s2[2] + s2[3]);
    part.FM3 = (s3[0] + s3[1]) + (s3[2] + s3[3]);
    part.FM4 = (s4[0] + s4[1]) + (s4[2] + s4[3]);
    part.FMin = lo;
    part.FMax = hi;
    Merge(part);
  }
}

// Joins the moments of another sample to these (Chan's and Pebay's pairwise updates).
void TSampleMoments::Merge(const TSampleMoments& b) {
  if (b.FCount == 0) return;
  if (FCount == 0) {
    *this = b;
    return;
  }
  const double na = static_cast<double>(FCount), nb = static_cast<double>(b.FCount);
  const double n = na + nb;
  const double delta = b.FMean - FMean, delta2 = delta * delta;
  const double m4 = FM4 + b.FM4 +
                    delta2 * delta2 * na * nb * (na * na - na * nb + nb * nb) / (n * n * n) +
                    6 * delta2 * (na * na * b.FM2 + nb * nb * FM2) / (n * n) +
                    4 * delta * (na * b.FM3 - nb * FM3) / n;
  const double m3 = FM3 + b.FM3 + delta2 * delta * na * nb * (na - nb) / (n * n) +
                    3 * delta * (na * b.FM2 - nb * FM2) / n;
  FM2 += b.FM2 + delta2 * na * nb / n;
  FM3 = m3;
  FM4 = m4;
  FMean += delta * nb / n;
  FCount += b.FCount;
  FMin = std::min(FMin, b.FMin);
  FMax = std::max(FMax, b.FMax);
}

TMoments TSampleMoments::Moments() const {
  TMoments m;
  if (FCount == 0) return m;
  const double n = static_cast<double>(FCount);
  m.Mean = FMean;
  if (FCount >= 2) m.Sd = Finite(std::sqrt(FM2 / (n - 1)));
  if (FM2 > 0) {
    m.Skewness = Finite(std::sqrt(n) * FM3 / std::pow(FM2, 1.5));
    m.ExcessKurtosis = Finite(n * FM4 / (FM2 * FM2) - 3);
  }
  return m;
}

TFitTest::TFitTest(const TAlearix& gen)
    : FResolution(gen.Resolution()), FLower(gen.LowerLimit), FPoints(Points(gen)) {
  FScale = FResolution * static_cast<double>(kSubBins) / (gen.UpperLimit - gen.LowerLimit);
  FEmptyRange = !std::isfinite(FScale);
  FCounts.assign(static_cast<std::size_t>(FResolution) * kSubBins, 0);
  for (std::size_t j = 0; j + 1 < FPoints.size(); ++j) FMass += ClassMass(FPoints, j);
}

void TFitTest::Add(double x) {
  ++FCount;
  if (FEmptyRange) return;
  const double t = (x - FLower) * FScale;
  const double last = static_cast<double>(FCounts.size() - 1);
  // Clamped to the sub-bins (a NaN to the first); truncation is the floor from 0 on.
  const double k = !(t >= 0) ? 0.0 : (t > last ? last : t);
  ++FCounts[static_cast<std::size_t>(k)];
}

std::optional<TChiSquare> TFitTest::ChiSquare() const {
  if (FEmptyRange || FCount == 0) return std::nullopt;
  const double n = static_cast<double>(FCount);
  struct TGroup {
    double Expected = 0, Observed = 0;
  };
  std::vector<TGroup> groups;
  TGroup open;
  for (std::size_t j = 0; j + 1 < FPoints.size(); ++j) {
    open.Expected += n * ClassMass(FPoints, j) / FMass;
    for (int b = 0; b < kSubBins; ++b)
      open.Observed += static_cast<double>(FCounts[j * kSubBins + static_cast<std::size_t>(b)]);
    if (open.Expected >= 5) {
      groups.push_back(open);
      open = {};
    }
  }
  // What is left at the right end joins the last group.
  if (open.Expected > 0 || open.Observed > 0) {
    if (groups.empty()) {
      groups.push_back(open);
    } else {
      groups.back().Expected += open.Expected;
      groups.back().Observed += open.Observed;
    }
  }
  if (groups.size() < 2) return std::nullopt;
  TChiSquare r;
  for (const TGroup& g : groups) {
    const double diff = g.Observed - g.Expected;
    r.Statistic += diff * diff / g.Expected;
  }
  r.Classes = static_cast<int>(groups.size());
  r.Df = r.Classes - 1;
  const boost::math::chi_squared_distribution<double> dist(r.Df);
  r.PValue = boost::math::cdf(boost::math::complement(dist, r.Statistic));
  return r;
}

std::optional<TKolmogorovSmirnov> TFitTest::Ks() const {
  if (FEmptyRange || FCount == 0) return std::nullopt;
  const double n = static_cast<double>(FCount);
  double below = 0, cumMass = 0, dist = 0;
  for (std::size_t j = 0; j + 1 < FPoints.size(); ++j) {
    const double a = FPoints[j], d = FPoints[j + 1] - FPoints[j];
    for (int b = 1; b <= kSubBins; ++b) {
      below += static_cast<double>(FCounts[j * kSubBins + static_cast<std::size_t>(b - 1)]);
      const double v = static_cast<double>(b) / kSubBins;
      const double cdf = (cumMass + a * v + d * v * v / 2) / FMass;
      dist = std::max(dist, std::fabs(below / n - cdf));
    }
    cumMass += ClassMass(FPoints, j);
  }
  return TKolmogorovSmirnov{dist, KolmogorovQ(std::sqrt(n) * dist)};
}

double KolmogorovQ(double lambda) {
  if (!(lambda > 0)) return 1.0;
  if (lambda < 1.18) {
    // The series in exp(-(2k-1)^2 pi^2 / (8 lambda^2)) converges fast for small lambda.
    const double f = -std::numbers::pi * std::numbers::pi / (8 * lambda * lambda);
    double sum = 0;
    for (int k = 1; k <= 20; ++k) sum += std::exp(f * (2 * k - 1) * (2 * k - 1));
    return std::clamp(1 - std::sqrt(2 * std::numbers::pi) / lambda * sum, 0.0, 1.0);
  }
  double sum = 0;
  for (int k = 1; k <= 100; ++k) {
    const double term = std::exp(-2.0 * k * k * lambda * lambda);
    sum += (k % 2 == 1 ? term : -term);
    if (term < 1e-300) break;
  }
  return std::clamp(2 * sum, 0.0, 1.0);
}

std::string FitReportJson(const TAlearix& gen, std::uint32_t seed, const TSampleMoments& sample,
                          const TFitTest& fit) {
  TJson j;
  j["count"] = sample.Count();
  j["seed"] = seed;
  j["resolution"] = gen.Resolution();
  j["range"] = {gen.LowerLimit, gen.UpperLimit};
  j["density"] = JsonOf(DensityMoments(gen));
  TJson s = JsonOf(sample.Moments());
  const bool any = sample.Count() > 0;
  s["min"] = JsonOf(any ? std::optional<double>(sample.Min()) : std::nullopt);
  s["max"] = JsonOf(any ? std::optional<double>(sample.Max()) : std::nullopt);
  j["sample"] = s;
  const std::optional<TChiSquare> chi = fit.ChiSquare();
  auto chiField = [&chi](auto get) { return chi ? TJson(get(*chi)) : TJson(nullptr); };
  j["chi_square"] = {{"statistic", chiField([](const TChiSquare& c) { return c.Statistic; })},
                     {"df", chiField([](const TChiSquare& c) { return c.Df; })},
                     {"p_value", chiField([](const TChiSquare& c) { return c.PValue; })},
                     {"classes", chiField([](const TChiSquare& c) { return c.Classes; })}};
  const std::optional<TKolmogorovSmirnov> ks = fit.Ks();
  j["ks"] = {{"statistic", ks ? TJson(ks->Statistic) : TJson(nullptr)},
             {"p_value", ks ? TJson(ks->PValue) : TJson(nullptr)}};
  return j.dump(2) + "\n";
}
