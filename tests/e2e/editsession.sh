#!/usr/bin/env bash
# "Edit" on a real X server: choose the bimodal preset, open the "Distribution" table,
# type into its first two rows and its last (row 500), close it with "Done", "Save"
# through the real dialog and compare the bytes with alearix-gen's file of the preset
# with those three lines changed; then "Calc" must draw from the edited density, as
# alearix-gen --load of the saved file does.
#   editsession.sh ALEARIX ALEARIX_GEN
set -uo pipefail
ALEARIX=$(realpath "$1")
GEN=$(realpath "$2")
source "$(dirname "$0")/xsession.sh"

e2e_init editsession
e2e_start_x

e2e_step "start the program and choose the bimodal preset"
e2e_start_alearix "$ALEARIX"
main=$E2E_MAIN
e2e_click "$main" 144 76 # the bimodal preset

e2e_step "type 0.25 and 0.5 into rows 1 and 2, 0.75 into row 500, then Done"
e2e_click "$main" 216 103 # "Edit"
e2e_wait_window edit '^Distribution$'
e2e_focus "$edit"
e2e_type 0.25
e2e_key Return
e2e_type 0.5
e2e_key Return
timeout 10 xdotool key --delay 20 --repeat 30 Next || e2e_fail "cannot page down"
e2e_type 0.75 # still being typed when "Done" is clicked
e2e_click "$edit" 48 20 # "Done"
e2e_wait_window_gone '^Distribution$'

e2e_step "Save the edited density"
e2e_click "$main" 216 130 # "Save"
e2e_save_as edited.rnd
"$GEN" --shape bimodal --save "$E2E_DIR/bimodal.rnd" -o "$E2E_DIR/bimodal.asc" ||
  e2e_fail "alearix-gen failed"
awk 'BEGIN { ORS = "\r\n" }
  { sub(/\r$/, "") }
  NR == 5 { $0 = " 2.50000000000000E-0001\t; reference points ..." }
  NR == 6 { $0 = " 5.00000000000000E-0001" }
  NR == 504 { $0 = " 7.50000000000000E-0001" }
  { print }' "$E2E_DIR/bimodal.rnd" >"$E2E_DIR/expected.rnd"
cmp "$E2E_DIR/expected.rnd" "$E2E_WORK/edited.rnd" ||
  e2e_fail "the saved file differs from the preset with rows 1, 2 and 500 edited: $(diff \
    <(tr -d '\r' <"$E2E_DIR/expected.rnd") <(tr -d '\r' <"$E2E_WORK/edited.rnd") | head -n 8)"

e2e_step "Calc draws from the edited density"
e2e_click "$main" 48 130 # "Calc"
e2e_save_as edited.asc
"$GEN" --load "$E2E_WORK/edited.rnd" --count 500 -o "$E2E_DIR/expected.asc" ||
  e2e_fail "alearix-gen --load failed"
cmp "$E2E_DIR/expected.asc" "$E2E_WORK/edited.asc" ||
  e2e_fail "Calc differs from alearix-gen --load edited.rnd --count 500"

e2e_step "Exit"
e2e_click "$main" 48 16 # "Exit"
e2e_wait_app_exit
[ "$E2E_APP_STATUS" -eq 0 ] || e2e_fail "the program ended with status $E2E_APP_STATUS"

e2e_pass
