#!/usr/bin/env bash
# The naming check: clang-tidy's readability-identifier-naming with the rules of
# .clang-tidy, over every source of the project, using the compile commands of a
# configured build (default: build). Fails on any violation.
#   scripts/naming.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tidy=$(command -v run-clang-tidy-14 || command -v run-clang-tidy) || {
  echo "naming: run-clang-tidy not found (scripts/deps.sh installs clang-tidy-14)" >&2
  exit 1
}
dirs='(app|cli|components|engine|platform|tests|bench|examples)'
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! "$tidy" -p "$build" -quiet -j "$(nproc)" -header-filter="$PWD/$dirs/" \
     "$PWD/$dirs/.*\.cpp$" > "$log" 2>&1 || grep -q "error:" "$log"; then
  grep -E "error:|^ " "$log" | grep -v "^clang-tidy" | sed 's/\x1b\[[0-9;]*m//g' | head -80
  echo "naming: violations found (see .clang-tidy)"
  exit 1
fi
echo "naming: no violations"
