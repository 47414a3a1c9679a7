#!/usr/bin/env bash
# Fails when a name in src, tests or tools breaks the naming rules in .clang-tidy
# (fields PascalCase, locals camelCase, constants and enumerators kPascalCase, ...);
# prints the places. Reads the compile commands of a configured build:
#   scripts/check-names.sh [build [build-windows]]
# The Windows-only files are checked when the mingw build folder has been configured.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
WINDOWS_BUILD=${2:-build-windows}
CLANG_TIDY=${CLANG_TIDY:-clang-tidy}
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}
if ! command -v "$CLANG_TIDY" >/dev/null; then
  echo "check-names: $CLANG_TIDY is not installed (apt-get install clang-tidy)" >&2
  exit 2
fi
if [ ! -f "$BUILD/compile_commands.json" ]; then
  echo "check-names: no $BUILD/compile_commands.json; configure the build first (make build)" >&2
  exit 2
fi

report=$(mktemp)
trap 'rm -f "$report"' EXIT
# gcc-only warning switches in the compile commands are no concern of clang's.
common=(--quiet --extra-arg=-Wno-unknown-warning-option)

git ls-files 'src/*.cpp' 'tests/*.cpp' 'tools/*.cpp' | grep -v -e '/win32/' -e 'win32_' |
  xargs -P "$JOBS" -n 8 "$CLANG_TIDY" -p "$BUILD" "${common[@]}" >>"$report" 2>/dev/null || true

if [ -f "$WINDOWS_BUILD/compile_commands.json" ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  # clang parses the mingw build's files with the mingw compiler's own headers.
  windows=(--extra-arg=--target=x86_64-w64-mingw32)
  while read -r folder; do
    windows+=("--extra-arg=-isystem$folder")
  done < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
    sed -n '/#include <...> search starts here/,/End of search/p' | grep '^ /' |
    grep -v -e 'include-fixed' -e '/include$' | sed 's/^ //')
  git ls-files 'src/*/win32/*.cpp' 'tests/*win32_*.cpp' |
    xargs -n 8 "$CLANG_TIDY" -p "$WINDOWS_BUILD" "${common[@]}" "${windows[@]}" >>"$report" 2>/dev/null || true
fi

# clang's own names for unnamed template parameters are not ours.
problems=$(grep -E 'warning: invalid case style|error:' "$report" | grep -v "'expr-type'" | sort -u || true)
if [ -n "$problems" ]; then
  echo "$problems"
  echo "check-names: $(echo "$problems" | wc -l) names break the rules in .clang-tidy" >&2
  exit 1
fi
echo "check-names: every name follows .clang-tidy"
