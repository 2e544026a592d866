#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the full build (Qt parts included) with all tests: widget tests on Qt's offscreen
#      platform, end-to-end tests of the program on a private X server (tests/e2e);
#   2. the Qt-free libraries again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the naming check (clang-tidy, rules in .clang-tidy);
#   4. when clang is present, a short libFuzzer run of the ".rnd" reader.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
./scripts/naming.sh build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DALEARIX_WITH_QT=OFF -DALEARIX_SANITIZE=ON -DALEARIX_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -x scripts/fuzz.sh ] && command -v clang++-14 >/dev/null; then
  ./scripts/fuzz.sh 20
fi
