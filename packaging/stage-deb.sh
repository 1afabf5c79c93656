#!/usr/bin/env bash
# stage-deb.sh BUILD STAGE VERSION: lays out the Debian package's tree in STAGE from a release
# build (scripts/release.sh), control file included, ready for dpkg-deb. The demo and its tool
# live in /usr/lib/games/vernalis beside Data/, which links to the models in /usr/share; the
# launcher in /usr/games starts the demo there. Dates come from SOURCE_DATE_EPOCH.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 stage=$2 version=$3
lib=$stage/usr/lib/games/vernalis share=$stage/usr/share
install -d "$stage/DEBIAN" "$stage/usr/games" "$lib" "$share/games/vernalis/Data" "$share/applications" \
  "$share/icons/hicolor/scalable/apps" "$share/man/man6" "$share/doc/vernalis"

install -m 755 "$build/vernalis" "$build/vernalis-capture" "$lib/"
ln -s ../../../share/games/vernalis/Data "$lib/Data"
install -m 644 "$build"/Data/* "$share/games/vernalis/Data/"
install -m 755 "$here/vernalis.sh" "$stage/usr/games/vernalis"
# The tool finds the demo and Data/ beside its own resolved path.
ln -s ../lib/games/vernalis/vernalis-capture "$stage/usr/games/vernalis-capture"

install -m 644 "$here/vernalis.desktop" "$share/applications/"
install -m 644 "$build/vernalis.svg" "$share/icons/hicolor/scalable/apps/"
day=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$day/g" "$here/vernalis.6" | gzip -9n >"$share/man/man6/vernalis.6.gz"
ln -s vernalis.6.gz "$share/man/man6/vernalis-capture.6.gz"
install -m 644 "$here/copyright" "$share/doc/vernalis/"
maintainer=$(sed -n 's/^Maintainer: //p' "$here/control")
printf 'vernalis (%s) stable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' "$version" "$version" \
  "$maintainer" "$(date -u -R -d "@$SOURCE_DATE_EPOCH")" | gzip -9n >"$share/doc/vernalis/changelog.gz"
chmod 644 "$share/man/man6/vernalis.6.gz" "$share/doc/vernalis/changelog.gz"

# Depends: the libraries the programs link, from the packages that ship them, and the two SDL
# opens at run time: libGL for the demo's window, libEGL for the capture tool's offscreen one.
shlibs=$(mktemp -d)
trap 'rm -rf "$shlibs"' EXIT
trap 'exit 1' INT TERM
mkdir "$shlibs/debian"
printf 'Source: vernalis\n\nPackage: vernalis\nArchitecture: any\n' >"$shlibs/debian/control"
depends=$(cd "$shlibs" && dpkg-shlibdeps -O "$lib/vernalis" "$lib/vernalis-capture" | sed -n 's/^shlibs:Depends=//p')
depends="$depends, libgl1, libegl1"
# Installed-Size as dpkg counts it: KiB per file rounded up, one per folder or link.
size=$(cd "$stage" && find usr -printf '%y %s\n' | awk '{ n += $1 == "f" ? int(($2 + 1023) / 1024) : 1 } END { print n }')
(cd "$stage" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$(dpkg --print-architecture)/" -e "s/@SIZE@/$size/" \
  -e "s/@DEPENDS@/$depends/" "$here/control" >"$stage/DEBIAN/control"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
