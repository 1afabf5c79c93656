#!/usr/bin/env bash
# The release, proven (the last stage of .ci/run): builds it (scripts/release.sh); lintian on
# the package; installs it with apt-get; from a folder that is not the data folder, runs the
# installed demo on a virtual X server (its window, a picture 10 s in, Escape gives 27) and the
# installed vernalis-capture (its version, one still that must be the golden frame); removes
# the package and checks that nothing of it is left; then makes the release again from a clean
# clone in another folder and compares the checksums. Run as root; the package is removed
# again however the test ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
installed="" xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$installed" ] && apt-get purge -y -q -o DPkg::Lock::Timeout=600 vernalis >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() { echo "FAIL: $*"; [ -f "$work/stderr" ] && { echo "--- stderr:"; cat "$work/stderr"; }; exit 1; }
. "$root/tests/e2e/wait.sh"
commit=$(git -C "$root" rev-parse HEAD)
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  fail "uncommitted changes: the clean clone would not hold them (commit first)"
dpkg-query -W -f='${Status}' vernalis 2>/dev/null | grep -q 'ok installed' &&
  fail "vernalis is installed already: this test installs and removes it itself"

echo "=== the release"
started=$SECONDS
bash "$root/scripts/release.sh"
release_s=$((SECONDS - started))
deb=$(ls "$root"/dist/vernalis_*.deb)
version=$(dpkg-deb -f "$deb" Version)

echo "=== lintian"
lintian --display-info "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$work/lintian" || true
grep -qE '^[EW]: ' "$work/lintian" && fail "lintian reports errors or warnings"
echo "ok: no lintian errors or warnings"

echo "=== install"
paths=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's#^\./#/#; s#/$##' | grep -v '^$')
new=$(for p in $paths; do [ -e "$p" ] || [ -L "$p" ] || echo "$p"; done)
installed=1
apt-get install -y -q -o DPkg::Lock::Timeout=600 "$deb" >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt-get install"; }
[ "$(dpkg-query -W -f='${Version}' vernalis)" = "$version" ] || fail "installed version is not $version"
echo "ok: vernalis $version installed ($(dpkg-query -W -f='${Installed-Size}' vernalis) KiB)"
zgrep -qF "\"vernalis $version\"" /usr/share/man/man6/vernalis.6.gz || fail "the manual page lacks $version"
[ -f "$root/dist/vernalis-$version-windows.zip" ] || fail "no vernalis-$version-windows.zip"
# Nothing from a build's dev packages: every library the programs load comes from a runtime one.
owners=$(ldd /usr/lib/games/vernalis/vernalis /usr/lib/games/vernalis/vernalis-capture |
  awk '$2 == "=>" && $3 ~ /^\// { n = split($3, p, "/"); print "*/" p[n - 1] "/" p[n] }' |
  sort -u | xargs dpkg -S | cut -d: -f1 | sort -u)  # by name: /lib and /usr/lib are one folder
echo "libraries loaded from $(wc -w <<<"$owners") packages:" $owners
grep -q -- '-dev$' <<<"$owners" && fail "a library comes from a dev package"

echo "=== the installed demo, started from another folder"
mkdir "$work/elsewhere"
cd "$work/elsewhere"
start_xvfb 640x480x24 || fail "Xvfb did not start"
VERNALIS_MSGBOX_ANSWER=yes SDL_AUDIODRIVER=dummy /usr/games/vernalis >"$work/stdout" 2>"$work/stderr" &
demo_pid=$!
wait_window "^Aurora - Vernalis$" $demo_pid || fail "no window"
sleep 10
kill -0 $demo_pid 2>/dev/null || fail "the demo ended by itself"
ffmpeg -loglevel error -f x11grab -draw_mouse 0 -video_size 640x480 -i "$DISPLAY" -frames:v 1 \
  -f rawvideo -pix_fmt rgb24 "$work/frame.rgb" || fail "no screenshot"
# Non-zero bytes in rows [first, last) of the 640x480 RGB frame.
lit() { tail -c +$(($1 * 1920 + 1)) "$work/frame.rgb" | head -c $((($2 - $1) * 1920)) | tr -d '\000' | wc -c; }
echo "lit bytes 10 s in: top band $(lit 0 40), picture $(lit 40 440), bottom band $(lit 440 480)"
[ "$(lit 0 40)" = 0 ] && [ "$(lit 440 480)" = 0 ] || fail "the 40-row bands are not black"
[ "$(lit 40 440)" -gt 76800 ] || fail "no picture between the bands"
xdotool windowfocus --sync "$wid" >/dev/null 2>&1
xdotool keydown Escape
wait_exit $demo_pid || true  # rc is set either way
xdotool keyup Escape
[ "$rc" = 27 ] || { kill -9 $demo_pid 2>/dev/null; fail "exit code '$rc' after Escape, expected 27"; }
kill "$xvfb_pid"; xvfb_pid=""
echo "ok: window, picture, Escape (27)"

echo "=== the installed capture tool"
[ "$(/usr/games/vernalis-capture --version)" = "vernalis-capture $version" ] || fail "--version"
# A still 10 s in at 4 fps is frame 40 of the golden run, written into the current folder.
read -r _ position expected < <(awk '$1 == 40' "$root/tests/golden/run-4fps.sums")
(unset DISPLAY; /usr/games/vernalis-capture --fps 4 --from "$position" --to "$position" \
  --out still.sums >"$work/stdout" 2>"$work/stderr") || fail "vernalis-capture"
read -r _ _ got <still.sums
[ "$got" = "$expected" ] || fail "the still is $got, the golden frame is $expected"
echo "ok: vernalis-capture $version, the still 10 s in is the golden frame"
cd "$root"

echo "=== removal"
apt-get purge -y -q -o DPkg::Lock::Timeout=600 vernalis >"$work/apt" 2>&1 || { cat "$work/apt"; fail "apt-get purge"; }
installed=""
dpkg-query -W -f='${Status}' vernalis 2>/dev/null | grep -q 'ok installed' && fail "still installed"
for p in $new; do [ -e "$p" ] || [ -L "$p" ] && fail "$p left behind"; done
echo "ok: removed, none of its $(wc -w <<<"$new") new paths left"

echo "=== the release again, from a clean clone in another folder"
git clone -q --no-local "$root" "$work/clone"
git -C "$work/clone" checkout -q "$commit"
(cd "$work/clone" && bash scripts/release.sh >"$work/second.log" 2>&1) || { tail -n 30 "$work/second.log"; fail "second release"; }
echo "file, then its SHA-256 here and in the clone:"
join -j 2 <(sort -k 2 "$root/dist/SHA256SUMS") <(sort -k 2 "$work/clone/dist/SHA256SUMS") | sed 's/^/  /'
cmp -s "$root/dist/SHA256SUMS" "$work/clone/dist/SHA256SUMS" || fail "the two releases differ"
echo "ok: the same bytes from $root and $work/clone"
echo "release.sh took ${release_s} s here, $(sed -n 's/^release: //p' "$work/second.log") from nothing in the clone"
