#include "app/core/export.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csignal>
#include <random>
#include <regex>

#include "app/core/session.h"
#include "app/core/shapes.h"
#include "components/common/floattext.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "platform/textio/textfile.h"
#include "tests/support/testfiles.h"

namespace {

// The engine as the desktop program has it after start: 500 classes, -300..300, the
// start shape, and the uniform source three steps after 0.
TAlearix StartEngine() {
  UniformSeed = 0;
  UniformStartup();
  TAlearix gen;
  SetStartState(gen);
  ComputeShapeTable(gen, TShapeParams{});
  return gen;
}

// ------------------------------------------------------------ number text

TEST(FormatFixed4Test, HandPickedValues) {
  struct {
    double x;
    const char* Text;
  } cases[] = {
      {0.0, "0.0000"},
      {0.5, "0.5000"},
      {-123.45678, "-123.4568"},
      {0.03125, "0.0313"},  // an exact tie rounds up
      {-0.03125, "-0.0313"},
      {0.00005, "0.0001"},  // held just above the tie
      {2.00005, "2.0000"},
      {1.23455, "1.2346"},  // just below / just above
      {123.45675, "123.4567"},
      {1.00015, "1.0002"},
      {-7.77775, "-7.7778"},
      {0.15, "0.1500"},
      {-0.00004, "-0.0000"},
      {-0.00005, "-0.0001"},
      {1e-300, "0.0000"},
      {-1e-300, "-0.0000"},
      {299.99999, "300.0000"},
      {0.0004, "0.0004"},
      {4294967295.99995, "4294967295.9999"},
      {1e12, "1000000000000.0000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FixedText4(c.x), c.Text) << c.x;
  EXPECT_EQ(FixedText4(1e36), FloatText(1, 4, 1e36));
  EXPECT_EQ(FixedText4(1e36).find('.'), 2u);  // scientific form, " 1.0E+0036"
  EXPECT_EQ(FixedText4(-HUGE_VAL), FloatText(1, 4, -HUGE_VAL));
  EXPECT_EQ(FixedText4(std::nan("")), FloatText(1, 4, std::nan("")));
}

TEST(FormatFixed4Test, AgreesWithFloatTextOnRandomAndNearTieValues) {
  std::mt19937_64 rng(12345);
  auto check = [](double x) { ASSERT_EQ(FixedText4(x), FloatText(1, 4, x)) << std::hexfloat << x; };
  for (double x : {-0.0, 4294967296.0, 4294967295.0, 9.9999e35, 1e36, -1e36, 5e-5, 1.5e-5,
                   std::nextafter(0.03125, 0.0), std::nextafter(0.03125, 1.0)})
    check(x);
  std::uniform_int_distribution<int> expo(-30, 60);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 100000; ++i) check(std::ldexp(unit(rng), expo(rng)));
  // Values of the form k / 20000 lie on or next to a rounding tie.
  std::uniform_int_distribution<std::int64_t> k(-2000000000000LL, 2000000000000LL);
  for (int i = 0; i < 100000; ++i) {
    const double x = static_cast<double>(k(rng) | 1) / 20000.0;
    check(x);
    check(std::nextafter(x, 0.0));
    check(std::nextafter(x, HUGE_VAL));
  }
  // Every bit pattern class: random raw doubles.
  for (int i = 0; i < 50000; ++i) check(std::bit_cast<double>(rng()));
}

// Blocks of lines give the text of FormatFixed4 number by number, also for the numbers
// the general routine writes, near ties, integer parts of every length and signed zeros.
TEST(FormatFixed4Test, LinesOfABlockEqualNumberByNumber) {
  std::mt19937_64 rng(777);
  std::uniform_int_distribution<int> expo(-20, 40);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<double> xs = {0.0, -0.0, 0.00005, -0.00005, 9999.99995, 99999999, 1e8, -123456789.5,
                            4294967295.99995, 4294967296.0, 1e36, -HUGE_VAL, std::nan(""), 1e-300,
                            -7.77775,
                            // integer parts of every length, in groups of four
                            9.9999, 10, 99.9999, -100, 999.9999, 1000, -9998.9999, 0.0001};
  for (int i = 0; i < 20000; ++i) xs.push_back(std::ldexp(unit(rng), expo(rng)));
  for (int i = 0; i < 20000; ++i) xs.push_back(unit(rng) * 10000);  // mostly in groups of four
  for (int i = 0; i < 20000; ++i)
    xs.push_back(static_cast<double>(rng() % 200000001) / 20000.0 - 5000);
  for (int i = 0; i < 20000; ++i)
    xs.push_back(static_cast<double>(rng() % 4000000001 | 1) / 20000.0 - 100000);
  std::vector<char> buf(xs.size() * (kMaxNumberText + 2));
  for (std::size_t offset : {std::size_t{0}, std::size_t{3}}) {  // groups not on a block edge
    const std::string text(buf.data(),
                           FormatLines(xs.data() + offset, xs.size() - offset, buf.data()));
    std::size_t pos = 0;
    for (std::size_t i = offset; i < xs.size(); ++i) {
      const std::string line = FixedText4(xs[i]) + "\r\n";
      ASSERT_EQ(text.substr(pos, line.size()), line) << std::hexfloat << xs[i];
      pos += line.size();
    }
    EXPECT_EQ(pos, text.size());
  }
}

// ------------------------------------------------------------ the ".asc" file

TEST(CountTableTest, PositionsOfTheCountScrollBar) {
  EXPECT_EQ(CountTable[0], 1);
  EXPECT_EQ(CountTable[15], 500);  // start position 16
  EXPECT_EQ(CountTable[17], 1000);
  EXPECT_EQ(CountTable[27], 50000);
  EXPECT_TRUE(std::is_sorted(CountTable.begin(), CountTable.end()));
  EXPECT_EQ(std::adjacent_find(CountTable.begin(), CountTable.end()), CountTable.end());
}

class ExportTest : public TScratchDir {};

TEST_F(ExportTest, StartSettingsWrite504LinesInDrawOrder) {
  TAlearix gen = StartEngine();
  TAlearix twin = gen;
  const auto path = PathOf("unknown.asc");
  THistogram hist = ExportRandomNumbers(gen, 500, path);

  const auto lines = CrLfLines(Get(path));
  ASSERT_EQ(lines.size(), 504u);
  EXPECT_EQ(lines[0], "Random numbers generated by Alearix Version 1.0");
  EXPECT_EQ(lines[1], "1\t; # of columns");
  EXPECT_EQ(lines[2], "500\t; # of rows");
  EXPECT_EQ(lines[3], "false false false");

  // The same draws from the same start state, in the same order.
  UniformSeed = 0;
  UniformStartup();
  const std::regex form(R"(-?[0-9]+\.[0-9]{4})");
  std::vector<std::int64_t> counts(502, 0);
  for (int i = 0; i < 500; ++i) {
    const double x = twin.RandomValue();
    ASSERT_EQ(lines[4 + i], FloatText(1, 4, x)) << i;
    ASSERT_TRUE(std::regex_match(lines[4 + i], form)) << lines[4 + i];
    ASSERT_TRUE(x >= -300 && x < 300);
    ++counts[twin.ValueToClass(x)];
  }
  EXPECT_EQ(hist.Counts, counts);
  // Below 1000 numbers the scale is the highest raw class count.
  EXPECT_EQ(hist.Scale, static_cast<double>(*std::max_element(counts.begin(), counts.end())));
  EXPECT_EQ(hist.Count(-1), 0);
  EXPECT_EQ(hist.Count(502), 0);
}

// The scale as the export computes it, replayed from the numbers of a twin engine.
double ReplayScale(TAlearix& twin, int count, std::uint32_t seed) {
  UniformSeed = seed;
  std::vector<std::int64_t> c(twin.Resolution() + 4, 0);
  double m = 0;
  for (int i = 0; i < count; ++i) {
    const int k = twin.ValueToClass(twin.RandomValue()) + 1;
    ++c[k];
    const double h = count < 1000 ? c[k] : (c[k - 1] + c[k] + c[k + 1]) * (1.0 / 3);
    m = std::max(m, h);
  }
  return m;
}

TEST_F(ExportTest, ScaleSwitchesToThreeClassMeanAt1000Numbers) {
  for (int count : {999, 1000, 5000}) {
    TAlearix gen = StartEngine(), twin = gen;
    const std::uint32_t seed = UniformSeed;
    THistogram hist = ExportRandomNumbers(gen, count, PathOf("n.asc"));
    const auto maxCount = *std::max_element(hist.Counts.begin(), hist.Counts.end());
    if (count < 1000) {
      EXPECT_EQ(hist.Scale, static_cast<double>(maxCount));
    } else {
      EXPECT_LT(hist.Scale, static_cast<double>(maxCount)) << count;  // smoothed
      EXPECT_EQ(hist.Scale, ReplayScale(twin, count, seed)) << count;
    }
    std::int64_t total = 0;
    for (auto c : hist.Counts) total += c;
    EXPECT_EQ(total, count);
  }
}

TEST_F(ExportTest, SmallCountsAndNarrowRange) {
  TAlearix gen = StartEngine();
  gen.LowerLimit = 0;
  gen.UpperLimit = 0.001;
  ExportRandomNumbers(gen, 1, PathOf("one.asc"));
  auto lines = CrLfLines(Get(PathOf("one.asc")));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "1\t; # of rows");
  EXPECT_TRUE(std::regex_match(lines[4], std::regex(R"(0\.00(0[0-9]|10))"))) << lines[4];
}

TEST_F(ExportTest, EveryClassHasItsSlotAboveResolution500) {
  TAlearix gen = StartEngine();
  gen.SetResolution(4000);
  for (int i = 1; i <= 3500; ++i) gen.SetRefPoint(i, 0.0);  // mass in classes 3501..4000
  THistogram hist = ExportRandomNumbers(gen, 2000, PathOf("big.asc"));
  ASSERT_EQ(hist.Counts.size(), 4002u);
  std::int64_t total = 0, high = 0;
  for (int i = 0; i <= 4001; ++i) {
    total += hist.Count(i);
    if (i >= 3500) high += hist.Count(i);  // class 3500 rises to point 3501
  }
  EXPECT_EQ(total, 2000);
  EXPECT_EQ(high, 2000);
  EXPECT_GT(hist.Scale, 0.0);
}

TEST_F(ExportTest, EqualLimitsWriteTheLimitAndReversedLimitsStayInSlots) {
  TAlearix gen = StartEngine();
  gen.LowerLimit = gen.UpperLimit = 5.0;
  THistogram hist = ExportRandomNumbers(gen, 1500, PathOf("eq.asc"));
  auto lines = CrLfLines(Get(PathOf("eq.asc")));
  ASSERT_EQ(lines.size(), 1504u);
  for (std::size_t i = 4; i < lines.size(); ++i) ASSERT_EQ(lines[i], "5.0000");
  std::int64_t total = 0;
  for (auto c : hist.Counts) total += c;
  EXPECT_EQ(total, 1500);

  gen.LowerLimit = 300;
  gen.UpperLimit = -300;
  hist = ExportRandomNumbers(gen, 1500, PathOf("rev.asc"));
  total = 0;
  for (auto c : hist.Counts) total += c;
  EXPECT_EQ(total, 1500);
  EXPECT_EQ(hist.Counts.size(), 502u);
}

TEST_F(ExportTest, DensityWithoutPositivePointCreatesNoFile) {
  TAlearix gen = StartEngine();
  for (int i = 1; i <= 500; ++i) gen.SetRefPoint(i, 0.0);
  const std::uint32_t seed = UniformSeed;
  EXPECT_THROW(ExportRandomNumbers(gen, 10, PathOf("none.asc")), EDistributionError);
  EXPECT_FALSE(std::filesystem::exists(PathOf("none.asc")));
  const auto old = Put("old.asc", "previous numbers\r\n");
  EXPECT_THROW(ExportRandomNumbers(gen, 10, old), EDistributionError);
  EXPECT_EQ(Get(old), "previous numbers\r\n");
  EXPECT_EQ(FileCount(), 1u);
  EXPECT_EQ(UniformSeed, seed);  // nothing drawn
}

TEST_F(ExportTest, FailedWriteKeepsOldFileAndLeavesNoTemporary) {
  TAlearix gen = StartEngine();
  std::string msg;
  try {
    ExportRandomNumbers(gen, 10, PathOf("missing/out.asc"));
  } catch (const EInOutError& e) {
    msg = e.what();
  }
  EXPECT_EQ(msg, "File not found");

  // A target that cannot be replaced (a non-empty folder): the rename fails.
  std::filesystem::create_directories(FDir / "busy" / "x");
  EXPECT_THROW(ExportRandomNumbers(gen, 10, PathOf("busy")), EInOutError);
  EXPECT_TRUE(std::filesystem::is_directory(FDir / "busy" / "x"));
  EXPECT_EQ(FileCount(), 1u);
}

// Records the numbers it is given; throws once it holds failAt of them.
class TRecordingSink : public ISampleSink {
 public:
  explicit TRecordingSink(std::size_t failAt = SIZE_MAX) : FFailAt(failAt) {}
  void Add(const double* x, std::size_t n) override {
    Numbers.insert(Numbers.end(), x, x + n);
    if (Numbers.size() >= FFailAt) throw std::runtime_error("sink full");
  }
  std::vector<double> Numbers;

 private:
  std::size_t FFailAt;
};

// Drawing and writing in two threads gives the serial export's bytes, histogram, numbers
// and source state: below and above the smoothing threshold, one number, more blocks than
// the ring holds, many classes, reversed and equal limits.
TEST_F(ExportTest, PipelineEqualsTheSerialExport) {
  struct {
    std::int64_t Count;
    int Resolution;
    double Lo, Hi;
  } cases[] = {{999, 500, -300, 300},   {1, 500, -300, 300},     {65543 + 16384, 500, -300, 300},
               {100000, 4000, 0, 1e-3}, {20000, 500, 300, -300}, {3000, 500, 5, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Count);
    TAlearix serial = StartEngine();
    if (c.Resolution != 500) {
      serial.SetResolution(c.Resolution);
      for (int i = 1; i <= c.Resolution; ++i) serial.SetRefPoint(i, i > 3000 ? 1.0 : 0.01);
    }
    serial.LowerLimit = c.Lo;
    serial.UpperLimit = c.Hi;
    TAlearix piped = serial;
    const std::uint32_t seed = UniformSeed;
    TRecordingSink serialSink, pipedSink;
    const THistogram a =
        ExportRandomNumbers(serial, c.Count, PathOf("a.asc"), {false, &serialSink});
    const std::uint32_t after = UniformSeed;
    UniformSeed = seed;
    const THistogram b = ExportRandomNumbers(piped, c.Count, PathOf("b.asc"), {true, &pipedSink});
    EXPECT_EQ(UniformSeed, after);
    EXPECT_TRUE(Get(PathOf("a.asc")) == Get(PathOf("b.asc")));
    EXPECT_EQ(a.Counts, b.Counts);
    EXPECT_EQ(a.Scale, b.Scale);
    EXPECT_EQ(pipedSink.Numbers.size(), static_cast<std::size_t>(c.Count));
    EXPECT_TRUE(serialSink.Numbers == pipedSink.Numbers);
  }
}

// A failing write or sink ends both threads and reports the failure; nothing is left.
TEST_F(ExportTest, PipelineFailuresReachTheCaller) {
  ::signal(SIGPIPE, SIG_IGN);
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ::close(fds[0]);
  TAlearix gen = StartEngine();
  auto closed = TTextFileWriter::ForDescriptor(fds[1]);
  try {
    ExportRandomNumbers(gen, 1000000, *closed, {true, nullptr});
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Broken pipe");
  }
  ::close(fds[1]);

  TRecordingSink full(40000);
  EXPECT_THROW(ExportRandomNumbers(gen, 1000000, PathOf("s.asc"), {true, &full}),
               std::runtime_error);
  EXPECT_EQ(FileCount(), 0u);
}

TEST_F(ExportTest, StreamedOutputEqualsFileOutput) {
  TAlearix a = StartEngine();
  ExportRandomNumbers(a, 2345, PathOf("file.asc"));
  TAlearix b = StartEngine();
  const int fd = ::open(PathOf("stream.asc").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  {
    auto out = TTextFileWriter::ForDescriptor(fd);
    ExportRandomNumbers(b, 2345, *out);
    out->Commit();
  }
  ::close(fd);
  EXPECT_EQ(Get(PathOf("stream.asc")), Get(PathOf("file.asc")));
}

}  // namespace
