#!/usr/bin/env bash
# The browser stage: builds the site (scripts/build-web.sh), serves it on 127.0.0.1 and drives
# headless Chromium through it with puppeteer-core (tests/web/stage.mjs): the pack is found,
# the show plays with its position on the audio clock, Escape ends it with 27, and a missing
# model or a damaged pack is reported; the browser's decode and what an AudioWorklet tap hears
# equal libmpg123's decode, and the position keeps within a frame of what is heard. Then each
# scene's still against the native capture tool's, figures printed.
# With --bench it checks nothing and prints the speed instead (tests/web/bench.mjs): the
# native vernalis-capture --bench, then the page's in headless Chromium on ANGLE over Mesa's
# llvmpipe and on SwiftShader, with load to the first frame and the download size.
# The server and the browser are stopped, and the temporary folder removed, however it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${BUILD_DIR:-$root/build}
bash "$root/scripts/build-web.sh"
ninja -C "$host" vernalis-capture pcm_dump >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/vernalis-web.XXXXXX")
node_pid=
cleanup() {
  if [ -n "$node_pid" ]; then kill -- -"$node_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# In a process group of its own, so that the browser it starts goes with it.
run_node() {
  setsid node "$@" &
  node_pid=$!
  wait "$node_pid"
  node_pid=
}

if [ "${1:-}" = --bench ]; then
  echo "native (vernalis-capture --bench):"
  (cd "$host" && ./vernalis-capture --bench | grep -E '^(scene|empty|worst)')
  for renderer in llvmpipe swiftshader; do
    run_node "$root/tests/web/bench.mjs" "$root/build-web/site" "$work" "$renderer"
  done
  exit 0
fi

"$host/tests/pcm_dump" "$host/assets/Zozivuv.mp3" "$work/pcm.raw" >/dev/null
# A point in each scene: the middle of its window.
positions=(1636992 4236660 6161332 8320590 10238990 11441272 12387832)
for p in "${positions[@]}"; do
  (cd "$host" && ./vernalis-capture --from "$p" --to "$p" --out "$work/native-$p.png" >/dev/null)
done
run_node "$root/tests/web/stage.mjs" "$root/build-web/site" "$work" --pcm "$work/pcm.raw" \
  --stills "${positions[@]}"
