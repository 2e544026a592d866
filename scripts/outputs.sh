#!/usr/bin/env bash
# Runs a fixed set of alearix-gen commands (presets, mixes, ranges, loads, saves and
# --png) and prints one "sha256  name" line per output file, in a stable order.
#   scripts/outputs.sh GEN [DIR]
# tests/golden/outputs.sha256 holds the expected lines; ctest compares them, so any
# change of a written byte shows up as a failing test.
set -euo pipefail
gen=$1
src=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 2 ]; then  # DIR keeps the files for a look after a failure
  dir=$2
  mkdir -p "$dir"
else
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
fi
cd "$dir"
# Only the files of this run are summed: each is removed before it is written, so a
# file left by an earlier run can neither be summed nor stand in for a missing one.
files=()
out() {  # out NAME..: NAME is written by the next command
  rm -f -- "$@"
  files+=("$@")
}
run() {  # run NAME ARGS...: the output files are NAME.asc and NAME.rnd
  local name=$1; shift
  out "$name.asc" "$name.rnd"
  "$gen" "$@" -o "$name.asc" --save "$name.rnd" > /dev/null
}
for s in normal leptokurtic platykurtic bimodal left-skewed right-skewed; do
  run "shape-$s" --shape "$s" --count 2000
done
run mix-a --mix 100,30,400,60,0.25 --count 1500
run mix-b --mix 1,10,500,250,1 --count 999
run mix-c --mix 250,100,250,100,0.5 --count 1000 --seed 12345
run range-narrow --from 0 --to 0.001 --count 300
run range-reversed --from 50 --to -50 --count 300
run range-equal --from 7 --to 7 --count 20
run range-wide --from -1e35 --to 1e36 --count 200
for f in count2 above4000 absurd_count long_tokens; do
  run "load-$f" --load "$src/tests/fuzz/corpus/rnd/$f.rnd" --count 700
done
out png-bimodal.asc png-bimodal.png
"$gen" --shape bimodal --count 10000 -o png-bimodal.asc --png png-bimodal.png > /dev/null
out png-load.asc png-load.png
"$gen" --load "$src/tests/fuzz/corpus/rnd/count2.rnd" --from -10 --to 10 --count 50 \
  -o png-load.asc --png png-load.png > /dev/null
sha256sum -- "${files[@]}" | LC_ALL=C sort -k2
