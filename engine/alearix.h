#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/uniform.h"

inline constexpr const char* kMsgNoPositiveRefPoint =
    "The distribution has no positive reference point";

// Raised when a density without any positive reference point is normalised or sampled.
class EDistributionError : public std::runtime_error {
 public:
  EDistributionError();
  ~EDistributionError() override;
};

// A probability density tabulated as reference points over [LowerLimit, UpperLimit], and a
// rejection sampler drawing random numbers from it. The range is cut into Resolution classes
// of equal width; reference point i (1-based, in 0..1) sits on the lower edge of class i and
// the density is the piecewise linear function through these points, falling to 0 at
// UpperLimit.
class TAlearix {
 public:
  double LowerLimit = 0.0;
  double UpperLimit = 0.0;

  // 500 classes, all reference points 1.0; throws EVelCompError when out of memory.
  TAlearix();

  int Resolution() const { return FResolution; }
  // Clamps n to 10..4000 and resets every reference point to 1.0. When the new table cannot
  // be obtained it throws EVelCompError; the engine then has no table (every reference point
  // reads 0.0) and keeps its old Resolution.
  void SetResolution(int n);

  // Reference point i (1-based); 0.0 outside 1..Resolution.
  double GetRefPoint(int i) const;
  // Reference points 1..Resolution, in order.
  std::vector<double> RefPoints() const;
  // Stores v clamped to 0..1 (NaN gives 0); an index outside 1..Resolution is ignored.
  void SetRefPoint(int i, double v);

  // Lower edge of class i; LowerLimit below 1 and UpperLimit above Resolution.
  double ClassEdge(int i) const;
  // Class of x: 0 below LowerLimit, Resolution + 1 above UpperLimit (and at it).
  int ValueToClass(double x) const;
  // classes[i] = ValueToClass(x[i]) for a block of numbers, two at a time.
  void ValuesToClasses(const double* x, std::size_t n, int* classes) const;

  bool HasPositiveRefPoint() const { return FPositive > 0; }
  // Scales the table so that its largest point is 1. Throws EDistributionError, leaving the
  // table unchanged, when no point is positive.
  void Normalize();
  // Draws one number from the density. Throws EDistributionError when no point is positive.
  double RandomValue();
  // Fills out with count numbers: the same numbers, and the same source state after them,
  // as count calls of RandomValue. Throws EDistributionError when no point is positive.
  void RandomValues(double* out, std::size_t count);

  // Attempts evaluated together at most when the sampler looks ahead.
  static constexpr int kLookAhead = 64;
  // Whether the look-ahead uses the processor's wide vector units (AVX2) where it has
  // them; on by default. The numbers are the same either way.
  static bool WideVectors();
  static void SetWideVectors(bool on);

 private:
  // FResolution points and a 0 behind them, or empty after a failed reallocation.
  std::vector<double> FTable;
  int FResolution = 0;
  int FPositive = 0;  // number of points above 0

  // Numbers the sampler has already worked out for the source states that follow. Entry i
  // is the exact outcome of sampling from the state entry i - 1 left (the first from
  // FAheadSeed) with the current table, so an entry is used only while the source still
  // holds the state it starts from; any change of the table drops them.
  struct TDrawn {
    std::uint32_t SeedAfter;
    std::uint32_t Class;  // 0-based
    double Pos;           // position inside the class, 0..1
  };
  TDrawn FAhead[kLookAhead] = {};
  int FAheadPos = 0;
  int FAheadCount = 0;
  std::uint32_t FAheadSeed = 0;  // the state the entry at FAheadPos starts from
  int FRunLength = kLookAhead;   // attempts evaluated per run

  void DropLookAhead() { FAheadPos = FAheadCount = 0; }
  bool AheadReady() const { return FAheadPos < FAheadCount && FAheadSeed == UniformSeed; }
  void LookAhead();
  double DrawDirectly();
  double ValueOf(const TDrawn& d) const {
    return LowerLimit + (d.Class + d.Pos) * (UpperLimit - LowerLimit) / FResolution;
  }
};
