#include "app/core/export.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "components/common/floattext.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"

const std::array<int, 28> CountTable = {
    1,   2,   3,   5,    7,    10,   15,   20,   30,   50,    75,    100,   150,   200,
    300, 500, 750, 1000, 1500, 2000, 3000, 5000, 7500, 10000, 15000, 20000, 30000, 50000};

namespace {

// "00" "01" ... "99": two digits per table lookup.
constexpr std::array<char, 200> MakeDigitPairs() {
  std::array<char, 200> t{};
  for (int i = 0; i < 100; ++i) {
    t[2 * i] = static_cast<char>('0' + i / 10);
    t[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return t;
}
constexpr std::array<char, 200> kDigitPairs = MakeDigitPairs();

inline char* PutPair(char* out, unsigned v) {
  std::memcpy(out, &kDigitPairs[2 * v], 2);
  return out + 2;
}

inline char* PutUnsigned(char* out, std::uint64_t v) {
  if (v < 100) {
    if (v < 10) {
      *out = static_cast<char>('0' + v);
      return out + 1;
    }
    return PutPair(out, static_cast<unsigned>(v));
  }
  if (v < 10000) {
    const unsigned u = static_cast<unsigned>(v);
    if (u < 1000) {
      *out++ = static_cast<char>('0' + u / 100);
      return PutPair(out, u % 100);
    }
    return PutPair(PutPair(out, u / 100), u % 100);
  }
  return std::to_chars(out, out + 24, v).ptr;
}

// |x| * 10^4 rounded half up on the exact value of x, for finite |x| < 2^32.
inline std::uint64_t ScaledRounded(std::uint64_t absBits, double a) {
  // Usually the product in doubles decides: its error is below s * 2^-52, so unless
  // its fraction lies that close to one half, rounding it gives the exact answer.
  const double s = a * 10000.0;  // below 2^46: truncation is the floor, and exact
  const std::int64_t f = static_cast<std::int64_t>(s);
  const double d = s - static_cast<double>(f);
  if (std::fabs(d - 0.5) > s * 0x1p-50) return static_cast<std::uint64_t>(f + (d > 0.5));
  // Near a tie: a = m * 2^-k exactly; scale m by 10^4 in integers and round.
  const int biased = static_cast<int>(absBits >> 52);
  if (biased == 0) return 0;  // subnormal: far below any tie
  const std::uint64_t m = (absBits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int k = 1075 - biased;  // >= 21 since a < 2^32
  if (k >= 68) return 0;        // m * 10^4 / 2^k < 0.5
  const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * 10000u;
  std::uint64_t n = static_cast<std::uint64_t>(scaled >> k);
  const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << k) - 1);
  if (rest >= (static_cast<unsigned __int128>(1) << (k - 1))) ++n;
  return n;
}

}  // namespace

namespace {

// Large values, infinities and NaN are rare: the general routine writes them.
[[gnu::noinline]] char* FormatRare(double x, char* out) {
  const std::string s = FloatText(1, 4, x);
  std::memcpy(out, s.data(), s.size());
  return out + s.size();
}

inline char* FormatNumber(double x, char* out) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t absBits = bits & ~(std::uint64_t{1} << 63);
  const double a = std::bit_cast<double>(absBits);
  if (!(a < 4294967296.0)) [[unlikely]]
    return FormatRare(x, out);
  const std::uint64_t n = ScaledRounded(absBits, a);
  if (x < 0) *out++ = '-';
  out = PutUnsigned(out, n / 10000);
  const unsigned f = static_cast<unsigned>(n % 10000);
  *out++ = '.';
  out = PutPair(out, f / 100);
  return PutPair(out, f % 100);
}

}  // namespace

char* FormatFixed4(double x, char* out) {
  return FormatNumber(x, out);
}

std::string FixedText4(double x) {
  char buf[kMaxNumberText + 4];
  return std::string(buf, FormatFixed4(x, buf));
}

namespace {

// The eight decimal digits of v < 10^8 with leading zeros, as the bytes of a word in
// memory order, worked out in a register.
inline std::uint64_t EightDigits(std::uint32_t v) {
  const std::uint64_t halves = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
  const std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007FULL;  // / 100
  const std::uint64_t pairs = ((halves - 100 * hundreds) << 16) + hundreds;
  std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FULL;  // / 10
  tens += (pairs - 10 * tens) << 8;
  return tens + 0x3030303030303030ULL;
}

// ".dddd" and CR LF, the digits those of f < 10^4, as a word in memory order.
inline std::uint64_t Tail(std::uint64_t eightDigits) {
  return '.' | (eightDigits >> 32) << 8 | std::uint64_t{'\r'} << 40 | std::uint64_t{'\n'} << 48;
}

// One line (the number and CR LF) at slot, free of branches on the sign and the number of
// digits for magnitudes below 10^4; returns its length, or 0 for a number the general
// routine must write. Up to 20 characters are written; those beyond the line mean nothing.
inline std::size_t FormatSlot(double x, char* slot) {
  static constexpr std::uint32_t kPowers[9] = {1,      10,      100,      1000,     10000,
                                               100000, 1000000, 10000000, 100000000};
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t absBits = bits & ~(std::uint64_t{1} << 63);
  const double a = std::bit_cast<double>(absBits);
  if (!(a < 4294967296.0)) [[unlikely]]
    return 0;
  const std::uint64_t n = ScaledRounded(absBits, a);
  char* p = slot;
  *p = '-';
  p += x < 0;  // not for -0.0
  std::uint64_t tail;
  if (n >= 100000000) [[unlikely]] {
    p = std::to_chars(p, p + 10, n / 10000).ptr;
    tail = Tail(EightDigits(static_cast<std::uint32_t>(n % 10000)));
  } else {
    // All eight digits of n at once: four before the point, four after it. The digits
    // before it shown: those of n beyond the last four, at least one.
    const std::uint64_t d = EightDigits(static_cast<std::uint32_t>(n));
    const std::uint64_t m = n < 10000 ? 10000 : n;
    const int guess = (std::bit_width(m) * 1233) >> 12;  // about width * log10(2)
    const int whole = guess - 3 - (m < kPowers[guess]);  // 1..4
    const std::uint64_t wholeText = (d & 0xFFFFFFFFULL) >> (8 * (4 - whole));
    std::memcpy(p, &wholeText, 8);
    p += whole;
    tail = Tail(d);
  }
  std::memcpy(p, &tail, 8);
  return static_cast<std::size_t>(p + 7 - slot);
}

// Lines one at a time.
char* FormatLinesPlain(const double* x, std::size_t n, char* out) {
  // Each line at its place: the place of the next waits only for a length, not for
  // branches on the sign or the digits.
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t length = FormatSlot(x[i], out);
    if (length == 0) [[unlikely]] {
      out = FormatRare(x[i], out);
      *out++ = '\r';
      *out++ = '\n';
      continue;
    }
    out += length;
  }
  return out;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define ALEARIX_WIDE_TEXT 1

// Four lines at a time with AVX2 where the magnitudes lie below 10^4 and none is near a
// rounding tie: the steps of FormatSlot on the same operands (scaled value, its floor and
// the rounding, then the digits as in EightDigits), so the text is the same. Other groups
// of four go through FormatSlot.
__attribute__((target("avx2"))) char* FormatLinesWide(const double* x, std::size_t n, char* out) {
  const __m256d signBit = _mm256_set1_pd(-0.0), zero = _mm256_setzero_pd();
  const __m256d limit = _mm256_set1_pd(9999.0), scale = _mm256_set1_pd(10000.0);
  const __m256d half = _mm256_set1_pd(0.5), tie = _mm256_set1_pd(0x1p-50);
  const __m256d unit = _mm256_set1_pd(1.0);
  const __m128i div10000 = _mm_set1_epi32(static_cast<int>(0xD1B71759u));  // 2^45 / 10^4
  const __m128i tenThousand = _mm_set1_epi32(10000);
  const __m128i div100 = _mm_set1_epi32(5243), hundred = _mm_set1_epi32(100);  // 2^19 / 100
  const __m128i div10 = _mm_set1_epi16(103), ten = _mm_set1_epi16(10);         // 2^10 / 10
  const __m128i tensMask = _mm_set1_epi16(0x0F), zeros = _mm_set1_epi8('0');
  const __m128i e5 = _mm_set1_epi32(99999), e6 = _mm_set1_epi32(999999);
  const __m128i e7 = _mm_set1_epi32(9999999), one = _mm_set1_epi32(1);
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d v = _mm256_loadu_pd(x + i);
    const __m256d a = _mm256_andnot_pd(signBit, v);
    const __m256d s = _mm256_mul_pd(a, scale);
    const __m256d f = _mm256_round_pd(s, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    const __m256d d = _mm256_sub_pd(s, f);
    const __m256d clear = _mm256_cmp_pd(_mm256_andnot_pd(signBit, _mm256_sub_pd(d, half)),
                                        _mm256_mul_pd(s, tie), _CMP_GT_OQ);
    const __m256d small = _mm256_cmp_pd(a, limit, _CMP_LT_OQ);  // also false for NaN
    if (_mm256_movemask_pd(_mm256_and_pd(clear, small)) != 0xF) {
      out = FormatLinesPlain(x + i, 4, out);
      continue;
    }
    const __m256d up = _mm256_and_pd(_mm256_cmp_pd(d, half, _CMP_GT_OQ), unit);
    const __m128i m = _mm256_cvttpd_epi32(_mm256_add_pd(f, up));  // below 10^8
    const int negative = _mm256_movemask_pd(_mm256_cmp_pd(v, zero, _CMP_LT_OQ));
    // Digits before the point: 1, one more from 10^5 on, 10^6 and 10^7 (compares give -1).
    alignas(16) std::int32_t widths[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(widths),
                    _mm_sub_epi32(_mm_sub_epi32(_mm_sub_epi32(one, _mm_cmpgt_epi32(m, e5)),
                                                _mm_cmpgt_epi32(m, e6)),
                                  _mm_cmpgt_epi32(m, e7)));
    // Four digits before the point and four after it, each group in a 32-bit lane.
    const __m128i q02 = _mm_srli_epi64(_mm_mul_epu32(m, div10000), 45);
    const __m128i q13 = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(m, 32), div10000), 45);
    const __m128i whole = _mm_or_si128(q02, _mm_slli_epi64(q13, 32));
    const __m128i fraction = _mm_sub_epi32(m, _mm_mullo_epi32(whole, tenThousand));
    alignas(16) std::uint64_t text[4];  // the eight digits of each number, as EightDigits
    for (int h = 0; h < 2; ++h) {
      const __m128i groups =
          h == 0 ? _mm_unpacklo_epi32(whole, fraction) : _mm_unpackhi_epi32(whole, fraction);
      const __m128i hundreds = _mm_srli_epi32(_mm_mullo_epi32(groups, div100), 19);
      const __m128i pairs = _mm_or_si128(
          hundreds, _mm_slli_epi32(_mm_sub_epi32(groups, _mm_mullo_epi32(hundreds, hundred)), 16));
      const __m128i tens =
          _mm_and_si128(_mm_srli_epi16(_mm_mullo_epi16(pairs, div10), 10), tensMask);
      const __m128i ones = _mm_sub_epi16(pairs, _mm_mullo_epi16(tens, ten));
      _mm_store_si128(reinterpret_cast<__m128i*>(text + 2 * h),
                      _mm_add_epi8(_mm_or_si128(tens, _mm_slli_epi16(ones, 8)), zeros));
    }
    for (int j = 0; j < 4; ++j) {
      *out = '-';
      out += (negative >> j) & 1;
      const int w = widths[j];
      const std::uint64_t wholeText = (text[j] & 0xFFFFFFFFULL) >> (8 * (4 - w));
      std::memcpy(out, &wholeText, 8);
      out += w;
      const std::uint64_t tail = Tail(text[j]);
      std::memcpy(out, &tail, 8);
      out += 7;
    }
  }
  return FormatLinesPlain(x + i, n - i, out);
}
#endif

}  // namespace

char* FormatLines(const double* x, std::size_t n, char* out) {
  if constexpr (std::endian::native != std::endian::little) {
    for (std::size_t i = 0; i < n; ++i) {
      out = FormatNumber(x[i], out);
      *out++ = '\r';
      *out++ = '\n';
    }
    return out;
  }
#ifdef ALEARIX_WIDE_TEXT
  static const bool kWide = __builtin_cpu_supports("avx2");
  if (kWide) return FormatLinesWide(x, n, out);
#endif
  return FormatLinesPlain(x, n, out);
}

namespace {

void CheckDensity(const TAlearix& gen) {
  if (!gen.HasPositiveRefPoint()) throw EDistributionError();
}

void WriteHeader(TTextFileWriter& out, std::int64_t count) {
  out.WriteLine("Random numbers generated by Alearix Version 1.0");
  out.WriteLine("1\t; # of columns");
  out.WriteLine(std::to_string(count) + "\t; # of rows");
  out.WriteLine("false false false");
}

// The histogram of the numbers, in the order drawn: class counts and the running maximum
// of the (smoothed) count of the class just hit. The smoothed value is a multiple of a
// third of the three-class sum, which only grows with it: the largest sum gives it.
class THistogramBuilder {
 public:
  THistogramBuilder(const TAlearix& gen, std::int64_t count)
      : FGen(gen), FLast(gen.Resolution() + 1), FSmooth(count >= 1000) {
    // Slots 0..Resolution + 1, with one always-zero guard on each side so that the
    // three-class mean may look at the neighbours of the outer slots.
    FSlots.assign(static_cast<std::size_t>(FLast) + 3, 0);
  }

  void Add(double x) { Count(FGen.ValueToClass(x)); }

  void Add(const double* x, std::size_t n) {
    constexpr std::size_t kPart = 1024;
    int classes[kPart];
    for (std::size_t start = 0; start < n; start += kPart) {
      const std::size_t m = std::min(kPart, n - start);
      FGen.ValuesToClasses(x + start, m, classes);
      for (std::size_t i = 0; i < m; ++i) Count(classes[i]);
    }
  }

  THistogram Result() const {
    THistogram hist;
    hist.Counts.assign(FSlots.begin() + 1, FSlots.end() - 1);
    hist.Scale = FSmooth ? static_cast<double>(FMax) * kThird : static_cast<double>(FMax);
    return hist;
  }

 private:
  static constexpr double kThird = 1.0 / 3;
  const TAlearix& FGen;
  const int FLast;
  const bool FSmooth;
  std::vector<std::int64_t> FSlots;
  std::int64_t FMax = 0;  // the largest class count, or three-class sum, seen

  void Count(int k) {
    std::int64_t* const c = FSlots.data() + 1;
    if (k < 0) k = 0;  // never count outside the slots, whatever the limits
    if (k > FLast) k = FLast;
    ++c[k];
    const std::int64_t h = FSmooth ? c[k - 1] + c[k] + c[k + 1] : c[k];
    if (h > FMax) FMax = h;
  }
};

// Number by number, as the desktop program's "Calc" draws them.
THistogram ExportSerial(TAlearix& gen, std::int64_t count, TTextFileWriter& out,
                        ISampleSink* sink) {
  THistogramBuilder hist(gen, count);
  for (std::int64_t i = 0; i < count; ++i) {
    const double x = gen.RandomValue();
    char* p = out.Reserve(kMaxNumberText + 2);
    char* e = FormatNumber(x, p);
    e[0] = '\r';
    e[1] = '\n';
    out.Advance(static_cast<std::size_t>(e + 2 - p));
    hist.Add(x);
    if (sink) sink->Add(&x, 1);
  }
  return hist.Result();
}

// Blocks of numbers pass from the drawing thread (this one) to the writing thread and
// back through a ring; a block is handed over by its index, never copied. The histogram
// and the sink are filled in the drawing thread while the block before is written.
class TExportPipeline {
 public:
  static constexpr std::size_t kBlock = 16384;  // numbers per block
  static constexpr std::int64_t kRing = 4;      // blocks in the ring

  TExportPipeline(TAlearix& gen, std::int64_t count, TTextFileWriter& out, ISampleSink* sink)
      : FGen(gen),
        FCount(count),
        FOut(out),
        FSink(sink),
        FBlocks((count + static_cast<std::int64_t>(kBlock) - 1) /
                static_cast<std::int64_t>(kBlock)),
        FRing(static_cast<std::size_t>(std::min(FBlocks, kRing)) * kBlock) {}

  THistogram Run() {
    THistogramBuilder hist(FGen, FCount);
    std::thread writer([this] { WriteBlocks(); });
    try {
      DrawBlocks(hist);
    } catch (...) {
      Stop(nullptr);
      writer.join();
      throw;
    }
    writer.join();
    if (FError) std::rethrow_exception(FError);
    return hist.Result();
  }

 private:
  TAlearix& FGen;
  const std::int64_t FCount;
  TTextFileWriter& FOut;
  ISampleSink* const FSink;
  const std::int64_t FBlocks;
  std::vector<double> FRing;
  std::mutex FLock;
  std::condition_variable FChanged;
  std::int64_t FDrawn = 0, FWritten = 0;  // blocks
  bool FStopped = false;
  std::exception_ptr FError;  // of the writing thread

  double* BlockOf(std::int64_t b) {
    return FRing.data() + static_cast<std::size_t>(b % kRing) * kBlock;
  }
  std::size_t SizeOf(std::int64_t b) const {
    const std::int64_t rest = FCount - b * static_cast<std::int64_t>(kBlock);
    return rest < static_cast<std::int64_t>(kBlock) ? static_cast<std::size_t>(rest) : kBlock;
  }

  void Stop(std::exception_ptr error) {
    {
      std::lock_guard<std::mutex> lock(FLock);
      FStopped = true;
      if (error && !FError) FError = error;
    }
    FChanged.notify_all();
  }

  void DrawBlocks(THistogramBuilder& hist) {
    for (std::int64_t b = 0; b < FBlocks; ++b) {
      {
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait(lock, [&] { return FStopped || b - FWritten < kRing; });
        if (FStopped) return;
      }
      double* x = BlockOf(b);
      const std::size_t n = SizeOf(b);
      FGen.RandomValues(x, n);
      hist.Add(x, n);
      if (FSink) FSink->Add(x, n);
      {
        std::lock_guard<std::mutex> lock(FLock);
        FDrawn = b + 1;
      }
      FChanged.notify_all();
    }
  }

  void WriteBlocks() {
    try {
      constexpr std::size_t kLines = 1024;  // lines per reservation in the writer's buffer
      for (std::int64_t b = 0; b < FBlocks; ++b) {
        {
          std::unique_lock<std::mutex> lock(FLock);
          FChanged.wait(lock, [&] { return FStopped || FDrawn > b; });
          if (FStopped) return;
        }
        const double* x = BlockOf(b);
        for (std::size_t i = 0, n = SizeOf(b); i < n; i += kLines) {
          const std::size_t m = std::min(kLines, n - i);
          char* p = FOut.Reserve(m * (kMaxNumberText + 2));
          FOut.Advance(static_cast<std::size_t>(FormatLines(x + i, m, p) - p));
        }
        {
          std::lock_guard<std::mutex> lock(FLock);
          FWritten = b + 1;
        }
        FChanged.notify_all();
      }
    } catch (...) {
      Stop(std::current_exception());
    }
  }
};

}  // namespace

THistogram ExportRandomNumbers(TAlearix& gen, std::int64_t count, TTextFileWriter& out,
                               const TExportOptions& options) {
  CheckDensity(gen);
  WriteHeader(out, count);
  if (options.Pipelined && count > 0) return TExportPipeline(gen, count, out, options.Sink).Run();
  return ExportSerial(gen, count, out, options.Sink);
}

THistogram ExportRandomNumbers(TAlearix& gen, std::int64_t count, const std::string& path,
                               const TExportOptions& options) {
  CheckDensity(gen);  // refuse before the file is created
  TTextFileWriter out(path);
  THistogram hist = ExportRandomNumbers(gen, count, out, options);
  out.Commit();
  return hist;
}
