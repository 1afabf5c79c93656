#!/usr/bin/env bash
# Records the golden frame checksums from a build (default build/): only when a frame is meant
# to change, and the commit says which frames and why.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
cd "$build"
export VERNALIS_CAPTURE_PROCESSES=1  # one process: what the checks compare the split runs with
./vernalis-capture --fps 4 --out "$here/run-4fps.sums" 2>/dev/null
./vernalis-capture --fps 4 --hold-p --out "$here/run-4fps-hold-p.sums" 2>/dev/null
