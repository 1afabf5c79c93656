#!/usr/bin/env bash
# The real demo under a virtual X server with the silent audio output: it opens its window,
# plays, and Escape ends it with exit code 27, leaving no window behind. Run twice: on a
# 640x480 screen (full screen) and on a screen without that mode (the windowed fall-back).
# Then the two ways a display fails it: none to open (it says so and ends, instead of playing
# to no one) and the X server going away mid-run (it ends instead of waiting on it for ever).
set -u
exe=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/wait.sh"

fail() { echo "FAIL: $*"; echo "--- demo stderr:"; cat "$work/stderr" 2>/dev/null; exit 1; }

start_x() { start_xvfb "$1" || fail "Xvfb did not start"; }

start_demo() {
  VERNALIS_MSGBOX_ANSWER=yes SDL_AUDIODRIVER=dummy "$exe" 2>"$work/stderr" &
  demo_pid=$!
}

run_case() {
  local screen=$1 expect_question=$2 demo_pid wid="" rc=""
  start_x "$screen"
  start_demo
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

no_display_case() {
  local demo_pid rc=""
  (unset DISPLAY WAYLAND_DISPLAY; start_demo; wait $demo_pid) &
  demo_pid=$!
  wait_exit $demo_pid
  [ -n "$rc" ] || { kill -9 $demo_pid; fail "no display: the demo did not end"; }
  grep -q "^video: no display could be opened" "$work/stderr" || fail "no display: not said"
  grep -q "^Error: Unable to create OpenGL window!" "$work/stderr" || fail "no display: no error box"
  echo "ok: no display"
}

server_lost_case() {
  local demo_pid wid="" rc=""
  start_x 640x480x24
  start_demo
  wait_window "Aurora - Vernalis" $demo_pid || fail "server lost: no window"
  kill $xvfb_pid; wait $xvfb_pid 2>/dev/null
  wait_exit $demo_pid
  [ -n "$rc" ] || { kill -9 $demo_pid; fail "server lost: the demo did not end"; }
  [ "$rc" != 0 ] || fail "server lost: exit code 0"
  echo "ok: server lost (exit code $rc)"
}

run_case 640x480x24 no
run_case 800x600x24 yes
no_display_case
server_lost_case
