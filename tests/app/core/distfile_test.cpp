#include "app/core/distfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"
#include "tests/support/testfiles.h"

namespace {

class DistFileTest : public TScratchDir {
 protected:
  static TAlearix StartEngine() {
    TAlearix gen;
    SetStartState(gen);
    return gen;
  }
  // An engine in a recognisable state that a failed load must leave alone.
  static TAlearix Custom() {
    TAlearix gen;
    gen.SetResolution(200);
    gen.LowerLimit = 1.5;
    gen.UpperLimit = 2.5;
    for (int i = 1; i <= 200; ++i) gen.SetRefPoint(i, i / 200.0);
    return gen;
  }
  static void ExpectSame(const TAlearix& a, const TAlearix& b) {
    ASSERT_EQ(a.Resolution(), b.Resolution());
    EXPECT_EQ(a.LowerLimit, b.LowerLimit);
    EXPECT_EQ(a.UpperLimit, b.UpperLimit);
    for (int i = 1; i <= a.Resolution(); ++i) ASSERT_EQ(a.GetRefPoint(i), b.GetRefPoint(i)) << i;
  }
  std::string LoadError(TAlearix& gen, const std::string& path) {
    try {
      LoadDistribution(gen, path);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no error)";
  }
  static std::string Rnd(const std::string& count, const std::vector<std::string>& values,
                         const std::string& lo = "-1", const std::string& hi = "1") {
    std::string s = "comment\r\n" + count + "\t; resolution\r\n" + lo + "\r\n" + hi + "\r\n";
    for (const auto& v : values) s += v + "\r\n";
    return s;
  }
};

TEST_F(DistFileTest, SaveWritesTheExactLines) {
  TAlearix gen = StartEngine();
  gen.SetRefPoint(2, 0.5);
  gen.SetRefPoint(3, 0.0);
  SaveDistribution(gen, PathOf("unknown.rnd"));
  const auto lines = CrLfLines(Get(PathOf("unknown.rnd")));
  ASSERT_EQ(lines.size(), 504u);
  EXPECT_EQ(lines[0], "comment");
  EXPECT_EQ(lines[1], "500\t; resolution of random generator");
  EXPECT_EQ(lines[2], "-3.00000000000000E+0002\t; lower limit of random numbers");
  EXPECT_EQ(lines[3], " 3.00000000000000E+0002\t; upper limit of random numbers");
  EXPECT_EQ(lines[4], " 1.00000000000000E+0000\t; reference points ...");
  EXPECT_EQ(lines[5], " 5.00000000000000E-0001");
  EXPECT_EQ(lines[6], " 0.00000000000000E+0000");
  EXPECT_EQ(lines[503], " 1.00000000000000E+0000");
  for (std::size_t i = 5; i < lines.size(); ++i) ASSERT_EQ(lines[i].size(), 23u) << i;
}

TEST_F(DistFileTest, RoundTripTo15SignificantDigits) {
  TAlearix gen = StartEngine();
  ComputeShapeTable(gen, ShapeParamsOf(*FindPreset("bimodal")));
  gen.LowerLimit = -1.0 / 3;
  gen.UpperLimit = 12345.678901234567;
  SaveDistribution(gen, PathOf("b.rnd"));
  TAlearix back;
  LoadDistribution(back, PathOf("b.rnd"));
  ASSERT_EQ(back.Resolution(), 500);
  auto close15 = [](double a, double b) { return std::fabs(a - b) <= 5e-15 * std::fabs(a); };
  EXPECT_TRUE(close15(gen.LowerLimit, back.LowerLimit));
  EXPECT_TRUE(close15(gen.UpperLimit, back.UpperLimit));
  for (int i = 1; i <= 500; ++i)
    ASSERT_TRUE(close15(gen.GetRefPoint(i), back.GetRefPoint(i)))
        << i << " " << gen.GetRefPoint(i) << " " << back.GetRefPoint(i);
  // A 200-point density saves as 204 lines.
  back.SetResolution(200);
  SaveDistribution(back, PathOf("200.rnd"));
  EXPECT_EQ(CrLfLines(Get(PathOf("200.rnd"))).size(), 204u);
}

TEST_F(DistFileTest, FewerThanTenPointsAndClampedValues) {
  TAlearix gen;
  LoadDistribution(gen, Put("two.rnd", Rnd("2", {"0.2", "0.4"}, "-5", "5")));
  ASSERT_EQ(gen.Resolution(), 10);
  EXPECT_EQ(gen.LowerLimit, -5.0);
  EXPECT_EQ(gen.UpperLimit, 5.0);
  EXPECT_EQ(gen.GetRefPoint(1), 0.2);
  EXPECT_EQ(gen.GetRefPoint(2), 0.4);
  for (int i = 3; i <= 10; ++i) EXPECT_EQ(gen.GetRefPoint(i), 1.0) << i;

  // Out-of-range values are clamped, then the table is normalised.
  LoadDistribution(gen, Put("clamp.rnd", Rnd("12", {"7", "-3", "0.25", "0.5"})));
  ASSERT_EQ(gen.Resolution(), 12);
  EXPECT_EQ(gen.GetRefPoint(1), 1.0);
  EXPECT_EQ(gen.GetRefPoint(2), 0.0);
  EXPECT_EQ(gen.GetRefPoint(3), 0.25);
  EXPECT_EQ(gen.GetRefPoint(4), 0.5);
  for (int i = 5; i <= 12; ++i) EXPECT_EQ(gen.GetRefPoint(i), 0.0) << i;  // missing: 0

  // The maximum below 1 is scaled up.
  LoadDistribution(gen, Put("half.rnd", Rnd("10", {"0.5", "0.25", "0.5", "0.5", "0.5", "0.5", "0.5",
                                                   "0.5", "0.5", "0.125"})));
  EXPECT_EQ(gen.GetRefPoint(1), 1.0);
  EXPECT_EQ(gen.GetRefPoint(2), 0.5);
  EXPECT_EQ(gen.GetRefPoint(10), 0.25);
}

TEST_F(DistFileTest, CountOfZeroOrLessReadsNoValues) {
  for (const char* count : {"0", "-7"}) {
    TAlearix gen = Custom();
    LoadDistribution(gen, Put("z.rnd", Rnd(count, {"0.1", "0.2"}, "3", "4")));
    ASSERT_EQ(gen.Resolution(), 10) << count;
    EXPECT_EQ(gen.LowerLimit, 3.0);
    EXPECT_EQ(gen.UpperLimit, 4.0);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(gen.GetRefPoint(i), 1.0) << i;
  }
}

TEST_F(DistFileTest, CountAbove4000KeepsTheFirst4000) {
  std::vector<std::string> values(4005, "0.5");
  values[0] = "0.25";
  values[3999] = "1";
  values[4004] = "garbage";  // read as the 4005th value: still a number token error
  TAlearix gen = Custom();
  EXPECT_EQ(LoadError(gen, Put("bad.rnd", Rnd("4005", values))), "Invalid numeric input");
  values[4004] = "0.75";
  LoadDistribution(gen, Put("big.rnd", Rnd("4005", values)));
  ASSERT_EQ(gen.Resolution(), 4000);
  EXPECT_EQ(gen.GetRefPoint(1), 0.25);
  EXPECT_EQ(gen.GetRefPoint(2), 0.5);
  EXPECT_EQ(gen.GetRefPoint(4000), 1.0);
}

TEST_F(DistFileTest, ReaderToleranceHexCommentsBlankLinesAndExtraLines) {
  TAlearix gen;
  const std::string text =
      "any text at all, 1,5 5.\r\n"
      "$A ; hex resolution\r\n"
      "\r\n"
      "  -1e1 lower with a comment\r\n"
      "\t+10.0E+00\r\n"
      "0.5 first\r\n1\r\n0.25\r\n0.5\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n"
      "0.125 extra line after the last value\r\n"
      "not a number either\r\n";
  LoadDistribution(gen, Put("tol.rnd", text));
  ASSERT_EQ(gen.Resolution(), 10);
  EXPECT_EQ(gen.LowerLimit, -10.0);
  EXPECT_EQ(gen.UpperLimit, 10.0);
  EXPECT_EQ(gen.GetRefPoint(1), 0.5);
  EXPECT_EQ(gen.GetRefPoint(3), 0.25);
  EXPECT_EQ(gen.GetRefPoint(10), 0.0);
}

TEST_F(DistFileTest, AbsurdCountStopsAtTheEndOfTheFile) {
  TAlearix gen;
  LoadDistribution(gen, Put("huge.rnd", Rnd("2147483647", {"0.5", "1", "0.25"})));
  ASSERT_EQ(gen.Resolution(), 4000);
  EXPECT_EQ(gen.GetRefPoint(1), 0.5);
  EXPECT_EQ(gen.GetRefPoint(2), 1.0);
  EXPECT_EQ(gen.GetRefPoint(3), 0.25);
  EXPECT_EQ(gen.GetRefPoint(4), 0.0);
  EXPECT_EQ(gen.GetRefPoint(4000), 0.0);
}

TEST_F(DistFileTest, FailedLoadLeavesTheEngineUnchanged) {
  const TAlearix before = Custom();
  struct {
    std::string Name, Text, Message;
  } cases[] = {
      {"badpoint.rnd", Rnd("20", {"0.5", "0.5", "5."}), "Invalid numeric input"},
      {"comma.rnd", Rnd("20", {"1,5"}), "Invalid numeric input"},
      {"badcount.rnd", Rnd("20.0", {"1"}), "Invalid numeric input"},
      {"bigcount.rnd", Rnd("3000000000", {"1"}), "Invalid numeric input"},
      {"badlimit.rnd", Rnd("20", {"1"}, "-3,0"), "Invalid numeric input"},
      {"zeros.rnd", Rnd("20", {"0", "0", "-1"}), kMsgNoPositiveRefPoint},
  };
  for (const auto& c : cases) {
    TAlearix gen = Custom();
    EXPECT_EQ(LoadError(gen, Put(c.Name, c.Text)), c.Message) << c.Name;
    ExpectSame(gen, before);
  }
  TAlearix gen = Custom();
  EXPECT_EQ(LoadError(gen, PathOf("missing.rnd")), "File not found");
  ExpectSame(gen, before);
  EXPECT_EQ(LoadError(gen, Put("empty.rnd", "")), "(no error)");  // count 0: ten 1.0s
  EXPECT_EQ(gen.Resolution(), 10);
  EXPECT_EQ(gen.GetRefPoint(10), 1.0);
  gen = Custom();
  ExpectSame(gen, before);
  EXPECT_EQ(LoadError(gen, FDir.string()), "File access denied");
  ExpectSame(gen, before);
}

TEST_F(DistFileTest, FailedSaveKeepsTheOldFile) {
  TAlearix gen = StartEngine();
  std::string msg;
  try {
    SaveDistribution(gen, PathOf("nodir/x.rnd"));
  } catch (const EInOutError& e) {
    msg = e.what();
  }
  EXPECT_EQ(msg, "File not found");
  std::filesystem::create_directories(FDir / "taken" / "sub");
  EXPECT_THROW(SaveDistribution(gen, PathOf("taken")), EInOutError);
  EXPECT_EQ(FileCount(), 1u);  // no temporary left beside it
}

// The program reloads every file it saves, also with the largest and smallest limits.
TEST_F(DistFileTest, EverySavedFileLoadsBackWithExtremeLimits) {
  const double big = std::numeric_limits<double>::max();
  const double tiny = std::numeric_limits<double>::denorm_min();
  for (double lo : {big, -big, std::nextafter(big, 0.0), -1e308, 2.5e-308, tiny, -tiny, -0.0}) {
    TAlearix gen = StartEngine();
    gen.LowerLimit = lo;
    gen.UpperLimit = -lo;
    SaveDistribution(gen, PathOf("x.rnd"));
    TAlearix back;
    ASSERT_EQ(LoadError(back, PathOf("x.rnd")), "(no error)") << lo;
    EXPECT_NEAR(back.LowerLimit, lo, 1e-14 * std::fabs(lo)) << lo;
    EXPECT_NEAR(back.UpperLimit, -lo, 1e-14 * std::fabs(lo)) << lo;
  }
}

// What a file has not delivered within its first 16 MiB is not waited for; what
// follows its values is never read.
TEST_F(DistFileTest, ValuesBeyondTheFirst16MiBAreRefused) {
  const std::string pad(kMaxDistributionBytes, ' ');
  TAlearix gen = Custom();
  EXPECT_EQ(LoadError(gen, Put("late.rnd", "comment" + pad + Rnd("10", {"1"}))),
            "Invalid numeric input");
  ExpectSame(gen, Custom());
  EXPECT_EQ(LoadError(gen, Put("late2.rnd", Rnd("10", {"0.5"}) + pad + "1\r\n")),
            "Invalid numeric input");
  ExpectSame(gen, Custom());
  const std::vector<std::string> ten(10, "1");
  EXPECT_EQ(LoadError(gen, Put("early.rnd", Rnd("10", ten) + pad + "junk")), "(no error)");
}

}  // namespace
