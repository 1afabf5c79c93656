#!/usr/bin/env bash
# Fuzzes every reader of outside data: builds the libFuzzer targets with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/ (FUZZ_BUILD_DIR), then runs
# each target for SECONDS (default 60), one after the other, seeded with the generated media
# and the kept regression inputs (tests/fuzz/regress) and guided by the formats' dictionaries
# (tests/fuzz/dict). Corpora grow in build-fuzz/corpus/ from run to run. A crash, a leak, a
# hang (an input past 60 s, generous for a busy machine) or an allocation past 512 MiB leaves
# its reproducer in build-fuzz/findings/ and fails the script. Replay one with:
# build-fuzz/fuzz_TARGET FILE
#   usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: tga 3ds pack mp3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(tga 3ds pack mp3)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DVERNALIS_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
ninja -C "$build" fuzz >/dev/null

# A kept input: '#' comment lines, then hexadecimal pairs.
hex_to_bin() { printf '%b' "$(grep -v '^#' "$1" | tr -d ' \t\r\n' | sed 's/../\\x&/g')" >"$2"; }

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{tga,3ds,pack,mp3} "$seeds/packsrc" "$build/findings"
cp "$build"/assets/*.tga "$seeds/tga/"
cp "$build"/Data/* "$seeds/3ds/"
mp3=$build/assets/Zozivuv.mp3
head -c 4096 "$mp3" >"$seeds/mp3/start-4k"
head -c 16384 "$mp3" >"$seeds/mp3/start-16k"
dd if="$mp3" of="$seeds/mp3/middle-8k" bs=8192 skip=122 count=1 status=none
# Small packs in the demo's layout: a texture and the start of the soundtrack.
cp "$build/assets/Particle.tga" "$seeds/packsrc/"
head -c 6000 "$mp3" >"$seeds/packsrc/Zozivuv.mp3"
"$build/packbuild" "$seeds/pack/texture-and-sound" "$seeds/packsrc" Particle.tga Zozivuv.mp3 >/dev/null
"$build/packbuild" "$seeds/pack/texture" "$seeds/packsrc" Particle.tga >/dev/null
for kept in "$root"/tests/fuzz/regress/*.hex; do
  name=$(basename "$kept" .hex)
  hex_to_bin "$kept" "$seeds/${name%%-*}/$name"
done

# Longest input per target: whole small textures and models, packs with room for a texture.
declare -A max_len=([tga]=65536 [3ds]=32768 [pack]=65536 [mp3]=65536)
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log=$build/fuzz-$t.log
  echo "fuzz: $t for ${seconds}s"
  # Leaks are checked after every input; the GL drivers' own allocations, dropped when they
  # unload at exit, are not ours to check.
  if ! (cd "$build" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
        ASAN_OPTIONS=${ASAN_OPTIONS:-leak_check_at_exit=0} \
        "./fuzz_$t" -max_total_time="$seconds" -max_len="${max_len[$t]}" -timeout=60 \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1 \
        -dict="$root/tests/fuzz/dict/$t.dict" -artifact_prefix="$build/findings/$t-" \
        "corpus/$t" "$seeds/$t") >"$log" 2>&1; then
    failed+=("$t")
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -n 20 || true
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1 || true)
  echo "fuzz: $t: $runs inputs, ${cov:-no coverage line}, corpus $(ls "$build/corpus/$t" | wc -l) inputs"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (logs build-fuzz/fuzz-TARGET.log, reproducers in $build/findings/)" >&2
  exit 1
fi
