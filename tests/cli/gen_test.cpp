#include "cli/gen.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "app/core/distfile.h"
#include "app/core/export.h"
#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"
#include "platform/textio/textfile.h"
#include "tests/cli/genrun.h"

namespace fs = std::filesystem;

namespace {

class GenTest : public TGenRun {
 protected:
  // What the desktop program writes on its first "Calc" for a density made by make.
  template <class F>
  std::string DesktopCalc(F make, std::int64_t count, double lo = kStartLowerLimit,
                          double hi = kStartUpperLimit) {
    UniformSeed = 0;
    UniformStartup();
    TAlearix gen;
    SetStartState(gen);
    make(gen);
    gen.LowerLimit = lo;
    gen.UpperLimit = hi;
    {
      TTextFileWriter out(PathOf("desktop.asc"));
      Calc(gen, count, out);
      out.Commit();
    }
    std::string bytes = Get(PathOf("desktop.asc"));
    std::filesystem::remove(PathOf("desktop.asc"));
    return bytes;
  }
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

  // --save writes the density as "Save" would.
  ASSERT_EQ(Run("--save start.rnd"), 0) << FErr;
  TAlearix start;
  SetStartState(start);
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
  EXPECT_EQ(Run("--version"), 0);
  EXPECT_EQ(FOut, "alearix-gen 1.0\n");
  // The report goes to standard output only when the numbers go to a file.
  EXPECT_EQ(Run("--report -"), 2);
  EXPECT_NE(FErr.find("--report - needs -o FILE"), std::string::npos) << FErr;
  EXPECT_EQ(FOut, "");
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
  EXPECT_EQ(Run("--report nodir/r.json -o out.asc"), 1);
  EXPECT_EQ(FErr, "alearix-gen: nodir/r.json: File not found\n");
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

// In-process: the chart hook gets the density and the histogram of the numbers
// written, its bytes go to --png, and a failing hook leaves no output behind.
std::string FakePng(const TAlearix& gen, const THistogram& hist) {
  std::int64_t total = 0;
  for (int i = 0; i <= gen.Resolution() + 1; ++i) total += hist.Count(i);
  if (total == 13) throw std::runtime_error("cannot draw");
  return "picture of " + std::to_string(total);
}

TEST_F(GenTest, PngHook) {
  std::FILE* err = std::tmpfile();
  ASSERT_NE(err, nullptr);
  std::vector<std::string> args = {"--count", "1234",          "-o",    PathOf("a.asc"),
                                   "--save",  PathOf("a.rnd"), "--png", PathOf("c.png")};
  EXPECT_EQ(GenMain(args, -1, stdout, err, &FakePng), 0);
  EXPECT_EQ(Get(PathOf("c.png")), "picture of 1234");
  EXPECT_EQ(FileCount(), 3u);

  args[1] = "13";
  EXPECT_EQ(GenMain(args, -1, stdout, err, &FakePng), 1);
  EXPECT_EQ(Get(PathOf("c.png")), "picture of 1234");
  EXPECT_EQ(FileCount(), 3u);
  std::rewind(err);
  char line[200] = {};
  ASSERT_NE(std::fgets(line, sizeof line, err), nullptr);
  EXPECT_EQ(std::string(line), "alearix-gen: " + PathOf("c.png") + ": cannot draw\n");
  std::fclose(err);

  // Without a renderer --png is a usage error.
  err = std::tmpfile();
  EXPECT_EQ(GenMain(args, -1, stdout, err, nullptr), 2);
  std::fclose(err);
}

// Two outputs naming one file, also through links or standard output, are refused
// before anything is written.
TEST_F(GenTest, OutputsNamingOneFileAreRefused) {
  Put("x.asc", "old");
  fs::create_symlink("x.asc", FDir / "link");
  fs::create_symlink("new.asc", FDir / "dangling");
  ASSERT_EQ(::link(PathOf("x.asc").c_str(), PathOf("hard").c_str()), 0);
  struct {
    const char* Args;
    std::string Options;
  } cases[] = {
      {"-o x.asc --save x.asc", "-o and --save"},
      {"-o x.asc --png ./x.asc", "-o and --png"},
      {"--save y.rnd --png y.rnd", "--save and --png"},
      {"--save - --png -", "--save and --png"},  // both a file called "-"
      {"-o link --save x.asc", "-o and --save"},
      {"-o dangling --png new.asc", "-o and --png"},
      {"-o hard --save x.asc", "-o and --save"},
      {"--save stdout", "-o and --save"},  // the captured standard output
      {"-o x.asc --report link", "-o and --report"},
      {"--report stdout", "-o and --report"},
      {"--report - -o stdout", "-o and --report"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.Args), 2) << c.Args;
    EXPECT_NE(FErr.find(c.Options + " name the same file"), std::string::npos) << FErr;
  }
  EXPECT_EQ(Get(PathOf("x.asc")), "old");
  EXPECT_EQ(FileCount(), 4u);
  // A repeated option keeps its last value.
  EXPECT_EQ(Run("--count 3 -o x.asc --output y.asc --save x.asc"), 0) << FErr;
  EXPECT_EQ(CrLfLines(Get(PathOf("y.asc"))).size(), 7u);
}

TEST_F(GenTest, RangeTooWideIsRefusedBeforeAnyFile) {
  Put("wide.rnd", "c\r\n10\r\n-1e308\r\n1e308\r\n1\r\n");
  for (const char* args : {"--from -1e308 --to 1e308", "--from 1e308",
                           "--to 1.7976931348623157e308", "--load wide.rnd"}) {
    EXPECT_EQ(Run(std::string(args) + " -o w.asc --save w.rnd"), 2) << args;
    EXPECT_EQ(FErr, "alearix-gen: The range of random numbers is too wide\n");
    EXPECT_EQ(FileCount(), 1u);
  }
  EXPECT_EQ(Run("--load wide.rnd --from 0 --to 1 --count 3"), 0) << FErr;
}

// The report of a run: what was drawn, from what, and tests that the numbers pass; the
// numbers are those of a run without it.
TEST_F(GenTest, ReportDescribesTheRun) {
  ASSERT_EQ(Run("--shape bimodal --count 100000 -o n.asc --report -"), 0) << FErr;
  const nlohmann::json r = nlohmann::json::parse(FOut);
  EXPECT_EQ(r["count"], 100000);
  EXPECT_EQ(r["seed"], 0);
  EXPECT_EQ(r["resolution"], 500);
  EXPECT_EQ(r["range"], nlohmann::json::array({-300.0, 300.0}));
  const nlohmann::json &density = r["density"], &sample = r["sample"];
  EXPECT_NEAR(sample["mean"].get<double>(), density["mean"].get<double>(), 1.0);
  EXPECT_NEAR(sample["sd"].get<double>(), density["sd"].get<double>(), 1.0);
  EXPECT_GE(sample["min"].get<double>(), -300.0);
  EXPECT_LT(sample["max"].get<double>(), 300.0);
  EXPECT_GT(r["chi_square"]["p_value"].get<double>(), 1e-3);
  EXPECT_EQ(r["chi_square"]["df"].get<int>() + 1, r["chi_square"]["classes"].get<int>());
  EXPECT_GT(r["ks"]["p_value"].get<double>(), 1e-3);
  ASSERT_EQ(Run("--shape bimodal --count 100000 -o plain.asc"), 0);
  EXPECT_TRUE(Get(PathOf("n.asc")) == Get(PathOf("plain.asc")));

  // Equal limits: no spread, and nothing to test.
  ASSERT_EQ(Run("--from 7 --to 7 --count 50 --seed 3 -o e.asc --report e.json"), 0) << FErr;
  const nlohmann::json e = nlohmann::json::parse(Get(PathOf("e.json")));
  EXPECT_EQ(e["seed"], 3);
  EXPECT_EQ(e["density"]["sd"], 0.0);
  EXPECT_EQ(e["sample"]["sd"], 0.0);
  for (const char* field : {"skewness", "excess_kurtosis"}) {
    EXPECT_TRUE(e["density"][field].is_null());
    EXPECT_TRUE(e["sample"][field].is_null());
  }
  EXPECT_TRUE(e["chi_square"]["p_value"].is_null());
  EXPECT_TRUE(e["ks"]["statistic"].is_null());
}

// Neither the numbers nor the report's statistics are kept: a run of four million numbers
// needs no more memory than one of a thousand (their doubles alone would take 32 MiB).
TEST_F(GenTest, LongRunsNeedNoMoreMemory) {
  auto peakKiB = [&](const char* count) {
    const pid_t child = ::fork();
    if (child == 0) {
      if (::chdir(FDir.c_str()) == 0)
        ::execl(ALEARIX_GEN_PATH, "alearix-gen", "--count", count, "-o", "n.asc", "--report",
                "r.json", static_cast<char*>(nullptr));
      ::_exit(99);
    }
    int status = 0;
    struct rusage usage {};
    EXPECT_EQ(::wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << count;
    return usage.ru_maxrss;
  };
  const long small = peakKiB("1000"), large = peakKiB("4000000");
  EXPECT_LT(large - small, 8 * 1024) << small << " KiB, then " << large << " KiB";
  EXPECT_EQ(nlohmann::json::parse(Get(PathOf("r.json")))["count"], 4000000);
}

// Interrupted runs leave every old file and no temporary, and end with 128 + signal.
TEST_F(GenTest, SignalsLeaveNoFileAndEndWith128PlusSignal) {
  Put("o.asc", "old");
  auto writesHere = [&](pid_t pid) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
      if (fs::read_symlink(e.path(), ec).string().rfind(FDir.string(), 0) == 0) return true;
    return false;
  };
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::chdir(FDir.c_str()) == 0)
        ::execl(ALEARIX_GEN_PATH, "alearix-gen", "--count", "2000000000", "-o", "o.asc", "--save",
                "s.rnd", static_cast<char*>(nullptr));
      ::_exit(99);
    }
    for (int i = 0; i < 2000 && !writesHere(child); ++i) ::usleep(5000);
    ::kill(child, sig);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << sig;
    EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
    EXPECT_EQ(FileCount(), 1u);
  }
  EXPECT_EQ(Get(PathOf("o.asc")), "old");
}

// A file size limit (ulimit -f) ends the run with "File too large", every old file kept.
TEST_F(GenTest, FileSizeLimitEndsTheRunWithNoFileChanged) {
  Put("u.asc", "old");
  struct {
    const char* Script;
    std::string File;
  } cases[] = {
      {"ulimit -f 2; \"$G\" --count 3 -o u.asc --save u.rnd", "u.rnd"},
      {"ulimit -f 2; \"$G\" --count 100000 -o u.asc", "u.asc"},
#ifdef ALEARIX_GEN_HAS_PNG
      {"ulimit -f 4; \"$G\" --count 3 -o u.asc --png u.png", "u.png"},
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sh(std::string("(") + c.Script + ")"), 1) << c.Script;
    EXPECT_EQ(FErr, "alearix-gen: " + c.File + ": File too large\n");
    EXPECT_EQ(Get(PathOf("u.asc")), "old");
    EXPECT_EQ(FileCount(), 1u);
  }
}

TEST_F(GenTest, PipesAndFailingStandardOutput) {
#ifdef ALEARIX_GEN_HAS_PNG
  // A FIFO named by --png is written through and stays a FIFO.
  ASSERT_EQ(::mkfifo(PathOf("p").c_str(), 0600), 0);
  EXPECT_EQ(Sh("timeout 20 cat p >got.png & \"$G\" --count 3 -o a.asc --png p; wait"), 0) << FErr;
  ASSERT_EQ(Run("--count 3 -o b.asc --png b.png"), 0);
  EXPECT_TRUE(Get(PathOf("got.png")) == Get(PathOf("b.png")));  // the same picture
  EXPECT_TRUE(fs::is_fifo(PathOf("p")));
#endif
  // The generator's status goes to rc, also where a pipe's last command sets the shell's.
  struct {
    const char* Script;
    const char* Message;
  } cases[] = {
      {"\"$G\" --count 100000 --save s.rnd >/dev/full; echo $? >rc", "Disk full"},
      {"\"$G\" --count 3 --save s.rnd >&-; echo $? >rc", "Output closed"},
      {"{ \"$G\" --count 1000000 --save s.rnd; echo $? >rc; } | head -c 1 >h", "Broken pipe"},
  };
  for (const auto& c : cases) {
    fs::remove(PathOf("rc"));
    Sh(c.Script);
    EXPECT_EQ(FErr, std::string("alearix-gen: standard output: ") + c.Message + "\n");
    EXPECT_EQ(Get(PathOf("rc")), "1\n") << c.Script;
    EXPECT_FALSE(fs::exists(PathOf("s.rnd")));
  }
}

// Input that never delivers its values is refused, in little memory and time.
TEST_F(GenTest, EndlessInputIsRefusedInFlatMemory) {
  ASSERT_EQ(::mkfifo(PathOf("endless").c_str(), 0600), 0);
  EXPECT_EQ(Run("--load /dev/zero -o a.asc"), 1);
  EXPECT_EQ(FErr, "alearix-gen: /dev/zero: Invalid numeric input\n");
  EXPECT_EQ(Sh("(printf 'c\\n'; cat /dev/zero) >endless & timeout 60 \"$G\" --load endless"), 1);
  EXPECT_EQ(FErr, "alearix-gen: endless: Invalid numeric input\n");
  struct rusage usage {};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_LT(usage.ru_maxrss, 100 * 1024);  // KiB
}

}  // namespace
