#!/usr/bin/env bash
# Builds the GL layer with em++ into a small wasm and runs it under Node: it must link and its
# GLES table must reach emscripten's WebGL functions. Usage: gl_layer_wasm.sh SOURCE_DIR
set -euo pipefail
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emcc's link step needs acorn from there
em++ -std=c++17 -O2 -Wall -Wextra -Werror -I"$src/src/platform/web/include" -I"$src/src" \
  "$src"/src/platform/web/gl_*.cpp "$src/src/platform/web/glu.cpp" \
  "$src/tests/platform/web/gl_layer_wasm.cpp" -o "$work/layer.js"
node --no-experimental-fetch "$work/layer.js"
