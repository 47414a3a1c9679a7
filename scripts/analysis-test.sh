#!/usr/bin/env bash
# xboard started in analysis mode on a virtual display with Zandrell as its
# engine: checks from xboard's debug file that xboard sent "analyze" and got
# Zandrell's thinking lines back, deepening, and that "." never drew an error.
#
#   scripts/analysis-test.sh [ENGINE] [SCREENSHOT.png]   (default build/zandrell)
#   ANALYSIS_SECONDS=8 how long xboard analyses before it is ended.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
engine=$(realpath "${1:-$root/build/zandrell}")
screenshot=${2:-}
seconds=${ANALYSIS_SECONDS:-8}

export PATH="$PATH:/usr/games"
"$root/scripts/install-deps.sh" match
[ -z "$screenshot" ] || "$root/scripts/install-deps.sh" screenshot
xboard=$(command -v xboard || echo /usr/games/xboard)
[ -x "$engine" ] || { echo "analysis-test: no engine at $engine" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
xboard_pid=
cleanup() {
  [ -z "$xboard_pid" ] || kill "$xboard_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/zandrell"
cp "$engine" "$work/zandrell/zandrell"
debug="$work/xboard.debug"

# A display of our own, so the screenshot shows xboard's windows.
display=
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "analysis-test: no free display" >&2; exit 2; }
Xvfb "$display" -screen 0 1100x760x24 -nolisten tcp >"$work/xvfb.out" 2>&1 &
xvfb_pid=$!
sleep 1

HOME="$work" DISPLAY="$display" "$xboard" \
  -fcp "./zandrell -xboard -log" -fd "$work/zandrell" -fn Zandrell \
  -initialMode Analysis -popupExitMessage false -saveSettingsOnExit false \
  -engineOutputW 660 -engineOutputH 480 \
  -debug -nameOfDebugFile "$debug" >"$work/xboard.out" 2>&1 &
xboard_pid=$!
sleep "$seconds"
if [ -n "$screenshot" ]; then
  DISPLAY="$display" xwd -root -silent | convert xwd:- -trim +repage "$screenshot"
  echo "analysis-test: screenshot in $screenshot"
fi
kill "$xboard_pid" 2>/dev/null || true
wait "$xboard_pid" 2>/dev/null || true
xboard_pid=

fail() { echo "analysis-test: $*" >&2; cat "$work/xboard.out" >&2; exit 1; }
[ -s "$debug" ] || fail "xboard wrote no debug file"
grep -Eq '^[0-9]+ >first : analyze$' "$debug" || fail "xboard never sent analyze"
if grep -Eq '^[0-9]+ <first : (Error|Illegal)' "$debug"; then
  grep -E '^[0-9]+ <first : (Error|Illegal)' "$debug" >&2
  fail "Zandrell answered with an error"
fi
# Thinking lines: depth score time nodes pv.
lines=$(grep -Ec '^[0-9]+ <first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ [a-h][1-8][a-h][1-8]' "$debug" || true)
deepest=$(grep -E '^[0-9]+ <first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ [a-h][1-8]' "$debug" |
  awk '{ if ($4 > d) d = $4 } END { print d + 0 }')
[ "$lines" -ge 3 ] || fail "only $lines thinking lines reached xboard"
[ "$deepest" -ge 5 ] || fail "the analysis reached depth $deepest only"
grep -E '^[0-9]+ <first : ' "$debug" | grep -E ' [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ ' | tail -3
echo "analysis-test: xboard sent analyze and received $lines thinking lines, to depth $deepest"
