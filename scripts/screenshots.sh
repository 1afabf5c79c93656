#!/usr/bin/env bash
# Renders the README's scene pictures (docs/sceneN.png, 320x240) from a build: each scene
# is played from its first frame at 30 fps up to the chosen moment, so latches, morphs and
# particles are where a viewer would see them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A stream position from the cue sheet.
cue() { sed -n "s/^constexpr uint32_t $1 = \([0-9]*\);.*/\1/p" "$root/src/demo/cues.h"; }
# scene, first byte of the scene, seconds to the picture, extra capture flags
shots=(
  "1 0 3.5"
  "2 $(cue SCENE2_START) 7"
  "3 $(cue SCENE3_START) 14"
  "4 $(cue SCENE4_START) 12"
  "5 $(cue SCENE5_START) 8"
  "6 $(cue SCENE6_START) 5"
  "7 $(cue SCENE7_START) 4 --hold-p"
)
cd "$build"  # the models are read from Data/ beside the executable
for shot in "${shots[@]}"; do
  read -r scene from seconds extra <<<"$shot"
  to=$(awk -v f="$from" -v s="$seconds" 'BEGIN { printf "%d", f + s * 88200 }')
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$build/vernalis-capture" --exe "$build/vernalis" \
    --from "$from" --to "$to" --fps 30 ${extra:-} --out "$work/s$scene/" >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  last=$(ls "$work/s$scene" | tail -n 1)
  ffmpeg -loglevel error -y -i "$work/s$scene/$last" -vf scale=320:240 "$root/docs/scene$scene.png"
  echo "docs/scene$scene.png: byte $to"
done
