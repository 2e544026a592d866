#include "engine/alearix.h"

#include <bit>
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
    FTable.assign(kStartResolution + 1, 1.0);
    FTable.back() = 0.0;
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemoryOnHeap);
  }
  FResolution = kStartResolution;
  FPositive = kStartResolution;
}

void TAlearix::SetResolution(int n) {
  if (n < kMinResolution) n = kMinResolution;
  if (n > kMaxResolution) n = kMaxResolution;
  DropLookAhead();
  std::vector<double>().swap(FTable);  // the old table goes first
  FPositive = 0;
  try {
    FTable.assign(static_cast<std::size_t>(n) + 1, 1.0);
    FTable.back() = 0.0;
  } catch (const std::bad_alloc&) {
    throw EVelCompError(kMsgNotEnoughMemory);
  }
  FResolution = n;
  FPositive = n;
}

double TAlearix::GetRefPoint(int i) const {
  if (i < 1 || i > FResolution || FTable.empty()) return 0.0;
  return FTable[static_cast<std::size_t>(i - 1)];
}

void TAlearix::SetRefPoint(int i, double v) {
  if (!(v >= 0.0)) v = 0.0;  // also NaN
  if (v > 1.0) v = 1.0;
  if (i < 1 || i > FResolution || FTable.empty()) return;
  DropLookAhead();
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
  // q lies in 0..Resolution here, so truncation is the floor (the same as rounding to
  // the nearest integer and stepping one down when that lies above q, only cheaper).
  return static_cast<int>(q) + 1;
}

void TAlearix::Normalize() {
  double m = 0.0;
  const std::size_t n = FTable.empty() ? 0 : static_cast<std::size_t>(FResolution);
  for (std::size_t i = 0; i < n; ++i)
    if (FTable[i] > m) m = FTable[i];
  if (!(m > 0.0)) throw EDistributionError();
  DropLookAhead();
  int positive = 0;
  for (std::size_t i = 0; i < n; ++i) {
    FTable[i] /= m;
    positive += FTable[i] > 0.0;
  }
  FPositive = positive;
}

namespace {

constexpr int kMaxLeap = 3 * TAlearix::kLookAhead;

// Multiplier and increment that advance the uniform source by m steps at once.
struct TLeap {
  std::uint32_t Mul[kMaxLeap + 1];
  std::uint32_t Add[kMaxLeap + 1];
};

constexpr TLeap MakeLeaps() {
  TLeap l{};
  l.Mul[0] = 1u;
  l.Add[0] = 0u;
  for (int m = 1; m <= kMaxLeap; ++m) {
    l.Mul[m] = l.Mul[m - 1] * kUniformMultiplier;
    l.Add[m] = l.Add[m - 1] * kUniformMultiplier + 1u;
  }
  return l;
}

constexpr TLeap kLeap = MakeLeaps();

inline std::uint32_t Leap(std::uint32_t s, int m) {
  return s * kLeap.Mul[m] + kLeap.Add[m];
}

// Evaluates the attempts of one run starting after state s: class (0-based) and position of
// each, and bit masks of the accepted ones and of those accepted with two draws. Run is the
// attempt count; a positive N fixes it at compile time.
template <int N>
inline void EvaluateRun(const double* p, std::uint32_t n, std::uint32_t s, int run,
                        std::uint32_t* ks, double* us, std::uint32_t& accepted,
                        std::uint32_t& full) {
  constexpr double kScale = 1.0 / 4294967296.0;
  const std::uint32_t last = n - 1;  // 0-based index of the last class
  const int count = N > 0 ? N : run;
  accepted = 0;
  full = 0;
  for (int j = 0; j < count; ++j) {
    const std::uint32_t s1 = Leap(s, 3 * j + 1), s2 = Leap(s, 3 * j + 2), s3 = Leap(s, 3 * j + 3);
    const std::uint32_t k = static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * s1) >> 32);
    const double u = static_cast<double>(s2) * kScale;
    const double pk = p[k], pk1 = p[k + 1];
    const double inner = pk + u * (pk1 - pk);
    const double falling = (1.0 - u) * pk;  // the last class falls linearly to 0 at UpperLimit
    const double y = k == last ? falling : inner;
    const std::uint32_t f = y >= 1.0;
    const std::uint32_t a = f | (static_cast<double>(s3) * kScale < y);
    accepted |= a << j;
    full |= f << j;
    ks[j] = k;
    us[j] = u;
  }
}

}  // namespace

// Works out the next numbers from the current source state without touching the source.
// One attempt takes a class draw, a position draw and, when the density there is below 1,
// an acceptance draw; a rejected attempt always takes all three. So a run of attempts sits
// on every third state until one is accepted with two draws, which shifts the ones after it.
// The attempts of a run are evaluated together, free of branches on random outcomes; every
// accepted one becomes an entry, up to one accepted with two draws. The run length adapts to
// how often that happens.
void TAlearix::LookAhead() {
  const double* p = FTable.data();  // a 0 follows the last point, so p[k + 1] is readable
  const std::uint32_t n = static_cast<std::uint32_t>(FResolution);
  std::uint32_t s = UniformSeed;  // start of the current run of attempts
  std::uint32_t before = s;       // state the next entry starts from
  const int run = FRunLength;
  bool shifted = false;  // an attempt was accepted with two draws
  int count = 0;
  while (count == 0) {
    std::uint32_t ks[kLookAhead];
    double us[kLookAhead];
    std::uint32_t accepted, full;
    if (run == kLookAhead)
      EvaluateRun<kLookAhead>(p, n, s, run, ks, us, accepted, full);
    else
      EvaluateRun<0>(p, n, s, run, ks, us, accepted, full);
    while (accepted != 0) {
      const int j = std::countr_zero(accepted);
      const std::uint32_t twoDraws = (full >> j) & 1u;
      const std::uint32_t after = Leap(s, 3 * j + 3 - static_cast<int>(twoDraws));
      FAhead[count++] = TDrawn{before, after, ks[j], us[j]};
      before = after;
      if (twoDraws) {  // later attempts start one state earlier than evaluated
        shifted = true;
        break;
      }
      accepted &= accepted - 1;
    }
    s = Leap(s, 3 * run);
  }
  FAheadPos = 0;
  FAheadCount = count;
  // Dense tables (many two-draw acceptances) waste most of a long run: shorten it for them.
  FRunLength = shifted ? (run > 1 ? run / 2 : 1) : (run < kLookAhead ? run * 2 : kLookAhead);
}

// One number attempt by attempt, for dense tables where looking ahead does not pay.
double TAlearix::DrawDirectly() {
  const double* p = FTable.data();
  const std::uint32_t n = static_cast<std::uint32_t>(FResolution);
  const std::uint32_t last = n - 1;
  constexpr double kScale = 1.0 / 4294967296.0;
  std::uint32_t s = UniformSeed;
  std::uint32_t k;
  double u;
  for (;;) {
    const std::uint32_t s1 = Leap(s, 1), s2 = Leap(s, 2), s3 = Leap(s, 3);
    k = static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * s1) >> 32);
    u = static_cast<double>(s2) * kScale;
    double y;
    if (k != last) [[likely]]
      y = p[k] + u * (p[k + 1] - p[k]);
    else
      y = (1.0 - u) * p[k];
    if (y >= 1.0) {
      s = s2;
      break;
    }
    s = s3;
    if (static_cast<double>(s3) * kScale < y) {
      FRunLength = 2;  // an acceptance with three draws: try looking ahead again
      break;
    }
  }
  UniformSeed = s;
  return LowerLimit + (k + u) * (UpperLimit - LowerLimit) / FResolution;
}

double TAlearix::RandomValue() {
  if (FPositive <= 0) throw EDistributionError();
  if (FAheadPos == FAheadCount || FAhead[FAheadPos].SeedBefore != UniformSeed) {
    if (FRunLength == 1) return DrawDirectly();
    LookAhead();
  }
  const TDrawn& d = FAhead[FAheadPos++];
  UniformSeed = d.SeedAfter;
  return LowerLimit + (d.Class + d.Pos) * (UpperLimit - LowerLimit) / FResolution;
}
