#!/usr/bin/env bash
# Exports that fail or are stopped leave nothing behind: a full disk, a killed ffmpeg, SIGTERM
# to a one-process and to a two-process export. Each exits non-zero, nothing is at --out,
# no temporary is left beside it or in TMPDIR, and no ffmpeg of ours runs on.
set -u
. "$(dirname "$0")/capture_env.sh"
mkdir "$work/tmp" "$work/out"
export TMPDIR=$work/tmp
from=$(sed -n 's/^constexpr uint32_t SCENE3_START = \([0-9]*\);.*/\1/p' "$(dirname "$0")/../../src/demo/cues.h")

# Nothing of the export may remain: no file in the output folder, none in TMPDIR, no ffmpeg
# or part still writing for it.
nothing_left() {
  local label=$1 rc=$2 expected=$3
  [ "$rc" = "$expected" ] || fail "$label: exit code $rc, expected $expected"
  sleep 0.5
  pgrep -f "$work" >/dev/null && fail "$label: a process of the export is still running: $(pgrep -af "$work")"
  [ -z "$(ls -A "$work/out")" ] || fail "$label: left in the output folder: $(ls -A "$work/out")"
  [ -z "$(ls -A "$work/tmp")" ] || fail "$label: temporaries left: $(ls -A "$work/tmp")"
  echo "ok: $label (exit $rc)"
}

# Starts an export in the background; returns once it has drawn a few frames.
start_export() {
  "$capture" "$@" 2>"$work/err" &
  pid=$!
  for _ in $(seq 600); do
    grep -q "frame [1-9][0-9]*/" "$work/err" 2>/dev/null && return 0
    kill -0 $pid 2>/dev/null || fail "the export ended before drawing: $*"
    sleep 0.1
  done
  fail "no frame drawn in 60 s: $*"
}

# A disk that fills up: a 256 KiB file system of this test's own (a mount namespace).
if unshare -rm true 2>/dev/null; then
  mkdir "$work/full"
  unshare -rm bash -c 'mount -t tmpfs -o size=256k tmpfs "$1" || exit 99
    VERNALIS_CAPTURE_PROCESSES=1 "$2" --from "$3" --to $(($3 + 176400)) --fps 30 --out "$1/x.mp4" 2>"$4/err"
    rc=$?; ls -A "$1" >"$4/left"; exit $rc' _ "$work/full" "$capture" "$from" "$work"
  rc=$?
  [ $rc = 99 ] && fail "cannot mount a small file system"
  [ -s "$work/left" ] && fail "full disk: left at --out's folder: $(cat "$work/left")"
  grep -q "ffmpeg" "$work/err" || fail "full disk: no message naming ffmpeg"
  nothing_left "full disk" $rc 1
else
  echo "skipped: full disk (no mount namespace here)"
fi

# ffmpeg killed under the export: said, with its signal.
VERNALIS_CAPTURE_PROCESSES=1 start_export --from $from --to $((from + 88200 * 10)) --fps 30 --out "$work/out/x.mp4"
pkill -KILL -P $pid -x ffmpeg || fail "no ffmpeg under the export"
wait $pid
rc=$?
grep -q "ffmpeg was killed by signal 9" "$work/err" || fail "a killed ffmpeg is not reported with its signal"
nothing_left "ffmpeg killed" $rc 1

VERNALIS_CAPTURE_PROCESSES=1 start_export --from $from --to $((from + 88200 * 10)) --fps 30 --out "$work/out/x.mp4"
kill -TERM $pid
wait $pid
nothing_left "SIGTERM, one process" $? 143

start_export --from $((17640 * 295)) --to $((17640 * 295 + 88200 * 30)) --fps 5 --out "$work/out/x.mkv"
grep -q "two processes" "$work/err" || fail "a long export was drawn by one process"
kill -TERM $pid
wait $pid
nothing_left "SIGTERM, two processes" $? 143
echo ok
