#!/usr/bin/env bash
# A still deep in a scene is the frame that a run from 0 at the same frame rate shows there:
# stills at 4 fps positions must give the golden checksums of the whole run, with and
# without P held. A still at scale 2 is twice the size.
set -u
capture=$(realpath "$2")
golden=$(cd "$(dirname "$0")/../golden" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/err" 2>/dev/null; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
cd "$(dirname "$capture")"

# Frame indices of the 4 fps run: scenes 1 to 7, the last two also with P held.
check() {
    local run=$1 frame=$2 flags=(--fps 4)
    [ "$run" = run-4fps-hold-p ] && flags+=(--hold-p)
    read -r _ position expected < <(awk -v k="$frame" '$1 == k' "$golden/$run.sums")
    "$capture" "${flags[@]}" --from "$position" --to "$position" --out "$work/still.sums" 2>"$work/err" \
        || fail "still at $position"
    read -r _ _ got < "$work/still.sums"
    [ "$got" = "$expected" ] || fail "$run: still at $position is $got, the run's frame $frame is $expected"
}
for frame in 101 190 275 380 460 515 570; do check run-4fps $frame; done
for frame in 515 575; do check run-4fps-hold-p $frame; done

"$capture" --scale 2 --from 6000000 --to 6000000 --out "$work/big.png" 2>"$work/err" || fail "scale 2"
# IHDR: width 1280, height 960, 8-bit RGB
[ "$(od -An -tx1 -j16 -N10 "$work/big.png" | tr -d ' \n')" = 00000500000003c00802 ] || fail "not 1280x960 RGB"
echo ok
