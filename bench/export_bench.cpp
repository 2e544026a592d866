// Export speed: numbers written to a file by the real export, serial (number by number, as
// the window does it) next to the pipeline (drawing and writing in two threads, as
// alearix-gen does it), in wall time; the same loop with snprintf("%.4f") (the comparison
// only: files never use snprintf); and the cost of formatting and writing alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/core/export.h"
#include "app/core/fitreport.h"
#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "platform/textio/textfile.h"

namespace {

constexpr std::int64_t kN = 10'000'000;

std::string ScratchFile() {
  return (std::filesystem::temp_directory_path() /
          ("alearix_export_bench_" + std::to_string(::getpid()) + ".asc"))
      .string();
}

TAlearix Engine(bool flat) {
  TAlearix gen;
  SetStartState(gen);
  if (!flat) ComputeShapeTable(gen, TShapeParams{});
  return gen;
}

double PeakRssMiB() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The real export of the start shape (normal): args count, pipelined, with the report.
void BM_Export(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  TAlearix gen = Engine(false);
  const std::string path = ScratchFile();
  for (auto _ : state) {
    TReportSample report(gen);  // as alearix-gen --report gathers it
    TExportOptions options;
    options.Pipelined = state.range(1) != 0;
    if (state.range(2) != 0) options.Sink = &report;
    benchmark::DoNotOptimize(ExportRandomNumbers(gen, count, path, options));
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["peak_rss_MiB"] = PeakRssMiB();
}

// The serial loop with snprintf formatting.
void BM_SnprintfExport(benchmark::State& state) {
  TAlearix gen = Engine(false);
  const std::string path = ScratchFile();
  for (auto _ : state) {
    TTextFileWriter out(path);
    std::vector<std::int64_t> c(gen.Resolution() + 4, 0);
    double m = 0;
    for (std::int64_t i = 0; i < kN; ++i) {
      const double x = gen.RandomValue();
      char* p = out.Reserve(64);
      int len = std::snprintf(p, 62, "%.4f", x);
      p[len] = '\r';
      p[len + 1] = '\n';
      out.Advance(static_cast<std::size_t>(len) + 2);
      const int k = gen.ValueToClass(x) + 1;
      ++c[k];
      const double h = (c[k - 1] + c[k] + c[k + 1]) * (1.0 / 3);
      if (h > m) m = h;
    }
    out.Commit();
    benchmark::DoNotOptimize(m);
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kN);
}

// Drawing alone, number by number and in blocks.
void BM_RandomValue(benchmark::State& state) {
  TAlearix gen = Engine(state.range(0) != 0);
  const bool blocks = state.range(1) != 0;
  std::vector<double> block(16384);
  for (auto _ : state) {
    double s = 0;
    if (blocks) {
      for (std::int64_t i = 0; i < kN; i += static_cast<std::int64_t>(block.size())) {
        gen.RandomValues(block.data(), block.size());
        s += block[0];
      }
    } else {
      for (std::int64_t i = 0; i < kN; ++i) s += gen.RandomValue();
    }
    benchmark::DoNotOptimize(s);
  }
  state.SetItemsProcessed(state.iterations() * kN);
}

// Formatting and writing alone, over 2^20 drawn values used ten times: number by number
// (FormatFixed4), by snprintf, or in blocks (FormatLines).
std::vector<double> Values() {
  TAlearix gen = Engine(false);
  std::vector<double> v(1 << 20);
  for (double& x : v) x = gen.RandomValue();
  return v;
}

void BM_FormatAndWrite(benchmark::State& state) {
  const std::vector<double> v = Values();
  const std::string path = ScratchFile();
  const int way = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TTextFileWriter out(path);
    if (way == 2) {
      constexpr std::size_t kLines = 1024;
      for (std::int64_t i = 0; i < kN; i += kLines) {
        char* p = out.Reserve(kLines * (kMaxNumberText + 2));
        const double* x = v.data() + (static_cast<std::size_t>(i) & (v.size() - 1));
        out.Advance(static_cast<std::size_t>(FormatLines(x, kLines, p) - p));
      }
    } else {
      for (std::int64_t i = 0; i < kN; ++i) {
        const double x = v[static_cast<std::size_t>(i) & (v.size() - 1)];
        char* p = out.Reserve(64);
        char* e = way == 1 ? p + std::snprintf(p, 62, "%.4f", x) : FormatFixed4(x, p);
        e[0] = '\r';
        e[1] = '\n';
        out.Advance(static_cast<std::size_t>(e + 2 - p));
      }
    }
    out.Commit();
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kN);
}

}  // namespace

// Serial and pipelined side by side: 10^7 numbers (also with the report's statistics),
// then 10^8.
BENCHMARK(BM_Export)
    ->ArgNames({"count", "pipelined", "report"})
    ->Args({kN, 0, 0})
    ->Args({kN, 1, 0})
    ->Args({kN, 0, 1})
    ->Args({kN, 1, 1})
    ->Args({10 * kN, 0, 0})
    ->Args({10 * kN, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK(BM_SnprintfExport)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RandomValue)
    ->ArgNames({"flat", "blocks"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_FormatAndWrite)
    ->ArgName("way")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_MAIN();
