#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
# Without a display it runs the headless generator instead, which writes exactly what
# the program's first "Calc" writes: unknown.asc with 500 numbers of the normal shape.
#   ./run.sh               the desktop program (or unknown.asc without a display)
#   ./run.sh --gen [ARGS]  alearix-gen with ARGS (default: -o unknown.asc)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

gen() {
  cmake --build build --target alearix-gen
  if [ $# -eq 0 ]; then set -- -o unknown.asc; fi
  ./build/cli/alearix-gen "$@"
}

if [ "${1:-}" = "--gen" ]; then
  shift
  gen "$@"
elif [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build --target alearix
  exec ./build/app/alearix
else
  echo "No display: running the headless generator instead (./run.sh --gen --help for its options)."
  gen
  echo "wrote unknown.asc"
fi
