#!/usr/bin/env bash
# Builds the Debian package: build-pkg/alearix_1.0_amd64.deb, and lists its files.
# Install it with: sudo apt-get install ./build-pkg/alearix_1.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DALEARIX_BENCH=OFF -DALEARIX_TESTS=OFF >/dev/null
cmake --build build-pkg -j "$(nproc)"
(cd build-pkg && cpack -G DEB >/dev/null)
deb=$(ls build-pkg/alearix_*_*.deb)
dpkg -c "$deb"
echo "built $deb"
