#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (run as root).
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libx11-dev libmpg123-dev libmp3lame-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libpng-dev
  xvfb xauth xdotool x11-utils
  ffmpeg
  clang libclang-rt-14-dev llvm clang-format
  pulseaudio pulseaudio-utils
)
# The Windows build: cross compiler and Wine to run what it makes (scripts/build-windows.sh).
if [ "${VERNALIS_WINDOWS:-}" = 1 ]; then
  PACKAGES+=(g++-mingw-w64-x86-64-posix wine wine64 zip unzip googletest)
fi
# The release: the Debian package's tools and checks (scripts/release.sh, test-release.sh).
if [ "${VERNALIS_RELEASE:-}" = 1 ]; then
  PACKAGES+=(dpkg-dev lintian man-db)
fi
# The browser build: emscripten and binaryen to compile it, Chromium and Node's puppeteer-core
# to prove it (scripts/build-web.sh, scripts/test-web.sh). A Node.js that brings its own npm
# (not Debian's) needs no npm package.
if [ "${VERNALIS_WEB:-}" = 1 ]; then
  PACKAGES+=(emscripten binaryen chromium nodejs)
  command -v npm >/dev/null || PACKAGES+=(npm)
fi

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "setup: this is not Debian (no dpkg-query/apt-get), so nothing is installed here." >&2
  echo "setup: the build needs the equivalents of: ${PACKAGES[*]}" >&2
  exit 0
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages ${missing[*]}; run this script as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser stage's Node packages, exactly as the lock file pins them; puppeteer-core drives
# the system's Chromium, so no browser is downloaded.
if [ "${VERNALIS_WEB:-}" = 1 ]; then
  web_tests=$(cd "$(dirname "$0")/../tests/web" && pwd)
  if [ ! -f "$web_tests/node_modules/.package-lock.json" ] ||
     [ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]; then
    echo "setup: installing the browser stage's Node packages (npm ci)"
    (cd "$web_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
fi
