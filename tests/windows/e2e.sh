#!/usr/bin/env bash
# vernalis.exe under Wine on a virtual X server, with the silent audio output and message
# boxes answered: its window "Aurora - Vernalis" appears, ten seconds into the music the
# window shows 40-row black bands with a picture between them, and Escape ends it with exit
# code 27. With a model file missing it prints that model's message and exits with 0.
# Usage: e2e.sh BUILD_WINDOWS_DIR [SCREENSHOT.png [SECONDS]]: the screenshot is also kept,
# taken SECONDS (default 10) after the first picture. WINEPREFIX names the prefix to use.
set -u
dir=$(realpath "$1")
shot=${2:-}
shot_after=${3:-10}
work=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export WINEDEBUG=-all VERNALIS_MSGBOX_ANSWER=yes

. "$(dirname "$0")/../e2e/wait.sh"

fail() { echo "FAIL: $*"; echo "--- demo stderr:"; grep -v '^ALSA' "$work/stderr" 2>/dev/null; exit 1; }

# A screen without the 640x480 mode: the full-screen question comes up every time, is answered
# Yes, and the program runs in a window (Wine offers the mode change only on some starts).
start_xvfb 800x600x24 || fail "Xvfb did not start"

# Non-zero bytes in rows [first, last) of a 640x480 RGB frame: 0 means all black.
lit_bytes() { tail -c +$(($2 * 1920 + 1)) "$1" | head -c $((($3 - $2) * 1920)) | tr -d '\000' | wc -c; }

# --- The whole program: window, picture, Escape ---------------------------------------------
cd "$dir"
# Wine's desktop belongs to the prefix's server and keeps the display it started with: a server
# left from wineboot or from window-free runs has none, so ours starts afresh on this display.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
start=$(date +%s%N)
wine vernalis.exe 2>"$work/stderr" &
demo_pid=$!
wait_window "^Aurora - Vernalis$" $demo_pid
case $? in
  2) fail "the program ended before its window opened" ;;
  1) fail "no window titled \"Aurora - Vernalis\"" ;;
esac
window_ms=$((($(date +%s%N) - start) / 1000000))
# The window's client area: the X window Wine made for it, wherever it sits on the screen.
grab() {
  local x y
  x=$(xwininfo -id "$wid" | sed -n 's/^ *Absolute upper-left X: *//p')
  y=$(xwininfo -id "$wid" | sed -n 's/^ *Absolute upper-left Y: *//p')
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 640x480 -i "$DISPLAY+$x,$y" -frames:v 1 \
    -f rawvideo -pix_fmt rgb24 "$work/frame.rgb" || fail "no screenshot"
}
# The first picture comes once everything is loaded and the music has started.
picture_ms=""
for _ in $(seq 120); do
  grab
  [ "$(lit_bytes "$work/frame.rgb" 40 440)" -gt 0 ] && { picture_ms=$((($(date +%s%N) - start) / 1000000)); break; }
  kill -0 $demo_pid 2>/dev/null || fail "the program ended before its first picture"
  sleep 0.5
done
[ -n "$picture_ms" ] || fail "no picture within a minute"
echo "start-up under Wine: window after $window_ms ms, first picture after $picture_ms ms"
sleep "$shot_after"
kill -0 $demo_pid 2>/dev/null || fail "the program ended by itself"
grab
top=$(lit_bytes "$work/frame.rgb" 0 40)
middle=$(lit_bytes "$work/frame.rgb" 40 440)
bottom=$(lit_bytes "$work/frame.rgb" 440 480)
echo "lit bytes: top band $top, picture $middle, bottom band $bottom"
[ "$top" = 0 ] && [ "$bottom" = 0 ] || fail "the 40-row bands are not black"
[ "$middle" -gt 76800 ] || fail "no picture between the bands"
[ -n "$shot" ] && ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgb24 -video_size 640x480 \
  -i "$work/frame.rgb" "$shot"
grep -q "silent" "$work/stderr" || fail "no line about the silent audio output"
grep -q "^Kabo GL: The Requested Fullscreen Mode" "$work/stderr" || fail "no full-screen question"

xdotool windowfocus "$wid" 2>/dev/null
# Held until the program has gone: a press and release in one batch of messages would be
# over before a frame looks at the key.
xdotool keydown Escape
wait_exit $demo_pid
xdotool keyup Escape
[ -n "$rc" ] || { kill -9 $demo_pid; fail "Escape did not end the program"; }
[ "$rc" = 27 ] || fail "exit code $rc, expected 27"
echo "ok: window, picture, Escape (27)"

# --- A model missing: its message, then a clean exit ----------------------------------------
mkdir -p "$work/app/Data"
cp "$dir/vernalis.exe" "$work/app/"
cp "$dir/Data/"* "$work/app/Data/"
rm "$work/app/Data/Tubo.3ds"
cd "$work/app"
timeout 120 wine vernalis.exe 2>"$work/stderr"
rc=$?
[ "$rc" = 0 ] || fail "exit code $rc with a model missing, expected 0"
grep -qF 'Loading error: Data\Tubo.3ds not found!' "$work/stderr" || fail "no message for the missing model"
echo "ok: missing model reported, exit code 0"
