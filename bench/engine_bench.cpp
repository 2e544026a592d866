// RandomValue per number on three shapes, next to std::piecewise_linear_distribution over the
// same density (the 500 class edges plus the upper limit, the reference points plus a final 0).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "app/core/session.h"
#include "app/core/shapes.h"
#include "engine/alearix.h"
#include "engine/uniform.h"

namespace {

// The shapes as the preset buttons give them: normal, leptokurtic, bimodal.
const TShapeParams kNormal = ShapeParamsOf(kPresets[0]);
const TShapeParams kLeptokurtic = ShapeParamsOf(kPresets[1]);
const TShapeParams kBimodal = ShapeParamsOf(kPresets[3]);

TAlearix MakeEngine(const TShapeParams& s) {
  TAlearix a;
  SetStartState(a);
  ComputeShapeTable(a, s);
  return a;
}

std::piecewise_linear_distribution<double> MakeLibrary(const TAlearix& a) {
  std::vector<double> x, w;
  for (int i = 1; i <= a.Resolution() + 1; ++i) {
    x.push_back(a.ClassEdge(i));
    w.push_back(a.GetRefPoint(i));  // 0.0 beyond the last point
  }
  return std::piecewise_linear_distribution<double>(x.begin(), x.end(), w.begin());
}

void BM_Alearix(benchmark::State& state, TShapeParams shape) {
  TAlearix a = MakeEngine(shape);
  UniformSeed = 1;
  for (auto _ : state) benchmark::DoNotOptimize(a.RandomValue());
  state.SetItemsProcessed(state.iterations());
}

// The same without the wide vector units (as on a processor without AVX2).
void BM_AlearixPlain(benchmark::State& state, TShapeParams shape) {
  const bool wide = TAlearix::WideVectors();
  TAlearix::SetWideVectors(false);
  BM_Alearix(state, shape);
  TAlearix::SetWideVectors(wide);
}

// Blocks of 4096 numbers at once, as the export draws them.
void BM_AlearixBlock(benchmark::State& state, TShapeParams shape) {
  TAlearix a = MakeEngine(shape);
  UniformSeed = 1;
  std::vector<double> block(4096);
  for (auto _ : state) {
    a.RandomValues(block.data(), block.size());
    benchmark::DoNotOptimize(block.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}

template <class TEngine>
void BM_Library(benchmark::State& state, TShapeParams shape) {
  TAlearix a = MakeEngine(shape);
  auto dist = MakeLibrary(a);
  TEngine rng(1);
  for (auto _ : state) benchmark::DoNotOptimize(dist(rng));
  state.SetItemsProcessed(state.iterations());
}

void BM_Mt19937(benchmark::State& state, TShapeParams shape) {
  BM_Library<std::mt19937>(state, shape);
}
void BM_Minstd(benchmark::State& state, TShapeParams shape) {
  BM_Library<std::minstd_rand>(state, shape);
}

// A flat table accepts every attempt outside the last class: the cost of one attempt.
void BM_AlearixFlat(benchmark::State& state) {
  TAlearix a;
  SetStartState(a);
  UniformSeed = 1;
  for (auto _ : state) benchmark::DoNotOptimize(a.RandomValue());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AlearixFlat);

BENCHMARK_CAPTURE(BM_Alearix, normal, kNormal);
BENCHMARK_CAPTURE(BM_AlearixPlain, normal, kNormal);
BENCHMARK_CAPTURE(BM_AlearixBlock, normal, kNormal);
BENCHMARK_CAPTURE(BM_Mt19937, normal, kNormal);
BENCHMARK_CAPTURE(BM_Minstd, normal, kNormal);
BENCHMARK_CAPTURE(BM_Alearix, leptokurtic, kLeptokurtic);
BENCHMARK_CAPTURE(BM_AlearixPlain, leptokurtic, kLeptokurtic);
BENCHMARK_CAPTURE(BM_AlearixBlock, leptokurtic, kLeptokurtic);
BENCHMARK_CAPTURE(BM_Mt19937, leptokurtic, kLeptokurtic);
BENCHMARK_CAPTURE(BM_Minstd, leptokurtic, kLeptokurtic);
BENCHMARK_CAPTURE(BM_Alearix, bimodal, kBimodal);
BENCHMARK_CAPTURE(BM_AlearixPlain, bimodal, kBimodal);
BENCHMARK_CAPTURE(BM_AlearixBlock, bimodal, kBimodal);
BENCHMARK_CAPTURE(BM_Mt19937, bimodal, kBimodal);
BENCHMARK_CAPTURE(BM_Minstd, bimodal, kBimodal);

}  // namespace

BENCHMARK_MAIN();
