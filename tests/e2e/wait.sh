# A virtual X server, and waiting on a program under test, for the end-to-end scripts (sourced;
# needs Xvfb and xdotool). Waits are measured in seconds, not in tries: on a loaded machine each
# try takes longer.

# start_xvfb SCREEN: an X server on a free display (sets xvfb_pid, exports DISPLAY); the display
# file lives in $work. Returns 1 when it did not start within 10 s. -noreset: a server that
# resets whenever its last client leaves drops a client connecting meanwhile, so a window
# search ending just as the demo connects would leave the demo without a display.
start_xvfb() {
  rm -f "$work/display"  # a file left by an earlier server would be read before it is emptied
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  local end=$((SECONDS + 10))
  while [ ! -s "$work/display" ] && [ $SECONDS -lt $end ]; do sleep 0.1; done
  [ -s "$work/display" ] || return 1
  export DISPLAY=:$(cat "$work/display")
}

# wait_window PATTERN PID: sets wid to the first window whose name matches PATTERN, within
# 60 s. Returns 2 when PID ends first, 1 when no such window showed.
wait_window() {
  wid=""
  local end=$((SECONDS + 60))
  while [ $SECONDS -lt $end ]; do
    wid=$(xdotool search --name "$1" 2>/dev/null | head -n1)
    [ -n "$wid" ] && return 0
    kill -0 "$2" 2>/dev/null || return 2
    sleep 0.1
  done
  return 1
}

# wait_exit PID [SECONDS]: sets rc to the exit code of PID (a child of this shell) once it ends,
# within SECONDS (30); rc stays empty when it did not end.
wait_exit() {
  rc=""
  local end=$((SECONDS + ${2:-30}))
  while [ $SECONDS -lt $end ]; do
    if ! kill -0 "$1" 2>/dev/null; then wait "$1"; rc=$?; return 0; fi
    sleep 0.1
  done
}
