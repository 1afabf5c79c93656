#!/usr/bin/env bash
# Sets up, builds and runs the demo. Without a display it renders the whole demo, with its
# soundtrack, into build/vernalis.mp4 instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./vernalis
fi
echo "run: no display found: rendering the whole demo into $PWD/vernalis.mp4 instead" >&2
./vernalis-capture --out vernalis.mp4
echo "run: the demo is in $PWD/vernalis.mp4" >&2
