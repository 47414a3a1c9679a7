#!/bin/sh
# Times Quiretto's import of 50,000 random legal games and the engine's start-up
# with a book of 100,000 lines, against the start-up without a book. Uses
# hyperfine when it is installed, else the shell's time.
#   tools/quiretto-bench.sh [BUILD]      (BUILD defaults to build)
set -eu
build=${1:-build}
cmake --build "$build" -j2 --target quiretto zandrell zandrell-randomgames >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "generating 50,000 random legal games of 40 plies and 100,000 of 20 plies..."
"$build/zandrell-randomgames" 50000 40 1 >"$work/games50k.pgn"
"$build/zandrell-randomgames" 100000 20 2 >"$work/games100k.pgn"
ls -l "$work"/*.pgn | awk '{print "  " $5 " bytes  " $NF}'

"$build/quiretto" import "$work/games100k.pgn" -o "$work/big.txt" --plies 20 | tail -2
"$build/quiretto" check "$work/big.txt" | tail -1
cp "$build/zandrell" "$work/zandrell"
mkdir "$work/nobook" && cp "$build/zandrell" "$work/nobook/zandrell"
printf '[Engine]\r\nOpeningBook=big.txt\r\n' >"$work/Zandrell.ini"
printf '[Engine]\r\nOpeningBook=\r\n' >"$work/nobook/Zandrell.ini"

import="$build/quiretto import $work/games50k.pgn -o $work/imported.txt"
start="sh -c 'printf \"quit\\n\" | $work/zandrell -xboard'"
bare="sh -c 'printf \"quit\\n\" | $work/nobook/zandrell -xboard'"
if command -v hyperfine >/dev/null 2>&1; then
  hyperfine --warmup 1 --runs 5 -N "$import"
  hyperfine --warmup 1 --runs 10 "$start" "$bare"
else
  echo "import of 50,000 games:"; time sh -c "$import >/dev/null"
  echo "start-up with 100,000 lines:"; time sh -c "$start"
  echo "start-up without a book:"; time sh -c "$bare"
fi
