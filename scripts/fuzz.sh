#!/usr/bin/env bash
# Fuzzes the ".rnd" reader with libFuzzer for N seconds (default 60):
#   scripts/fuzz.sh [N]
# Builds in build-fuzz with clang-14, runs on a copy of the committed corpus (new
# inputs never go into tests/fuzz/corpus) and exits non-zero when an input crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DALEARIX_FUZZ=ON -DALEARIX_WITH_QT=OFF -DALEARIX_BENCH=OFF >/dev/null
cmake --build "$build" --target alearix_rnd_fuzz -j "$(nproc)"

work="$build/fuzz-work"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp tests/fuzz/corpus/rnd/* "$work/corpus/"

"$build/tests/fuzz/alearix_rnd_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus"
echo "fuzz: no crash in ${seconds}s"
