#!/usr/bin/env bash
# The real demo under a virtual X server with the silent audio output: it opens its window,
# plays, and Escape ends it with exit code 27, leaving no window behind. Run twice: on a
# 640x480 screen (full screen) and on a screen without that mode (the windowed fall-back).
set -u
exe=$(realpath "$1")
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/wait.sh"

fail() { echo "FAIL: $*"; echo "--- demo stderr:"; cat "$work/stderr" 2>/dev/null; exit 1; }

start_x() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display")
}

run_case() {
  local screen=$1 expect_question=$2
  start_x "$screen"
  VERNALIS_MSGBOX_ANSWER=yes SDL_AUDIODRIVER=dummy "$exe" 2>"$work/stderr" &
  local demo_pid=$! wid="" rc=""
  wait_window "Aurora - Vernalis" $demo_pid
  case $? in
    2) fail "demo exited before its window opened" ;;
    1) fail "no window on $screen" ;;
  esac
  kill -0 $demo_pid 2>/dev/null || fail "demo ended by itself"
  xdotool windowfocus --sync "$wid" 2>/dev/null
  # Escape is held until the demo has gone: a press released while the demo is still loading
  # would be over before the first frame looks at it.
  xdotool keydown Escape
  wait_exit $demo_pid
  xdotool keyup Escape
  [ -n "$rc" ] || { kill -9 $demo_pid; fail "Escape did not end the demo"; }
  [ "$rc" = 27 ] || fail "exit code $rc, expected 27"
  grep -qi "silent" "$work/stderr" || fail "no line about the silent audio output"
  if [ "$expect_question" = yes ]; then
    grep -q "^Kabo GL: The Requested Fullscreen Mode" "$work/stderr" || fail "no fall-back question"
  else
    grep -q "Kabo GL" "$work/stderr" && fail "asked about the fall-back on a 640x480 screen"
  fi
  xdotool search --name "Aurora - Vernalis" >/dev/null 2>&1 && fail "window left behind"
  local dims=""
  for _ in $(seq 20); do
    dims=$(xdpyinfo 2>/dev/null | grep "dimensions:") && break
    sleep 0.25
  done
  kill -0 $xvfb_pid 2>/dev/null || fail "the X server died"
  echo "$dims" | grep -q "dimensions: *${screen%x*}" || fail "screen mode not restored: $dims"
  kill $xvfb_pid; wait $xvfb_pid 2>/dev/null
  echo "ok: $screen"
}

run_case 640x480x24 no
run_case 800x600x24 yes
