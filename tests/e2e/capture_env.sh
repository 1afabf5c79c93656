# Sourced by the capture tool's end-to-end scripts, whose second argument is vernalis-capture:
# a work folder of their own, removed however they end; no display; run from the tool's folder,
# where Data/ is.
capture=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/err" 2>/dev/null; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
cd "$(dirname "$capture")"
