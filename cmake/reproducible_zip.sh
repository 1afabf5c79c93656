#!/bin/sh
# reproducible_zip.sh ZIP FILE...: zips the FILEs (paths relative to the current folder) in the
# order given, the same bytes from any checkout: every entry dated SOURCE_DATE_EPOCH (now when
# unset), programs 755 and the rest 644, no owner or access times stored. ZIP appears only
# when complete.
set -eu
case $1 in /*) zip=$1 ;; *) zip=$PWD/$1 ;; esac
shift
partial=$zip.part.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage" "$partial"' EXIT
trap 'exit 1' INT TERM
for file in "$@"; do
  mkdir -p "$stage/$(dirname "$file")"
  cp "$file" "$stage/$file"
  case $file in *.exe) chmod 755 "$stage/$file" ;; *) chmod 644 "$stage/$file" ;; esac
  touch -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}" "$stage/$file"
done
rm -f "$partial"
(cd "$stage" && TZ=UTC zip -X -D -q -9 "$partial" "$@")
mv "$partial" "$zip"
