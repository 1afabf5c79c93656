#!/usr/bin/env bash
# The browser's speed beside the native build's, in one sitting (figures printed, nothing
# checked): vernalis-capture --bench, then the page's benchmark in headless Chromium on ANGLE
# over Mesa's llvmpipe and on SwiftShader, with page load to the first frame and the download
# size. Builds the site first (scripts/build-web.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${BUILD_DIR:-$root/build}
bash "$root/scripts/build-web.sh" >/dev/null
ninja -C "$host" vernalis-capture >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/vernalis-web-bench.XXXXXX")
bench_pid=
cleanup() {
  if [ -n "$bench_pid" ]; then kill -- -"$bench_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

echo "native (vernalis-capture --bench):"
(cd "$host" && ./vernalis-capture --bench | grep -E '^(scene|empty|worst)')
for renderer in llvmpipe swiftshader; do
  # In a process group of its own, so that the browser it starts goes with it.
  setsid node "$root/tests/web/bench.mjs" "$root/build-web/site" "$work" "$renderer" &
  bench_pid=$!
  wait "$bench_pid"
  bench_pid=
done
