#!/usr/bin/env bash
# Video export: H.264 with the soundtrack, frame count and durations as rendered, also when
# drawn in two parts and joined; an output that cannot be written gives a clear message and a
# non-zero exit instead of a hang (a failing ffmpeg: export_faults.sh).
set -u
. "$(dirname "$0")/capture_env.sh"

# Two seconds of scene 3 at 5 fps: frames at 0, 0.2, ... 2.0 s, so 11 frames and 2.2 s.
from=$(sed -n 's/^constexpr uint32_t SCENE3_START = \([0-9]*\);.*/\1/p' "$(dirname "$0")/../../src/demo/cues.h")
mkdir "$work/tmp"
TMPDIR="$work/tmp" "$capture" --from $from --to $((from + 176400)) --fps 5 --out "$work/clip.mp4" 2>"$work/err" \
  || fail "export"
probe() { ffprobe -v error -select_streams "$1" -show_entries "stream=$2" -of csv=p=0 "$work/clip.mp4"; }
[ "$(probe v codec_name)" = h264 ] || fail "video is not H.264"
[ "$(probe v nb_frames)" = 11 ] || fail "expected 11 frames, got $(probe v nb_frames)"
video=$(probe v duration); audio=$(probe a duration)
[ -n "$audio" ] || fail "no audio stream"
awk -v v="$video" -v a="$audio" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d < 0.05 && v > 2.15 && v < 2.25) }' \
  || fail "durations disagree: video $video s, audio $audio s"
grep -q "frame 11/11" "$work/err" || fail "no progress bar"
[ -z "$(ls "$work/tmp")" ] || fail "temporary soundtrack left behind"

# 21 s of scene 3 at 5 fps, from a frame of a run from 0: long enough to be drawn by two
# processes at once and joined, 106 frames and 21.2 s with the sound, nothing left behind.
long_from=$((17640 * 295))
TMPDIR="$work/tmp" "$capture" --from $long_from --to $((long_from + 21 * 88200)) --fps 5 --out "$work/clip.mp4" \
  2>"$work/err" || fail "long export"
grep -q "two processes" "$work/err" || fail "a long export was drawn by one process"
[ "$(probe v nb_frames)" = 106 ] || fail "long export: expected 106 frames, got $(probe v nb_frames)"
video=$(probe v duration); audio=$(probe a duration)
awk -v v="$video" -v a="$audio" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d < 0.05 && v > 21.15 && v < 21.25) }' \
  || fail "long export: durations disagree: video $video s, audio $audio s"
[ -z "$(ls "$work/tmp")" ] || fail "long export: temporary files left behind"

# --scale 2: the same video at 1280x960.
"$capture" --scale 2 --from $from --to $((from + 17640)) --fps 5 --out "$work/big.mkv" 2>"$work/err" || fail "scale 2"
size=$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 "$work/big.mkv")
[ "$size" = "1280,960" ] || fail "scale 2 video is $size, not 1280,960"

timeout 60 "$capture" --from 0 --to 88200 --fps 5 --out "$work/none/clip.mkv" 2>"$work/err"
rc=$?
[ $rc = 124 ] && fail "hung on an output folder that does not exist"
[ $rc != 0 ] || fail "an output folder that does not exist was reported as success"
grep -q "cannot write beside $work/none/clip.mkv" "$work/err" || fail "no message naming the output"
echo ok
