#pragma once
// Does a sample follow the density it was drawn from? The exact moments of the
// density, the moments of the sample (one streaming pass, constant memory), a
// chi-square test over the density's classes and a Kolmogorov-Smirnov distance
// measured on 64 sub-bins per class. Used by alearix-gen --report.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/core/export.h"

class TAlearix;

// Mean, standard deviation, skewness (g1) and excess kurtosis (g2); a value is
// missing where it is undefined (no spread, or too few numbers).
struct TMoments {
  std::optional<double> Mean, Sd, Skewness, ExcessKurtosis;
};

// The moments of the density exactly as the sampler reads it: piecewise linear over
// the classes, from reference point i at the lower edge of class i to point i + 1 at
// its upper edge, the last class falling to 0 at the upper limit. Computed in closed
// form per class; they hold for reversed ranges too. Throws EDistributionError when
// no reference point is positive.
TMoments DensityMoments(const TAlearix& gen);

// Moments of a sample, updated one number at a time (Welford's and Terriberry's
// updates): the standard deviation uses n - 1, skewness and excess kurtosis are the
// plain moment ratios g1 and g2.
class TSampleMoments {
 public:
  void Add(double x);
  // A block of numbers at once: its own moments in two passes, merged into the running
  // ones with the pairwise form of the same updates. Much faster than number by number.
  void Add(const double* x, std::size_t n);
  std::int64_t Count() const { return FCount; }
  double Min() const { return FMin; }
  double Max() const { return FMax; }
  TMoments Moments() const;

 private:
  std::int64_t FCount = 0;
  double FMean = 0, FM2 = 0, FM3 = 0, FM4 = 0;
  double FMin = 0, FMax = 0;

  void Merge(const TSampleMoments& b);
};

struct TChiSquare {
  double Statistic = 0, PValue = 0;
  int Df = 0, Classes = 0;  // Classes: the classes after merging
};

struct TKolmogorovSmirnov {
  double Statistic = 0, PValue = 0;
};

// Counts a sample into the density's classes and 64 sub-bins per class, and tests it
// against the density.
class TFitTest {
 public:
  static constexpr int kSubBins = 64;

  // Takes the density of gen (its table, limits and resolution) as it is now.
  explicit TFitTest(const TAlearix& gen);
  void Add(double x);
  void Add(const double* x, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) Add(x[i]);
  }
  std::int64_t Count() const { return FCount; }

  // Chi-square over the classes, with expected counts from the exact class
  // probabilities; neighbouring classes are merged from the left until each expected
  // count is at least 5. Missing when the range is empty or fewer than two classes
  // remain.
  std::optional<TChiSquare> ChiSquare() const;
  // The largest distance between the sample's and the density's distribution
  // functions at the sub-bin edges, with the asymptotic p-value of the Kolmogorov
  // distribution. Missing when the range is empty or the sample is.
  std::optional<TKolmogorovSmirnov> Ks() const;

 private:
  int FResolution = 0;
  double FLower = 0, FScale = 0;      // sub-bin of x: (x - FLower) * FScale
  std::vector<double> FPoints;        // reference points 1..Resolution and a 0
  double FMass = 0;                   // the density's total, in class units
  std::vector<std::int64_t> FCounts;  // per sub-bin
  std::int64_t FCount = 0;
  bool FEmptyRange = false;
};

// What the report needs of a sample, filled as the numbers are drawn.
class TReportSample : public ISampleSink {
 public:
  explicit TReportSample(const TAlearix& gen) : Fit(gen) {}
  void Add(const double* x, std::size_t n) override {
    Moments.Add(x, n);
    Fit.Add(x, n);
  }

  TSampleMoments Moments;
  TFitTest Fit;
};

// The Kolmogorov distribution's upper tail, P(K > lambda).
double KolmogorovQ(double lambda);

// The whole report as JSON text (one object, ending with a line feed).
std::string FitReportJson(const TAlearix& gen, std::uint32_t seed, const TSampleMoments& sample,
                          const TFitTest& fit);
