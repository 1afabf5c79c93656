#!/usr/bin/env bash
# Builds the Windows program into build-windows/ (vernalis.exe, Data/, vernalis-windows.zip)
# and its window-free unit tests. The pack and models come from the Linux build in
# BUILD_DIR (default build/), made first, so both programs carry the same pack bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${BUILD_DIR:-$root/build}
out=${WINDOWS_BUILD_DIR:-$root/build-windows}
VERNALIS_WINDOWS=1 "$root/scripts/setup.sh"
cmake -S "$root" -B "$host" -G Ninja >/dev/null
ninja -C "$host" pack models
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DHOST_BUILD="$host" "$@" >/dev/null
ninja -C "$out"
echo "build-windows: $out/vernalis-windows.zip"
