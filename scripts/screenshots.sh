#!/usr/bin/env bash
# Renders the README's scene pictures (docs/sceneN.png, 320x240) from a build: each scene
# is played from its first frame at 30 fps up to the chosen moment, so latches, morphs and
# particles are where a viewer would see them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# scene, first byte of the scene, byte of the picture, extra capture flags
shots=(
  "1 0 308700"
  "2 3273984 3891384"
  "3 5199338 6434138"
  "4 7123328 8181728"
  "5 9517852 10223452"
  "6 10960128 11401128"
  "7 11922416 12275216 --hold-p"
)
cd "$build"  # the models are read from Data/ beside the executable
for shot in "${shots[@]}"; do
  read -r scene from to extra <<<"$shot"
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$build/vernalis-capture" --exe "$build/vernalis" \
    --from "$from" --to "$to" --fps 30 ${extra:-} --out "$work/s$scene/" >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  last=$(ls "$work/s$scene" | tail -n 1)
  ffmpeg -loglevel error -y -i "$work/s$scene/$last" -vf scale=320:240 "$root/docs/scene$scene.png"
  echo "docs/scene$scene.png: byte $to"
done
