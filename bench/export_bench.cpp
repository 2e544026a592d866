// Export speed: 10^7 numbers written to a file by the real export, next to the same
// loop with the numbers formatted by snprintf("%.4f") (the comparison only: files
// never use snprintf), and the cost of formatting and writing alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/core/export.h"
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

// The real export, start shape (normal) or a flat density (fewest rejections).
void BM_Export(benchmark::State& state) {
  TAlearix gen = Engine(state.range(0) != 0);
  const std::string path = ScratchFile();
  for (auto _ : state) benchmark::DoNotOptimize(ExportRandomNumbers(gen, kN, path));
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kN);
}

// The same loop with snprintf formatting.
void BM_SnprintfExport(benchmark::State& state) {
  TAlearix gen = Engine(state.range(0) != 0);
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

// Drawing alone.
void BM_RandomValue(benchmark::State& state) {
  TAlearix gen = Engine(state.range(0) != 0);
  for (auto _ : state) {
    double s = 0;
    for (std::int64_t i = 0; i < kN; ++i) s += gen.RandomValue();
    benchmark::DoNotOptimize(s);
  }
  state.SetItemsProcessed(state.iterations() * kN);
}

// Formatting and writing alone, over 2^20 drawn values used ten times.
std::vector<double> Values() {
  TAlearix gen = Engine(false);
  std::vector<double> v(1 << 20);
  for (double& x : v) x = gen.RandomValue();
  return v;
}

void BM_FormatAndWrite(benchmark::State& state) {
  const std::vector<double> v = Values();
  const std::string path = ScratchFile();
  const bool viaSnprintf = state.range(0) != 0;
  for (auto _ : state) {
    TTextFileWriter out(path);
    for (std::int64_t i = 0; i < kN; ++i) {
      const double x = v[static_cast<std::size_t>(i) & (v.size() - 1)];
      char* p = out.Reserve(64);
      char* e = viaSnprintf ? p + std::snprintf(p, 62, "%.4f", x) : FormatFixed4(x, p);
      e[0] = '\r';
      e[1] = '\n';
      out.Advance(static_cast<std::size_t>(e + 2 - p));
    }
    out.Commit();
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kN);
}

}  // namespace

BENCHMARK(BM_Export)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SnprintfExport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RandomValue)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_FormatAndWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
