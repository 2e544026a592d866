#include "cli/gen.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "app/core/distfile.h"
#include "app/core/export.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "tests/support/testfiles.h"

namespace {

class GenTest : public TScratchDir {
 protected:
  // Runs alearix-gen with args (shell words), standard output to out, standard
  // error to err in the scratch folder; returns the exit status.
  int Run(const std::string& args) {
    const std::string cmd = "cd '" + FDir.string() + "' && '" ALEARIX_GEN_PATH "' " + args + " >'" +
                            PathOf("stdout") + "' 2>'" + PathOf("stderr") + "'";
    int st = std::system(cmd.c_str());
    FOut = Get(PathOf("stdout"));
    FErr = Get(PathOf("stderr"));
    std::filesystem::remove(PathOf("stdout"));
    std::filesystem::remove(PathOf("stderr"));
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  // What the desktop program writes on its first "Calc" for a density made by make.
  template <class F>
  std::string DesktopCalc(F make, std::int64_t count, double lo = -300, double hi = 300) {
    UniformSeed = 0;
    UniformStartup();
    TAlearix gen;
    gen.SetResolution(500);
    gen.LowerLimit = -300;
    gen.UpperLimit = 300;
    make(gen);
    gen.LowerLimit = lo;
    gen.UpperLimit = hi;
    ExportRandomNumbers(gen, count, PathOf("desktop.asc"));
    std::string bytes = Get(PathOf("desktop.asc"));
    std::filesystem::remove(PathOf("desktop.asc"));
    return bytes;
  }

  std::string FOut, FErr;
};

TEST_F(GenTest, DefaultOutputIsTheDesktopProgramsFirstCalc) {
  ASSERT_EQ(Run("--count 500"), 0) << FErr;
  const auto lines = CrLfLines(FOut);
  ASSERT_EQ(lines.size(), 504u);
  EXPECT_EQ(lines[2], "500\t; # of rows");
  EXPECT_EQ(FOut, DesktopCalc([](TAlearix& g) { ComputeShapeTable(g, TShapeParams{}); }, 500));
  EXPECT_EQ(FErr, "");

  // The same bytes to a file, through "-", and with --seed 0.
  ASSERT_EQ(Run("-o out.asc"), 0);
  EXPECT_EQ(FOut, "");
  const std::string file = Get(PathOf("out.asc"));
  ASSERT_EQ(Run("-o - --seed 0"), 0);
  EXPECT_EQ(FOut, file);
  EXPECT_EQ(file, DesktopCalc([](TAlearix& g) { ComputeShapeTable(g, TShapeParams{}); }, 500));
  ASSERT_EQ(Run("--seed 1"), 0);
  EXPECT_NE(FOut, file);
  EXPECT_EQ(FOut.substr(0, 100), file.substr(0, 100));  // same header
}

TEST_F(GenTest, ShapesMixesAndRanges) {
  ASSERT_EQ(Run("--shape bimodal --count 2000 --from 0 --to 0.001"), 0) << FErr;
  EXPECT_EQ(
      FOut,
      DesktopCalc([](TAlearix& g) { ComputeShapeTable(g, ShapeParamsOf(*FindPreset("bimodal"))); },
                  2000, 0, 0.001));
  ASSERT_EQ(Run("--mix 100,20,400,30,0.25 --count 3 --to 1e3"), 0) << FErr;
  EXPECT_EQ(FOut, DesktopCalc(
                      [](TAlearix& g) {
                        ComputeShapeTable(g, TShapeParams{100, 20, 400, 30, 0.25});
                      },
                      3, -300, 1000));
  EXPECT_EQ(CrLfLines(FOut).size(), 7u);
}

TEST_F(GenTest, LoadAndSaveDistributions) {
  // A hand-written file: its limits are used unless given.
  Put("d.rnd", "comment\r\n10\r\n100\r\n200\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
  ASSERT_EQ(Run("--load d.rnd --count 1000 --save copy.rnd -o n.asc"), 0) << FErr;
  auto loaded = [&](TAlearix& g) { LoadDistribution(g, PathOf("d.rnd")); };
  EXPECT_EQ(Get(PathOf("n.asc")), DesktopCalc(loaded, 1000, 100, 200));
  auto lines = CrLfLines(Get(PathOf("copy.rnd")));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[2], " 1.00000000000000E+0002\t; lower limit of random numbers");
  EXPECT_EQ(lines[4], " 0.00000000000000E+0000\t; reference points ...");
  EXPECT_EQ(lines[8], " 1.00000000000000E+0000");

  ASSERT_EQ(Run("--load d.rnd --from 150 --count 10"), 0) << FErr;
  EXPECT_EQ(FOut, DesktopCalc(loaded, 10, 150, 200));

  // --save alone writes the density as "Save" would.
  ASSERT_EQ(Run("--save start.rnd -o /dev/null"), 0) << FErr;
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));  // written to, not replaced
  TAlearix start;
  start.SetResolution(500);
  start.LowerLimit = -300;
  start.UpperLimit = 300;
  ComputeShapeTable(start, TShapeParams{});
  SaveDistribution(start, PathOf("expected.rnd"));
  EXPECT_EQ(Get(PathOf("start.rnd")), Get(PathOf("expected.rnd")));
}

TEST_F(GenTest, BadOptionsGiveMessageUsageAndStatus2) {
  for (const char* args :
       {"--count 0", "--bogus", "--seed 4294967296", "--from 5.", "--shape round", "--count"}) {
    EXPECT_EQ(Run(std::string(args) + " -o never.asc"), 2) << args;
    EXPECT_EQ(FOut, "");
    EXPECT_EQ(FErr.rfind("alearix-gen: ", 0), 0u) << FErr;
    EXPECT_NE(FErr.find("Usage: alearix-gen"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(PathOf("never.asc")));
  }
#ifndef ALEARIX_GEN_HAS_PNG
  // A build without the chart has no renderer.
  EXPECT_EQ(Run("--png chart.png"), 2);
  EXPECT_NE(FErr.find("--png"), std::string::npos);
#endif
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(FOut.find("--count N"), std::string::npos);
}

TEST_F(GenTest, FileErrorsNameTheFileAndLeaveNothingBehind) {
  EXPECT_EQ(Run("--load missing.rnd -o out.asc --save s.rnd"), 1);
  EXPECT_EQ(FErr, "alearix-gen: missing.rnd: File not found\n");

  Put("bad.rnd", "comment\r\n10\r\n-1\r\n1\r\n0.5\r\n1,5\r\n");
  EXPECT_EQ(Run("--load bad.rnd -o out.asc --save s.rnd"), 1);
  EXPECT_EQ(FErr, "alearix-gen: bad.rnd: Invalid numeric input\n");

  Put("zero.rnd", "comment\r\n10\r\n-1\r\n1\r\n0\r\n");
  EXPECT_EQ(Run("--load zero.rnd -o out.asc"), 1);
  EXPECT_NE(FErr.find("zero.rnd: The distribution has no positive reference point"),
            std::string::npos);

  EXPECT_EQ(Run("-o nodir/out.asc --save s.rnd"), 1);
  EXPECT_EQ(FErr, "alearix-gen: nodir/out.asc: File not found\n");
  EXPECT_EQ(Run("--save nodir/s.rnd -o out.asc"), 1);
  EXPECT_EQ(FErr, "alearix-gen: nodir/s.rnd: File not found\n");
  EXPECT_EQ(FOut, "");

  // Only the inputs written above are left: no outputs, no temporaries.
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(FDir))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"bad.rnd", "zero.rnd"}));
}

TEST_F(GenTest, ExistingOutputSurvivesAFailedRun) {
  Put("out.asc", "old");
  Put("bad.rnd", "comment\r\n10\r\n5.\r\n");
  EXPECT_EQ(Run("--load bad.rnd -o out.asc"), 1);
  EXPECT_EQ(Get(PathOf("out.asc")), "old");
}

TEST_F(GenTest, CountBeyondTheScrollBarTable) {
  ASSERT_EQ(Run("--count 1000000 --from 0 --to 1 -o big.asc"), 0) << FErr;
  const std::string big = Get(PathOf("big.asc"));
  // 107 header bytes, then 1000000 lines of "d.dddd" and CR LF.
  ASSERT_EQ(big.size(), 107u + 8u * 1000000u);
  EXPECT_EQ(big.substr(67, 21), "1000000\t; # of rows\r\n");
  for (std::size_t pos = 107; pos < big.size(); pos += 8)
    ASSERT_TRUE(big[pos + 1] == '.' && big[pos + 6] == '\r' && big[pos + 7] == '\n') << pos;
}

// In-process: the chart hook gets the options, the density and the histogram of the
// numbers written, and a failing hook leaves no output behind.
std::int64_t HookTotal = 0;
std::string HookPath;
bool HookThrows = false;
void FakePng(const TGenOptions& opts, const TAlearix& gen, const THistogram& hist) {
  HookPath = opts.PngPath;
  HookTotal = 0;
  for (int i = 0; i <= gen.Resolution() + 1; ++i) HookTotal += hist.Count(i);
  if (HookThrows) throw std::runtime_error("cannot draw");
}

TEST_F(GenTest, PngHook) {
  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  const std::vector<std::string> args = {"--count", "1234",          "-o",    PathOf("a.asc"),
                                         "--save",  PathOf("a.rnd"), "--png", PathOf("c.png")};
  EXPECT_EQ(GenMain(args, -1, stdout, err, &FakePng), 0);
  EXPECT_EQ(HookPath, PathOf("c.png"));
  EXPECT_EQ(HookTotal, 1234);
  EXPECT_TRUE(std::filesystem::exists(PathOf("a.asc")));
  std::filesystem::remove(PathOf("a.asc"));
  std::filesystem::remove(PathOf("a.rnd"));

  HookThrows = true;
  EXPECT_EQ(GenMain(args, -1, stdout, err, &FakePng), 1);
  HookThrows = false;
  EXPECT_EQ(FileCount(), 0u);
  std::rewind(err);
  char line[200] = {};
  ASSERT_NE(std::fgets(line, sizeof line, err), nullptr);
  EXPECT_EQ(std::string(line), "alearix-gen: " + PathOf("c.png") + ": cannot draw\n");
  std::fclose(err);

  // Without a renderer --png is a usage error.
  err = std::tmpfile();
  EXPECT_EQ(GenMain(args, -1, stdout, err, nullptr), 2);
  std::fclose(err);
  EXPECT_EQ(FileCount(), 0u);
}

}  // namespace
