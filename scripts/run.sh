#!/usr/bin/env bash
# Sets up, builds and runs the demo. Without a display it runs under a virtual X server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./vernalis
fi
echo "run: no display found; running the demo under a virtual X server (Xvfb, 640x480)" \
     "with the silent audio output; nothing will be seen or heard." >&2
export VERNALIS_MSGBOX_ANSWER=yes
exec xvfb-run -a -s "-screen 0 640x480x24" ./vernalis
