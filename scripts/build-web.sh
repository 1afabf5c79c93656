#!/usr/bin/env bash
# Builds the browser site into build-web/site/ (index.html, its script and style, vernalis.js,
# vernalis.wasm with the pack at its end, Data/) and build-web/vernalis-web.zip of it. The pack
# and models come from the Linux build in BUILD_DIR (default build/), made first, so every
# build carries the same assets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${BUILD_DIR:-$root/build}
out=${WEB_BUILD_DIR:-$root/build-web}
VERNALIS_WEB=1 "$root/scripts/setup.sh"
cmake -S "$root" -B "$host" -G Ninja >/dev/null
ninja -C "$host" pack models web_pack
# Debian's emcc finds acorn, which its link step runs under Node, only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DHOST_BUILD="$host" "$@" >/dev/null
ninja -C "$out"
echo "build-web: $out/site/ and $out/vernalis-web.zip"
