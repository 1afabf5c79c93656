#!/usr/bin/env bash
# Formats every C++ source git tracks with clang-format in the style of .clang-format.
#   bash scripts/format.sh           rewrites the files that differ from the style
#   bash scripts/format.sh --check   changes nothing: lists each file that differs with how many
#                                    of its lines formatting would rewrite; exit 1 if any does
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: bash scripts/format.sh [--check]" >&2; exit 2 ;;
esac
if ! command -v clang-format >/dev/null; then
  echo "format: clang-format is missing (scripts/setup.sh installs it)" >&2
  exit 2
fi

formatted=$(mktemp)
trap 'rm -f "$formatted"' EXIT
files=0 differ=0 lines=0
while IFS= read -r -d '' f; do
  files=$((files + 1))
  clang-format --style=file "$f" >"$formatted"
  cmp -s "$f" "$formatted" && continue
  n=$(diff "$f" "$formatted" | grep -c '^<' || true)
  differ=$((differ + 1)) lines=$((lines + n))
  if [ $check = 1 ]; then
    echo "$f: $n lines"
  else
    cat "$formatted" >"$f"
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c')

if [ $check = 1 ]; then
  echo "format: $differ of $files files differ from the style ($lines lines to rewrite)"
  [ $differ = 0 ]
else
  echo "format: $differ of $files files formatted ($lines lines rewritten)"
fi
