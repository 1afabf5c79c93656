#!/usr/bin/env bash
# The Windows build, proven under Wine: builds it (scripts/build-windows.sh), then in one fresh
# Wine prefix runs the window-free unit tests (the soundtrack's decode compared with the Linux
# decode) and the end-to-end script. No display, sound card or GPU needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${BUILD_DIR:-$root/build}
out=${WINDOWS_BUILD_DIR:-$root/build-windows}
bash "$root/scripts/build-windows.sh"
ninja -C "$host" pcm_dump

echo "=== the package"
# Only DLLs that every Windows 10/11 has: the C++ runtime and threads are linked in.
dlls=$(x86_64-w64-mingw32-objdump -p "$out/vernalis.exe" | sed -n 's/^\s*DLL Name: //p' | tr A-Z a-z | sort | tr '\n' ' ')
echo "imports: $dlls"
for dll in $dlls; do
  case $dll in
    gdi32.dll|glu32.dll|kernel32.dll|msacm32.dll|msvcrt.dll|opengl32.dll|user32.dll|winmm.dll) ;;
    *) echo "FAIL: vernalis.exe imports $dll, which Windows does not ship"; exit 1 ;;
  esac
done
# The same pack bytes as the Linux program, behind the program image.
pack="$host/vernalis.pack"
cmp <(tail -c "$(stat -c %s "$pack")" "$out/vernalis.exe") "$pack" || { echo "FAIL: pack differs"; exit 1; }
if [ -f "$host/vernalis" ]; then
  cmp <(tail -c "$(stat -c %s "$pack")" "$host/vernalis") "$pack" || { echo "FAIL: Linux pack differs"; exit 1; }
fi
listing=$(unzip -Z1 "$out/vernalis-windows.zip")
grep -qx 'vernalis.exe' <<<"$listing" || { echo "FAIL: zip lacks vernalis.exe"; exit 1; }
[ "$(grep -c '^Data/.*\.3[dD][sS]$' <<<"$listing")" = 6 ] || { echo "FAIL: zip lacks the models"; exit 1; }
echo "ok: system DLLs only, same pack, zip holds vernalis.exe and Data/"

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
echo "=== Wine prefix"
time wineboot -i >/dev/null 2>&1

echo "=== unit tests under Wine"
"$host/tests/pcm_dump" "$host/assets/Zozivuv.mp3" "$work/reference.raw"
VERNALIS_SOUNDTRACK=$(winepath -w "$host/assets/Zozivuv.mp3") \
VERNALIS_REFERENCE_PCM=$(winepath -w "$work/reference.raw") \
  wine "$out/vernalis_tests.exe" 2>&1 | grep -v '^ALSA lib'
test "${PIPESTATUS[0]}" = 0

echo "=== end to end under Wine"
bash "$root/tests/windows/e2e.sh" "$out" ${VERNALIS_WINDOWS_SHOT:+"$VERNALIS_WINDOWS_SHOT"}
