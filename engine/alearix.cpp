#include "engine/alearix.h"

#include <cmath>
#include <new>

#include "components/common/velcomperror.h"
#include "engine/uniform.h"

EDistributionError::EDistributionError() : std::runtime_error(kMsgNoPositiveRefPoint) {}

EDistributionError::~EDistributionError() = default;

namespace {

constexpr int kMinResolution = 10;
constexpr int kMaxResolution = 4000;
constexpr int kStartResolution = 500;

}  // namespace

TAlearix::TAlearix() {
  try {
    FTable.assign(kStartResolution, 1.0);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  FResolution = kStartResolution;
  FPositive = kStartResolution;
}

void TAlearix::SetResolution(int n) {
  if (n < kMinResolution) n = kMinResolution;
  if (n > kMaxResolution) n = kMaxResolution;
  std::vector<double>().swap(FTable);  // the old table goes first
  FPositive = 0;
  try {
    FTable.assign(static_cast<std::size_t>(n), 1.0);
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemory);
  }
  FResolution = n;
  FPositive = n;
}

double TAlearix::GetRefPoint(int i) const {
  if (i < 1 || static_cast<std::size_t>(i) > FTable.size()) return 0.0;
  return FTable[static_cast<std::size_t>(i - 1)];
}

void TAlearix::SetRefPoint(int i, double v) {
  if (!(v >= 0.0)) v = 0.0;  // also NaN
  if (v > 1.0) v = 1.0;
  if (i < 1 || static_cast<std::size_t>(i) > FTable.size()) return;
  double& p = FTable[static_cast<std::size_t>(i - 1)];
  FPositive += (v > 0.0) - (p > 0.0);
  p = v;
}

double TAlearix::ClassEdge(int i) const {
  if (i < 1) return LowerLimit;
  if (i > FResolution) return UpperLimit;
  return LowerLimit + (UpperLimit - LowerLimit) * (i - 1) / FResolution;
}

int TAlearix::ValueToClass(double x) const {
  if (std::isnan(x)) return 0;
  if (x < LowerLimit) return 0;
  if (x > UpperLimit) return FResolution + 1;
  if (!(UpperLimit > LowerLimit)) {
    // An empty range (or a NaN): the one point of it is class 1, everything else outside.
    return x == LowerLimit ? 1 : 0;
  }
  double q = (x - LowerLimit) * FResolution / (UpperLimit - LowerLimit);
  if (!(q >= 0.0)) q = 0.0;  // inf/inf with extreme limits
  if (q > FResolution) q = FResolution;
  // Floor as round-to-nearest-even, one down when that lies above q.
  double r = std::nearbyint(q);
  if (r > q) r -= 1.0;
  return static_cast<int>(r) + 1;
}

void TAlearix::Normalize() {
  double m = 0.0;
  for (double p : FTable)
    if (p > m) m = p;
  if (!(m > 0.0)) throw EDistributionError();
  int positive = 0;
  for (double& p : FTable) {
    p /= m;
    positive += p > 0.0;
  }
  FPositive = positive;
}

double TAlearix::RandomValue() {
  if (FPositive <= 0) throw EDistributionError();
  const double* p = FTable.data();
  const std::uint32_t n = static_cast<std::uint32_t>(FResolution);
  const std::uint32_t last = n - 1;  // 0-based index of the last class
  constexpr double kScale = 1.0 / 4294967296.0;
  // Each attempt uses up to three consecutive states of the source. They are computed
  // directly from the attempt's starting state (s * a^j + c_j), so the attempts are not
  // chained through three dependent multiplications.
  constexpr std::uint32_t a1 = kUniformMultiplier, c1 = 1u;
  constexpr std::uint32_t a2 = a1 * a1, c2 = a1 + 1u;
  constexpr std::uint32_t a3 = a2 * a1, c3 = a2 + a1 + 1u;
  std::uint32_t s = UniformSeed;  // work on a local copy of the source state
  std::uint32_t k;
  double u;
  for (;;) {
    const std::uint32_t s1 = s * a1 + c1, s2 = s * a2 + c2, s3 = s * a3 + c3;
    k = static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * s1) >> 32);
    u = static_cast<double>(s2) * kScale;
    double y;
    if (k != last) [[likely]]
      y = p[k] + u * (p[k + 1] - p[k]);
    else
      y = (1.0 - u) * p[k];  // the last class falls linearly to 0 at UpperLimit
    if (y >= 1.0) {          // accepted without a third draw
      s = s2;
      break;
    }
    s = s3;
    if (static_cast<double>(s3) * kScale < y) break;
  }
  UniformSeed = s;
  return LowerLimit + (k + u) * (UpperLimit - LowerLimit) / FResolution;
}
