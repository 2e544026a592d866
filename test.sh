#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the full build (Qt parts included) with all tests: widget tests on Qt's offscreen
#      platform, end-to-end tests of the program on a private X server (tests/e2e);
#   2. the naming check (clang-tidy, rules in .clang-tidy);
#   3. the Qt-free libraries again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. when clang is present, a short libFuzzer run of the ".rnd" reader.
# 2 runs beside 3 and 4, which leave a core idle much of the time; its output follows
# theirs. The script fails when any part fails. ccache is used when installed.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

naminglog=build/naming.log
./scripts/naming.sh build >"$naminglog" 2>&1 &
naming=$!
trap 'kill "$naming" 2>/dev/null || true' EXIT

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" \
      -DALEARIX_WITH_QT=OFF -DALEARIX_SANITIZE=ON -DALEARIX_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -x scripts/fuzz.sh ] && command -v clang++-14 >/dev/null; then
  ./scripts/fuzz.sh 20
fi

status=0
wait "$naming" || status=$?
trap - EXIT
cat "$naminglog"
exit "$status"
