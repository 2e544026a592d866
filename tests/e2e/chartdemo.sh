#!/bin/sh
# The chart demo in a real window: starts its own X server (Xvfb), drags the
# chart with xdotool (a pan, then a zoom drag after Ctrl+5), quits with Ctrl+Q
# and checks the ranges the demo prints on quitting.
#   chartdemo.sh PATH/TO/alearix-chartdemo
# Exit 77 (skipped) only when Xvfb or xdotool is not installed.
set -u
demo=${1:?usage: chartdemo.sh ALEARIX-CHARTDEMO}

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for f in xvfb.log demo.err demo.out; do
    [ -s "$work/$f" ] && { echo "--- $f"; cat "$work/$f"; }
  done
  exit 1
}

# Xvfb picks a free display itself and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
i=0
while [ ! -s "$work/display" ]; do
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb could not start the window system"
  i=$((i + 1))
  [ "$i" -gt 100 ] && fail "Xvfb gave no display within 10 seconds"
  sleep 0.1
done
DISPLAY=":$(cat "$work/display")"
export DISPLAY

QT_QPA_PLATFORM=xcb "$demo" --size 600,400 --mouse pan --print-ranges \
  >"$work/demo.out" 2>"$work/demo.err" &
demo_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Alearix chart demo$' | head -n 1)
[ -n "$wid" ] || fail "the demo's window did not appear"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# The middle of the window lies inside the chart area (the chart is 600 x 400,
# its area 540 x 352 pixels). A drag starts at the first move with the button down.
cx=$((X + WIDTH / 2))
cy=$((Y + HEIGHT / 2))
drag() {  # drag DX DY: from the middle by DX, DY pixels
  xdotool mousemove "$cx" "$cy" sleep 0.2 mousedown 1 sleep 0.2 \
    mousemove "$((cx + 1))" "$cy" sleep 0.2 \
    mousemove "$((cx + 1 + $1))" "$((cy + $2))" sleep 0.2 mouseup 1 sleep 0.2
}
drag 100 40  # pan: right by 100, down by 40 pixels
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool key ctrl+5 sleep 0.2  # zoom drag
drag 150 -100  # right by a quarter of the width, up by a quarter of the height
xdotool key ctrl+q
i=0
while kill -0 "$demo_pid" 2>/dev/null; do
  i=$((i + 1))
  [ "$i" -gt 100 ] && fail "the demo did not quit on Ctrl+Q"
  sleep 0.1
done
wait "$demo_pid" || fail "the demo ended with status $?"
demo_pid=

# Pan: x 0..10 moves left by 10 * 100 / 540, y 0..10 up by 10 * 40 / 352. Zoom
# drag: both spans times 0.75 about their centres.
awk '
  function near(a, b) { d = a - b; if (d < 0) d = -d; return d <= 1e-9 }
  BEGIN { dx = 10 * 100 / 540; dy = 10 * 40 / 352
          lo["x"] = 5 - dx - 3.75; hi["x"] = 5 - dx + 3.75
          lo["y"] = 5 + dy - 3.75; hi["y"] = 5 + dy + 3.75 }
  NF == 3 && ($1 == "x" || $1 == "y") {
    if (!near($2, lo[$1]) || !near($3, hi[$1])) {
      printf "FAIL: %s, expected %s %.17g %.17g\n", $0, $1, lo[$1], hi[$1]; bad = 1 }
    seen[$1] = 1; next }
  { print "FAIL: unexpected line: " $0; bad = 1 }
  END { if (!seen["x"] || !seen["y"]) { print "FAIL: ranges missing"; bad = 1 }
        exit bad }
' "$work/demo.out" || fail "wrong ranges after the pan and the zoom drag"
echo "ok: $(tr '\n' ' ' <"$work/demo.out")"
