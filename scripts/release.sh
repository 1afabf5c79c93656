#!/usr/bin/env bash
# Makes the release in dist/: the Debian package vernalis_VERSION_ARCH.deb, the Windows zip,
# the web zip once the web build exists, and SHA256SUMS of them all. The version is the CMake
# project's; every date inside is the last commit's (SOURCE_DATE_EPOCH), so two clean checkouts
# of one commit, in any folders, give the same bytes. Builds into build-release/ and
# build-release-windows/ (RELEASE_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RELEASE_BUILD_DIR:-$root/build-release}
started=$SECONDS
VERNALIS_RELEASE=1 "$root/scripts/setup.sh"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
    { echo "release: no git history to date the release by: set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
export TZ=UTC LC_ALL=C
umask 022

echo "=== the Linux programs"
cmake -S "$root" -B "$build" -G Ninja -DBUILD_TESTING=OFF -DVERNALIS_RELEASE=ON --log-level=WARNING
ninja -C "$build" vernalis vernalis-capture icon
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)

echo "=== the Windows program"
rm -f "$build-windows/vernalis-windows.zip"  # zipped again: its entries carry this commit's date
BUILD_DIR=$build WINDOWS_BUILD_DIR=$build-windows bash "$root/scripts/build-windows.sh" \
  -DVERNALIS_RELEASE=ON -DVERNALIS_WINDOWS_TESTS=OFF
if [ -f "$root/scripts/build-web.sh" ]; then
  echo "=== the web build"
  rm -f "$root/build-web/vernalis-web.zip"  # zipped again, as the Windows zip is
  bash "$root/scripts/build-web.sh"
fi

# dist/ appears only when complete.
partial=$(mktemp -d "$root/dist.partial.XXXXXX")
trap 'rm -rf "$partial"' EXIT
trap 'exit 1' INT TERM
stage=$partial/deb
deb=vernalis_${version}_$arch.deb
bash "$root/packaging/stage-deb.sh" "$build" "$stage" "$version"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$partial/$deb" >/dev/null
rm -rf "$stage"
cp "$build-windows/vernalis-windows.zip" "$partial/vernalis-$version-windows.zip"
web=$root/build-web/vernalis-web.zip
[ -f "$web" ] && cp "$web" "$partial/vernalis-$version-web.zip"
(cd "$partial" && sha256sum -- * >SHA256SUMS)
chmod 755 "$partial"
rm -rf "$root/dist"
mv "$partial" "$root/dist"
echo "=== dist/ (version $version, dated $(date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'))"
ls -l "$root/dist" | tail -n +2
echo "release: $((SECONDS - started)) s"
