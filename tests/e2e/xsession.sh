# Helpers for end-to-end tests of the desktop program on a private X server (Xvfb),
# driven by xdotool as a user would drive it. Source this file, then:
#
#   e2e_init NAME            scratch folder $E2E_DIR, cleanup on exit
#   e2e_start_x              private Xvfb on a free display; exports DISPLAY
#   e2e_start_app LOG CMD..  starts a program in $E2E_WORK; its pid in $E2E_APP_PID
#   e2e_wait_window VAR TITLE_REGEX      VAR = first visible window whose title matches
#                                        (not in $(...): a failure must end the script)
#   e2e_click WID X Y        left click at X,Y inside the window's client area
#   e2e_drag WID X0 Y0 X1 Y1 ...         left press at the first point, moves, release
#   e2e_key KEY..  e2e_type TEXT         keys and text to the focused window
#   e2e_start_alearix PATH   the program started, its disclaimer accepted; $E2E_MAIN
#   e2e_save_as NAME         answers an open "Save" dialog with NAME in $E2E_WORK
#   e2e_pass                 the closing line; any e2e_fail before it ends the test
#
# Nothing is written outside $E2E_DIR apart from the X server's own socket and lock.
# The folder is removed when the test passes and kept (with a screenshot and the
# logs) when it fails; E2E_KEEP=1 keeps it always.
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb or xdotool not installed).

E2E_SKIP=77
E2E_TIMEOUT=${E2E_TIMEOUT:-20}  # seconds to wait for any one thing
E2E_PIDS=()
E2E_STEP="start"
E2E_SHOTS=0

e2e_log() { echo "[$E2E_NAME] $*"; }

# Marks the start of a step; a failure names the step it happened in.
e2e_step() {
  E2E_STEP=$*
  e2e_log "step: $*"
}

e2e_init() {
  E2E_NAME=$1
  for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed (scripts/deps.sh installs it)"
      exit "$E2E_SKIP"
    fi
  done
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/alearix_e2e_${E2E_NAME}_XXXXXX")
  E2E_WORK=$E2E_DIR/work
  mkdir -p "$E2E_WORK" "$E2E_DIR/home" "$E2E_DIR/runtime"
  chmod 700 "$E2E_DIR/runtime"
  # The program, its file dialogs and the font cache keep their settings here.
  export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/home/.config
  export XDG_CACHE_HOME=$E2E_DIR/home/.cache XDG_DATA_HOME=$E2E_DIR/home/.local/share
  export XDG_RUNTIME_DIR=$E2E_DIR/runtime
  unset WAYLAND_DISPLAY SESSION_MANAGER
  export QT_QPA_PLATFORM=xcb
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  local status=$?
  local i
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    kill "${E2E_PIDS[i]}" 2>/dev/null && wait "${E2E_PIDS[i]}" 2>/dev/null
  done
  if [ "$status" -eq 0 ] && [ -z "${E2E_KEEP:-}" ]; then
    rm -rf "$E2E_DIR"
  elif [ -n "${E2E_DIR:-}" ]; then
    e2e_log "kept $E2E_DIR"
  fi
  exit "$status"
}

# Takes a screenshot of the whole screen into the scratch folder.
e2e_shot() {
  local name=${1:-shot$((++E2E_SHOTS))}
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    import -display "$DISPLAY" -window root "$E2E_DIR/$name.png" 2>/dev/null &&
      e2e_log "screenshot $E2E_DIR/$name.png"
  fi
}

e2e_fail() {
  echo "FAILED [$E2E_NAME] in step '$E2E_STEP': $*" >&2
  e2e_shot failure
  local log
  for log in "$E2E_DIR"/*.log; do
    [ -s "$log" ] || continue
    echo "--- $log (last lines)" >&2
    tail -n 20 "$log" >&2
  done
  exit 1
}

e2e_pass() {
  e2e_log "all steps passed"
  echo "1 passed, 0 failed"
}

# Runs "CMD..." until it succeeds or E2E_TIMEOUT seconds pass.
e2e_wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "timed out waiting for $what"
    sleep 0.1
  done
}

e2e_start_x() {
  e2e_step "start the X server"
  local numfile=$E2E_DIR/display.num
  : >"$numfile"
  # -displayfd picks the first free display and reports it once the server is ready.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$numfile" >"$E2E_DIR/xvfb.log" 2>&1 &
  local xpid=$!
  E2E_PIDS+=("$xpid")
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until [ -s "$numfile" ] && grep -q '^[0-9]' "$numfile"; do
    kill -0 "$xpid" 2>/dev/null || e2e_fail "the X server (Xvfb) did not start"
    [ "$SECONDS" -lt "$deadline" ] || e2e_fail "the X server (Xvfb) did not report a display"
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$numfile")"
  timeout 10 xdotool getdisplaygeometry >/dev/null 2>&1 ||
    e2e_fail "the X server on $DISPLAY does not answer"
  e2e_log "X server on $DISPLAY"
}

# e2e_start_app LOGNAME CMD...: starts CMD in $E2E_WORK with its output in LOGNAME.log.
e2e_start_app() {
  local log=$E2E_DIR/$1.log
  shift
  (cd "$E2E_WORK" && exec "$@") >"$log" 2>&1 &
  E2E_APP_PID=$!
  E2E_PIDS+=("$E2E_APP_PID")
}

e2e_app_running() { kill -0 "$E2E_APP_PID" 2>/dev/null; }

# The first visible window whose title matches the extended regular expression.
e2e_find_window() {
  timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

e2e_wait_window() {
  # Locals carry a prefix so that they cannot hide the caller's variable named in $1.
  local _ww_var=$1 _ww_regex=$2 _ww_wid="" _ww_deadline=$((SECONDS + E2E_TIMEOUT))
  while [ -z "$_ww_wid" ]; do
    if [ -n "${E2E_APP_PID:-}" ] && ! e2e_app_running; then
      e2e_fail "the program ended while waiting for the window '$_ww_regex'"
    fi
    [ "$SECONDS" -lt "$_ww_deadline" ] || e2e_fail "no window '$_ww_regex' appeared"
    sleep 0.1
    _ww_wid=$(e2e_find_window "$_ww_regex")
  done
  printf -v "$_ww_var" '%s' "$_ww_wid"
}

e2e_window_shown() { [ -n "$(e2e_find_window "$1")" ]; }
e2e_window_gone() { [ -z "$(e2e_find_window "$1")" ]; }

e2e_wait_window_gone() {
  e2e_wait_for "the window '$1' to close" e2e_window_gone "$1"
}

# Gives a window the keyboard focus, as a click on its title bar would.
e2e_focus() {
  timeout 5 xdotool windowactivate "$1" 2>/dev/null ||
    timeout 5 xdotool windowfocus "$1" || e2e_fail "cannot focus window $1"
  sleep 0.2
}

# e2e_click WID X Y: a left click at X,Y of the window's client area.
e2e_click() {
  timeout 5 xdotool mousemove --window "$1" "$2" "$3" || e2e_fail "cannot move the mouse to $2,$3"
  sleep 0.1
  timeout 5 xdotool click 1 || e2e_fail "cannot click at $2,$3"
  sleep 0.3
}

# e2e_drag WID X0 Y0 X1 Y1 [X Y]...: presses the left button at the first point of the
# window's client area, moves through the others one motion each, and releases it at
# the last. The pauses let the program take every motion on its own (motions still
# queued when it looks are merged into the last).
e2e_drag() {
  local wid=$1
  shift
  timeout 5 xdotool mousemove --window "$wid" "$1" "$2" sleep 0.1 mousedown 1 sleep 0.25 ||
    e2e_fail "cannot press at $1,$2"
  shift 2
  while [ $# -ge 2 ]; do
    timeout 5 xdotool mousemove --window "$wid" "$1" "$2" sleep 0.25 ||
      e2e_fail "cannot move the mouse to $1,$2"
    shift 2
  done
  timeout 5 xdotool mouseup 1 || e2e_fail "cannot release the mouse button"
  sleep 0.3
}

# Keys (xdotool names: Return, Escape, Tab, Right, ctrl+a ...) to the focused window.
e2e_key() {
  local k
  for k in "$@"; do
    timeout 5 xdotool key --delay 30 "$k" || e2e_fail "cannot press $k"
    sleep 0.1
  done
  sleep 0.2
}

e2e_type() {
  timeout 10 xdotool type --delay 40 -- "$1" || e2e_fail "cannot type '$1'"
  sleep 0.3
}

# Waits for the program to end; its exit status in E2E_APP_STATUS.
e2e_wait_app_exit() {
  e2e_wait_for "the program to end" eval '! e2e_app_running'
  wait "$E2E_APP_PID"
  E2E_APP_STATUS=$?
}

# Starts the desktop program and accepts its disclaimer; the main window in E2E_MAIN.
e2e_start_alearix() {
  e2e_start_app alearix "$1"
  e2e_wait_window E2E_MAIN '^Alearix - Configurable Random Generator$'
  local about
  e2e_wait_window about '^About$'
  e2e_click "$about" 316 336 # "OK, I accept"
  e2e_wait_window_gone '^About$'
  e2e_app_running || e2e_fail "the program ended after accepting the disclaimer"
}

# Answers the "Save" file dialog that a click has just opened: a bare name is saved in
# the working folder, where the dialog opens.
e2e_save_as() {
  local dialog
  e2e_wait_window dialog '^Save'
  e2e_focus "$dialog"
  e2e_key ctrl+a
  e2e_type "$1"
  e2e_key Return
  e2e_wait_window_gone '^Save'
  e2e_wait_for "$1 in the working folder" test -s "$E2E_WORK/$1"
}
