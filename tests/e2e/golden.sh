#!/usr/bin/env bash
# Golden frames: a whole run from 0 at 4 frames per second, as vernalis-capture renders it, and
# again with P held (scene 7's hidden layer), must give exactly the recorded frame checksums.
# Every scene is reached with the state the earlier ones leave, so a change to drawing, state
# order, timing or content shows here. Re-record on purpose with `tests/golden/record.sh`, which
# draws in one process; each run here is long enough to be drawn by two at once, so this also
# holds the joined run to the one-process frames.
set -u
capture=$(realpath "$2")
golden=$(cd "$(dirname "$0")/../golden" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
cd "$(dirname "$capture")"

status=0
for run in run-4fps run-4fps-hold-p; do
    flags=(--fps 4)
    [ "$run" = run-4fps-hold-p ] && flags+=(--hold-p)
    "$capture" "${flags[@]}" --out "$work/$run.sums" 2>"$work/err" || { cat "$work/err"; exit 1; }
    if ! diff -q "$golden/$run.sums" "$work/$run.sums" >/dev/null; then
        echo "FAIL: $run: frames differ from the golden checksums (frame position checksum):"
        diff "$golden/$run.sums" "$work/$run.sums" | head -20
        status=1
    fi
done
[ $status = 0 ] && echo ok
exit $status
