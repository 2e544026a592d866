#!/usr/bin/env bash
# A user's first session with the desktop program on a real X server: accept the
# disclaimer, edit the range with the keyboard (including keys pressed after a range
# box has closed, which must change nothing), move the count bar by keyboard, "Calc"
# through the real save dialog, compare the file with alearix-gen for the same
# settings, and "Exit".
#   usersession.sh ALEARIX ALEARIX_GEN
set -uo pipefail
ALEARIX=$(realpath "$1")
GEN=$(realpath "$2")
source "$(dirname "$0")/xsession.sh"

e2e_init usersession
e2e_start_x

e2e_step "start the program and accept the disclaimer"
e2e_start_alearix "$ALEARIX"
main=$E2E_MAIN
e2e_click "$main" 100 160  # on the chart's rim, which draws nothing: the window takes the keyboard

e2e_step "type into the \"to\" box, cancel with Escape, then Enter and type with no box open"
e2e_click "$main" 500 131  # the value of "to"
e2e_type 99
e2e_key Escape
e2e_key Return
e2e_type 9
e2e_key Return KP_Enter

e2e_step "set \"from\" to -100 with the keyboard"
e2e_click "$main" 347 131  # the value of "from"
e2e_key ctrl+a
e2e_type -100
e2e_key Return
e2e_type 5  # again with no box open
e2e_key Return

e2e_step "move the count bar by keyboard to 750"
# Tab from the window reaches the count bar first; right, right, left, page down,
# page up leave it one step up, at 750.
e2e_key Tab Right Right Left Next Prior

e2e_step "Calc through the save dialog"
e2e_click "$main" 48 130  # "Calc"
e2e_save_as gui.asc

e2e_step "compare with alearix-gen"
"$GEN" --from -100 --count 750 -o "$E2E_DIR/expected.asc" ||
  e2e_fail "alearix-gen failed"
cmp "$E2E_DIR/expected.asc" "$E2E_WORK/gui.asc" ||
  e2e_fail "the file differs from alearix-gen --from -100 --count 750 (first lines: $(head -c 120 "$E2E_WORK/gui.asc" | tr '\r\n' '  '))"
others=$(ls -A "$E2E_WORK" | grep -vx gui.asc)
[ -z "$others" ] || e2e_fail "unexpected files in the working folder: $others"

e2e_step "Exit"
e2e_click "$main" 48 16  # "Exit"
e2e_wait_app_exit
[ "$E2E_APP_STATUS" -eq 0 ] || e2e_fail "the program ended with status $E2E_APP_STATUS"

e2e_pass
