#!/usr/bin/env bash
# vernalis-capture renders frames offscreen with no display server: one frame to a PNG, a
# range into a folder, and clear failures on bad arguments and unwritable output.
set -u
. "$(dirname "$0")/capture_env.sh"
"$capture" --from 0 --to 0 --out "$work/f.png" 2>"$work/err" || fail "one frame"
[ "$(head -c 8 "$work/f.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "not a PNG"
# IHDR: width 640, height 480, 8-bit RGB
[ "$(od -An -tx1 -j16 -N10 "$work/f.png" | tr -d ' \n')" = 00000280000001e00802 ] || fail "not 640x480 RGB"

"$capture" --from 12000000 --to 12100000 --fps 5 --out "$work/frames/" 2>"$work/err" || fail "range"
n=$(ls "$work/frames" | wc -l)
[ "$n" = 7 ] || fail "expected 7 frames (the last one reaches --to), got $n"
[ -f "$work/frames/000006.png" ] || fail "frame names"
grep -q "frame 7" "$work/err" || fail "no progress line"

"$capture" --from 13000000 --to 13000000 --out "$work/end.png" 2>"$work/err" && fail "frame past the end"
"$capture" --from 0 --to 10 --out "$work/x.png" 2>"$work/err" && fail "one file for two frames"
grep -q "usage" "$work/err" || fail "no usage on bad arguments"
"$capture" --from 0 --to 0 --out /proc/nonexistent/f.png 2>"$work/err" && fail "unwritable output"
grep -q "cannot write" "$work/err" || fail "no message for unwritable output"
"$capture" --exe "$work/none" --from 0 --to 0 --out "$work/g.png" 2>"$work/err" && fail "missing exe"
"$capture" --help >"$work/out" 2>"$work/err" || fail "--help is not a success"
grep -q "^usage: vernalis-capture" "$work/out" || fail "--help prints no usage"
echo ok
