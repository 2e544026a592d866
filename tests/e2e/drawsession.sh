#!/usr/bin/env bash
# Drawing the density with the mouse on a real X server. Stroke A is drawn with xdotool
# and saved; the saved points must be the normal shape's with the points under the
# stroke set as the pixels of the stroke say. "Calc" then draws from the drawn density.
# Stroke B (leaving the chart area) is drawn, undone with Ctrl+Z (the saved file equals
# A's again) and redone with Ctrl+Shift+Z (the saved file shows both strokes).
#   drawsession.sh ALEARIX ALEARIX_GEN
set -uo pipefail
ALEARIX=$(realpath "$1")
GEN=$(realpath "$2")
source "$(dirname "$0")/xsession.sh"

# The strokes in pixels of the window's client area: press, moves, release.
STROKE_A="100 400 150 300 200 350 260 250"
STROKE_B="330 200 420 230 600 470" # ends right of and below the chart area

# Checks the points of a saved file against the normal shape with the strokes drawn.
# The chart sits at (0, 153) of the client area, 557 x 328 pixels; its area spans
# pixels 50..547 (x from -300 to 300) and 20..284 from the top (y from 1.1 down to 0).
# A press sets the point whose class edge (-300 + 1.2 (i - 1)) lies nearest to it; each
# step from one position to the next sets the points whose edges lie between their x
# values, interpolated linearly; values are kept in 0..1, positions in the area.
check_points() { # FILE STROKE...
  local file=$1
  shift
  local strokes
  strokes=$(printf '%s;' "$@")
  awk -v strokes="$strokes" '
    function cl(v, lo, hi) { return v < lo ? lo : v > hi ? hi : v }
    function edge(i) { return -300 + (i - 1) * 1.2 }
    function set(i, v) { p[i] = cl(v, 0, 1) }
    function draw(stroke,   n, c, k, i, x, y, best, lo, hi, e) {
      n = split(stroke, c, " ")
      for (k = 1; k < n; k += 2) {
        x[k] = -300 + (cl(c[k], 50, 547) - 50) * 600 / 497
        y[k] = (284 - cl(c[k + 1] - 153, 20, 284)) / 240
      }
      best = 1
      for (i = 2; i <= 500; i++) if ((edge(i) - x[1]) ^ 2 < (edge(best) - x[1]) ^ 2) best = i
      set(best, y[1])
      for (k = 3; k < n; k += 2) {
        lo = x[k - 2] < x[k] ? x[k - 2] : x[k]
        hi = x[k - 2] < x[k] ? x[k] : x[k - 2]
        for (i = 1; i <= 500; i++) {
          e = edge(i)
          if (e >= lo && e <= hi) set(i, y[k - 2] + (e - x[k - 2]) * (y[k] - y[k - 2]) / (x[k] - x[k - 2]))
        }
      }
    }
    FNR == NR { sub(/\r$/, ""); if (FNR <= 4) head[FNR] = $0; else p[FNR - 4] = $1 + 0; next }
    FNR == 1 { ns = split(strokes, s, ";"); for (j = 1; j <= ns; j++) if (s[j] != "") draw(s[j]) }
    { sub(/\r$/, "") }
    FNR <= 4 && $0 != head[FNR] { printf "line %d: %s, expected %s\n", FNR, $0, head[FNR]; bad++ }
    FNR > 4 { d = $1 - p[FNR - 4]; if (d * d > 1e-24) { printf "point %d: %s, expected %.15g\n", FNR - 4, $1, p[FNR - 4]; bad++ } }
    END { if (FNR != 504) { print FNR " lines"; bad++ }; exit bad > 0 }
  ' "$E2E_DIR/normal.rnd" "$file" | head -n 5
  return "${PIPESTATUS[0]}"
}

e2e_init drawsession
e2e_start_x
"$GEN" --save "$E2E_DIR/normal.rnd" -o "$E2E_DIR/normal.asc" || e2e_fail "alearix-gen failed"

e2e_step "start the program and draw stroke A"
e2e_start_alearix "$ALEARIX"
main=$E2E_MAIN
# shellcheck disable=SC2086
e2e_drag "$main" $STROKE_A

e2e_step "Save: the points of the normal shape with stroke A"
e2e_click "$main" 216 130 # "Save"
e2e_save_as a.rnd
check_points "$E2E_WORK/a.rnd" "$STROKE_A" || e2e_fail "a.rnd does not hold stroke A"

e2e_step "Calc draws from the drawn density"
e2e_click "$main" 48 130 # "Calc"
e2e_save_as a.asc
"$GEN" --load "$E2E_WORK/a.rnd" --count 500 -o "$E2E_DIR/expected.asc" ||
  e2e_fail "alearix-gen --load failed"
cmp "$E2E_DIR/expected.asc" "$E2E_WORK/a.asc" ||
  e2e_fail "Calc differs from alearix-gen --load a.rnd --count 500"

e2e_step "draw stroke B, undo it with Ctrl+Z and save"
# shellcheck disable=SC2086
e2e_drag "$main" $STROKE_B
e2e_focus "$main"
e2e_key ctrl+z
e2e_click "$main" 216 130 # "Save"
e2e_save_as undone.rnd
cmp "$E2E_WORK/a.rnd" "$E2E_WORK/undone.rnd" || e2e_fail "Ctrl+Z did not restore stroke A's table"

e2e_step "redo stroke B with Ctrl+Shift+Z and save"
e2e_focus "$main"
e2e_key ctrl+shift+z
e2e_click "$main" 216 130 # "Save"
e2e_save_as redone.rnd
check_points "$E2E_WORK/redone.rnd" "$STROKE_A" "$STROKE_B" ||
  e2e_fail "redone.rnd does not hold strokes A and B"

e2e_step "Exit"
e2e_click "$main" 48 16 # "Exit"
e2e_wait_app_exit
[ "$E2E_APP_STATUS" -eq 0 ] || e2e_fail "the program ended with status $E2E_APP_STATUS"

e2e_pass
