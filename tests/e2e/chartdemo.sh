#!/usr/bin/env bash
# The chart demo in a real window: drags the chart with xdotool (a pan, then a zoom
# drag after Ctrl+5), quits with Ctrl+Q and checks the ranges the demo prints on
# quitting.
#   chartdemo.sh ALEARIX ALEARIX_GEN ALEARIX_CHARTDEMO
set -uo pipefail
DEMO=$(realpath "$3")
source "$(dirname "$0")/xsession.sh"

e2e_init chartdemo
e2e_start_x

e2e_step "start the demo in pan mode"
# The ranges printed on quitting go to their own file, apart from any messages.
e2e_start_app demo bash -c 'out=$1; shift; exec "$@" >"$out"' _ "$E2E_DIR/ranges.txt" \
  "$DEMO" --size 600,400 --mouse pan --print-ranges
e2e_wait_window wid '^Alearix chart demo$'
eval "$(xdotool getwindowgeometry --shell "$wid")"
# The middle of the window lies inside the chart area (the chart is 600 x 400; with
# the demo's rims 64, 36, 16 and 46 its area is 500 x 338 pixels). A drag starts at
# the first move with the button down.
cx=$((WIDTH / 2))
cy=$((HEIGHT / 2))
drag() { # drag DX DY: from the middle by DX, DY pixels
  e2e_drag "$wid" "$cx" "$cy" "$((cx + 1))" "$cy" "$((cx + 1 + $1))" "$((cy + $2))"
}

e2e_step "pan right by 100 and down by 40 pixels"
drag 100 40

e2e_step "zoom drag right by a quarter of the width, up by a quarter of the height"
e2e_focus "$wid"
e2e_key ctrl+5
drag 150 -100

e2e_step "quit with Ctrl+Q and check the ranges"
e2e_key ctrl+q
e2e_wait_app_exit
[ "$E2E_APP_STATUS" -eq 0 ] || e2e_fail "the demo ended with status $E2E_APP_STATUS"
# Pan: x 0..10 moves left by 10 * 100 / 500, y 0..10 up by 10 * 40 / 338. Zoom
# drag: both spans times 0.75 about their centres.
result=$(awk '
  function near(a, b) { d = a - b; if (d < 0) d = -d; return d <= 1e-9 }
  BEGIN { dx = 10 * 100 / 500; dy = 10 * 40 / 338
          lo["x"] = 5 - dx - 3.75; hi["x"] = 5 - dx + 3.75
          lo["y"] = 5 + dy - 3.75; hi["y"] = 5 + dy + 3.75 }
  NF == 3 && ($1 == "x" || $1 == "y") {
    if (!near($2, lo[$1]) || !near($3, hi[$1])) {
      printf "%s, expected %s %.17g %.17g; ", $0, $1, lo[$1], hi[$1]; bad = 1 }
    seen[$1] = 1; next }
  { printf "unexpected line: %s; ", $0; bad = 1 }
  END { if (!seen["x"] || !seen["y"]) { printf "ranges missing"; bad = 1 }
        exit bad }
' "$E2E_DIR/ranges.txt") || e2e_fail "wrong ranges after the pan and the zoom drag: $result"
e2e_log "ranges: $(tr '\n' ' ' <"$E2E_DIR/ranges.txt")"

e2e_pass
