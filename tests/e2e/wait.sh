# Waiting on a program under test, for the end-to-end scripts (sourced; needs xdotool).

# wait_window PATTERN PID: sets wid to the first window whose name matches PATTERN, within
# 60 s. Returns 2 when PID ends first, 1 when no such window showed.
wait_window() {
  wid=""
  for _ in $(seq 600); do
    wid=$(xdotool search --name "$1" 2>/dev/null | head -n1)
    [ -n "$wid" ] && return 0
    kill -0 "$2" 2>/dev/null || return 2
    sleep 0.1
  done
  return 1
}

# wait_exit PID: sets rc to the exit code of PID (a child of this shell) once it ends, within
# 30 s; rc stays empty when it did not end.
wait_exit() {
  rc=""
  for _ in $(seq 300); do
    if ! kill -0 "$1" 2>/dev/null; then wait "$1"; rc=$?; return 0; fi
    sleep 0.1
  done
}
