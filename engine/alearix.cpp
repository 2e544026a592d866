#include "engine/alearix.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <new>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

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

std::vector<double> TAlearix::RefPoints() const {
  std::vector<double> t(static_cast<std::size_t>(FResolution));
  for (int i = 1; i <= FResolution; ++i) t[static_cast<std::size_t>(i - 1)] = GetRefPoint(i);
  return t;
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

void TAlearix::ValuesToClasses(const double* x, std::size_t n, int* classes) const {
  std::size_t i = 0;
#ifdef __SSE2__
  if (UpperLimit > LowerLimit) {
    // The steps of ValueToClass as masks: the same operations on the same operands.
    const __m128d lo = _mm_set1_pd(LowerLimit), hi = _mm_set1_pd(UpperLimit);
    const __m128d res = _mm_set1_pd(FResolution), width = _mm_set1_pd(UpperLimit - LowerLimit);
    const __m128i above = _mm_set1_epi32(FResolution + 1), one = _mm_set1_epi32(1);
    for (; i + 2 <= n; i += 2) {
      const __m128d v = _mm_loadu_pd(x + i);
      __m128d q = _mm_div_pd(_mm_mul_pd(_mm_sub_pd(v, lo), res), width);
      q = _mm_and_pd(q, _mm_cmpge_pd(q, _mm_setzero_pd()));  // below 0 or NaN: 0
      q = _mm_min_pd(q, res);
      const __m128i k = _mm_add_epi32(_mm_cvttpd_epi32(q), one);
      // Below LowerLimit (or NaN): 0; above UpperLimit: Resolution + 1.
      const __m128i below =
          _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpnge_pd(v, lo)), _MM_SHUFFLE(3, 3, 2, 0));
      const __m128i over =
          _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpgt_pd(v, hi)), _MM_SHUFFLE(3, 3, 2, 0));
      const __m128i inside = _mm_andnot_si128(below, k);
      const __m128i result =
          _mm_or_si128(_mm_andnot_si128(over, inside), _mm_and_si128(over, above));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(classes + i), result);
    }
  }
#endif
  for (; i < n; ++i) classes[i] = ValueToClass(x[i]);
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

constexpr double kScale = 1.0 / 4294967296.0;

// The attempts of one run: attempt j takes the states 3j + 1, 3j + 2 and 3j + 3 after the
// run's start. Class (0-based) and position of each, and bit masks of the accepted ones and
// of those accepted with two draws (the density there is 1 or more).
struct TRun {
  std::uint64_t Accepted, Full;
  alignas(32) std::uint32_t Ks[TAlearix::kLookAhead];
  alignas(32) double Us[TAlearix::kLookAhead];
};

// Evaluates run attempts (1..kLookAhead) from state s over the table p of n classes (a 0
// follows the last point, so p[k + 1] is readable), free of branches on random outcomes.
using TEvaluate = void (*)(const double* p, std::uint32_t n, std::uint32_t s, int run, TRun& r);

void EvaluatePlain(const double* p, std::uint32_t n, std::uint32_t s, int run, TRun& r) {
  const std::uint32_t last = n - 1;  // 0-based index of the last class
  std::uint64_t accepted = 0, full = 0;
  for (int j = 0; j < run; ++j) {
    const std::uint32_t s1 = Leap(s, 3 * j + 1), s2 = Leap(s, 3 * j + 2), s3 = Leap(s, 3 * j + 3);
    const std::uint32_t k = static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * s1) >> 32);
    const double u = static_cast<double>(s2) * kScale;
    const double pk = p[k], pk1 = p[k + 1];
    const double inner = pk + u * (pk1 - pk);
    const double falling = (1.0 - u) * pk;  // the last class falls linearly to 0 at UpperLimit
    const double y = k == last ? falling : inner;
    const std::uint64_t f = y >= 1.0;
    const std::uint64_t a = f | (static_cast<double>(s3) * kScale < y);
    accepted |= a << j;
    full |= f << j;
    r.Ks[j] = k;
    r.Us[j] = u;
  }
  r.Accepted = accepted;
  r.Full = full;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define ALEARIX_WIDE_VECTORS 1

// The same four attempts at a time in AVX2 registers. Every step is the plain one's
// operation on the same operands (no fused multiply-add), so the results are identical:
// a state s reads as double exactly as (s - 2^31) * 2^-32 + 0.5, and the class is the
// upper half of the 64-bit product n * s, as in the plain code.
__attribute__((target("avx2"))) void EvaluateWide(const double* p, std::uint32_t n, std::uint32_t s,
                                                  int run, TRun& r) {
  const __m128i step = _mm_set1_epi32(static_cast<int>(kUniformMultiplier));
  const __m128i one = _mm_set1_epi32(1);
  const __m128i leapMul = _mm_set1_epi32(static_cast<int>(kLeap.Mul[12]));
  const __m128i leapAdd = _mm_set1_epi32(static_cast<int>(kLeap.Add[12]));
  const __m128i flip = _mm_set1_epi32(INT32_MIN);
  const __m256i classes = _mm256_set1_epi64x(n);
  const __m256i last = _mm256_set1_epi64x(n - 1);
  const __m256i pack = _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0);
  const __m256d scale = _mm256_set1_pd(kScale);
  const __m256d half = _mm256_set1_pd(0.5);
  const __m256d unit = _mm256_set1_pd(1.0);
  // The class states of attempts j .. j + 3.
  __m128i s1 = _mm_setr_epi32(static_cast<int>(Leap(s, 1)), static_cast<int>(Leap(s, 4)),
                              static_cast<int>(Leap(s, 7)), static_cast<int>(Leap(s, 10)));
  std::uint64_t accepted = 0, full = 0;
  for (int j = 0; j < run; j += 4) {
    const __m128i s2 = _mm_add_epi32(_mm_mullo_epi32(s1, step), one);
    const __m128i s3 = _mm_add_epi32(_mm_mullo_epi32(s2, step), one);
    const __m256i k = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_cvtepu32_epi64(s1), classes), 32);
    const __m256d pk = _mm256_i64gather_pd(p, k, 8);
    const __m256d pk1 = _mm256_i64gather_pd(p + 1, k, 8);
    const __m256d u =
        _mm256_add_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm_xor_si128(s2, flip)), scale), half);
    const __m256d draw =
        _mm256_add_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm_xor_si128(s3, flip)), scale), half);
    const __m256d inner = _mm256_add_pd(pk, _mm256_mul_pd(u, _mm256_sub_pd(pk1, pk)));
    const __m256d falling = _mm256_mul_pd(_mm256_sub_pd(unit, u), pk);
    const __m256d y =
        _mm256_blendv_pd(inner, falling, _mm256_castsi256_pd(_mm256_cmpeq_epi64(k, last)));
    const __m256d f = _mm256_cmp_pd(y, unit, _CMP_GE_OQ);
    const __m256d a = _mm256_or_pd(f, _mm256_cmp_pd(draw, y, _CMP_LT_OQ));
    accepted |= static_cast<std::uint64_t>(_mm256_movemask_pd(a)) << j;
    full |= static_cast<std::uint64_t>(_mm256_movemask_pd(f)) << j;
    _mm_store_si128(reinterpret_cast<__m128i*>(r.Ks + j),
                    _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(k, pack)));
    _mm256_store_pd(r.Us + j, u);
    s1 = _mm_add_epi32(_mm_mullo_epi32(s1, leapMul), leapAdd);
  }
  // A run not a multiple of four evaluated attempts beyond its end: they do not count.
  const std::uint64_t inRun = run >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << run) - 1;
  r.Accepted = accepted & inRun;
  r.Full = full & inRun;
}

bool HasWideVectors() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}
#else
bool HasWideVectors() {
  return false;
}
#endif

const bool kHaveWideVectors = HasWideVectors();
std::atomic<bool> UseWideVectors{kHaveWideVectors};

TEvaluate Evaluator() {
#ifdef ALEARIX_WIDE_VECTORS
  if (UseWideVectors.load(std::memory_order_relaxed)) return EvaluateWide;
#endif
  return EvaluatePlain;
}

}  // namespace

bool TAlearix::WideVectors() {
  return UseWideVectors.load();
}

void TAlearix::SetWideVectors(bool on) {
  UseWideVectors.store(on && kHaveWideVectors);
}

// Works out the next numbers from the current source state without touching the source.
// One attempt takes a class draw, a position draw and, when the density there is below 1,
// an acceptance draw; a rejected attempt always takes all three. So a run of attempts sits
// on every third state until one is accepted with two draws, which shifts the ones after it.
// The attempts of a run are evaluated together; every accepted one becomes an entry, up to
// one accepted with two draws. The run length adapts to how often that happens.
void TAlearix::LookAhead() {
  const TEvaluate evaluate = Evaluator();
  const double* p = FTable.data();
  const std::uint32_t n = static_cast<std::uint32_t>(FResolution);
  std::uint32_t s = UniformSeed;  // start of the current run of attempts
  const int run = FRunLength;
  bool shifted = false;  // an attempt was accepted with two draws
  int count = 0;
  TRun r;
  while (count == 0) {
    evaluate(p, n, s, run, r);
    std::uint64_t accepted = r.Accepted;
    if (r.Full != 0) {  // attempts after the first two-draw acceptance start elsewhere
      const std::uint64_t first = r.Full & (~r.Full + 1);
      accepted &= first | (first - 1);
      shifted = true;
    }
    while (accepted != 0) {
      const int j = std::countr_zero(accepted);
      const int draws = 3 - static_cast<int>((r.Full >> j) & 1u);
      FAhead[count++] = TDrawn{Leap(s, 3 * j + draws), r.Ks[j], r.Us[j]};
      accepted &= accepted - 1;
    }
    s = Leap(s, 3 * run);
  }
  FAheadPos = 0;
  FAheadCount = count;
  FAheadSeed = UniformSeed;
  // Dense tables (many two-draw acceptances) waste most of a long run: shorten it for them.
  FRunLength = shifted ? (run > 1 ? run / 2 : 1) : (run < kLookAhead ? run * 2 : kLookAhead);
}

// One number attempt by attempt, for dense tables where looking ahead does not pay.
double TAlearix::DrawDirectly() {
  const double* p = FTable.data();
  const std::uint32_t n = static_cast<std::uint32_t>(FResolution);
  const std::uint32_t last = n - 1;
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
  if (!AheadReady()) [[unlikely]] {
    if (FPositive <= 0) throw EDistributionError();
    if (FRunLength == 1) return DrawDirectly();
    LookAhead();
  }
  const TDrawn& d = FAhead[FAheadPos++];
  UniformSeed = FAheadSeed = d.SeedAfter;
  return ValueOf(d);
}

void TAlearix::RandomValues(double* out, std::size_t count) {
  while (count > 0) {
    if (!AheadReady()) {
      if (FPositive <= 0) throw EDistributionError();
      if (FRunLength == 1) {
        *out++ = DrawDirectly();
        --count;
        continue;
      }
      LookAhead();
    }
    const int take = static_cast<int>(
        std::min<std::size_t>(count, static_cast<std::size_t>(FAheadCount - FAheadPos)));
    const double lo = LowerLimit, width = UpperLimit - LowerLimit;
    const double classes = FResolution;
    for (int i = 0; i < take; ++i) {
      const TDrawn& d = FAhead[FAheadPos + i];
      out[i] = lo + (d.Class + d.Pos) * width / classes;
    }
    FAheadPos += take;
    UniformSeed = FAheadSeed = FAhead[FAheadPos - 1].SeedAfter;
    out += take;
    count -= static_cast<std::size_t>(take);
  }
}
