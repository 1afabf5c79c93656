#!/usr/bin/env bash
# Sets up, builds and runs every test (no display, sound card or GPU needed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2 --timeout 300
