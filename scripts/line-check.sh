#!/usr/bin/env bash
# Zandrell plays itself through pipes from drawn openings with the shipped
# settings, and chess.js (npm, kept in BUILD/line-check) replays every line it
# sends: UCI with the shipped hash table and with Hash=0, and xboard analysis.
#
#   scripts/line-check.sh [BUILD]        (default build; the engine from BUILD/dist)
#   LINE_CHECK_OPENINGS=file.epd         (default ../shared/openings/8moves_v3.epd
#                                         beside the clone)
#   LINE_CHECK_LEGS="uci:-:12:40:140:7000 ..." (see scripts/line-check.cjs)
#   LINE_CHECK_LEAST_HASH_LINES=10000    (fewer lines with the hash table fail)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
openings=${LINE_CHECK_OPENINGS:-$root/../shared/openings/8moves_v3.epd}
legs=${LINE_CHECK_LEGS:-uci:-:12:40:140:7000 uci:0:4:40:120 analysis:4:120:60:3500}
export LINE_CHECK_LEAST_HASH_LINES=${LINE_CHECK_LEAST_HASH_LINES:-10000}

[ -x "$build/dist/zandrell-uci" ] || { echo "line-check: no engine in $build/dist" >&2; exit 2; }
[ -f "$openings" ] || { echo "line-check: no openings at $openings" >&2; exit 2; }
"$root/scripts/install-deps.sh" linecheck

# chess.js once per build folder; the engine from a copy of the shipped folder,
# so its log and settings stay out of build/dist.
cache="$build/line-check"
if [ ! -f "$cache/node_modules/chess.js/package.json" ]; then
  mkdir -p "$cache"
  echo "line-check: installing chess.js into $cache"
  npm install --prefix "$cache" --no-audit --no-fund --silent chess.js@1 >/dev/null
fi
rm -rf "$cache/engine"
cp -r "$build/dist" "$cache/engine"

# shellcheck disable=SC2086 # one argument per leg
node "$root/scripts/line-check.cjs" "$cache" "$cache/engine" "$openings" $legs
