#!/usr/bin/env bash
# Draws the GL cases through Mesa's fixed-function GL and through our layer over GLES 2 on
# Mesa's software rasteriser, and compares the frames (gl_compare_main.cpp has the limits).
# Usage: gl_compare.sh REFERENCE_PROGRAM LAYER_PROGRAM MODEL_DIR ASSET_DIR
set -euo pipefail
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
export LIBGL_ALWAYS_SOFTWARE=1
"$1" "$3" "$4" "$frames"
"$2" "$3" "$4" "$frames"
