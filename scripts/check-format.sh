#!/usr/bin/env bash
# Fails when a C++ file under src, tests or tools differs from the house style in
# .clang-format; prints the places. `scripts/check-format.sh --fix` rewrites them.
#   CLANG_FORMAT=clang-format-14 scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if ! command -v "$CLANG_FORMAT" >/dev/null; then
  echo "check-format: $CLANG_FORMAT is not installed (apt-get install clang-format)" >&2
  exit 2
fi
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h')
if [ "${1:-}" = "--fix" ]; then
  "$CLANG_FORMAT" -i --style=file "${files[@]}"
  exit 0
fi
"$CLANG_FORMAT" --dry-run -Werror --style=file "${files[@]}"
