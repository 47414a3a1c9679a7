#!/usr/bin/env bash
# The Windows zip as a user meets it: it holds the engine, Quiretto, the settings,
# the book and its flag file, README.txt and LICENSE, with Quiretto.exe a window
# program; unpacked into a folder whose
# name holds a blank and run under wine from another folder, the engine plays a book
# move and writes zandrell.log beside itself; ZandrellUCI.exe, started without
# arguments as UCI interfaces start it, plays a book move too and logs there as well.
#
#   scripts/windows-package-test.sh [BUILD]   (default build-windows; the zip from
#                                               `make windows-package`)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build-windows}")
zip=$(ls -t "$build"/Zandrell-*-windows.zip 2>/dev/null | head -n 1 || true)
[ -n "$zip" ] || { echo "windows-package-test: no zip in $build (make windows-package)" >&2; exit 2; }
wine=$(ls /usr/lib/wine/wine64 2>/dev/null || command -v wine64 || command -v wine || true)
[ -n "$wine" ] || { echo "windows-package-test: wine is missing" >&2; exit 2; }
echo "windows-package-test: $zip"

fail() { echo "windows-package-test: FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
prefix="$work/wineprefix"
server="$(dirname "$wine")/wineserver"
[ -x "$server" ] || server=wineserver
cleanup() {
  WINEPREFIX="$prefix" "$server" -k </dev/null >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

folder="$work/Zandrell chess"
mkdir -p "$folder" "$work/elsewhere"
unzip -q "$zip" -d "$work/unpacked"
top=$(find "$work/unpacked" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[ -n "$top" ] || fail "the zip has no top folder"
for name in Zandrell.exe ZandrellUCI.exe Quiretto.exe Zandrell.ini book.txt book.opi README.txt LICENSE; do
  [ -f "$top/$name" ] || fail "the zip has no $name"
done
cp -a "$top/." "$folder/"

# A double-click on Quiretto.exe opens its window without a console: the PE
# header's subsystem says "Windows GUI" (2). The window itself is tested by ctest
# (Win32QuirettoWindow.OpensWithTheShippedBook).
subsystem=$(python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read()
header = struct.unpack_from("<I", data, 0x3c)[0]
print(struct.unpack_from("<H", data, header + 0x5c)[0])' "$folder/Quiretto.exe")
[ "$subsystem" = 2 ] || fail "Quiretto.exe is not a window program (subsystem $subsystem)"

# "quit" goes only after the move: a chunk holding both would end the engine before
# its turn (and a fresh wine prefix takes a while to start).
mkfifo "$work/input"
(cd "$work/elsewhere" && exec timeout 300 sh "$root/cmake/wine-run.sh" "$wine" "$prefix" \
  "$folder/Zandrell.exe" -xboard -log <"$work/input" >"$work/output" 2>&1) &
engine=$!
exec 3>"$work/input"
printf 'xboard\nnew\npost\ngo\n' >&3
for _ in $(seq 1 240); do
  tr -d '\r' <"$work/output" | grep -q '^move ' && break
  sleep 1
done
printf 'quit\n' >&3
exec 3>&-
wait "$engine" || true
out=$(tr -d '\r' <"$work/output")
echo "$out" | sed 's/^/  engine: /'
echo "$out" | grep -q '^0 0 0 0 (Book Move)$' || fail "no book move announced"
echo "$out" | grep -Eq '^move (e2e4|d2d4|c2c4|g1f3)$' || fail "no book move played"
[ -f "$folder/zandrell.log" ] || fail "no zandrell.log beside Zandrell.exe"
grep -q "New Game" "$folder/zandrell.log" || fail "the log has no game"
grep -q "Program terminated." "$folder/zandrell.log" || fail "the engine did not end through quit"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the engine wrote into the folder it ran from"

# --- the UCI program, without arguments ---
mkfifo "$work/uci-input"
(cd "$work/elsewhere" && exec timeout 300 sh "$root/cmake/wine-run.sh" "$wine" "$prefix" \
  "$folder/ZandrellUCI.exe" <"$work/uci-input" >"$work/uci-output" 2>&1) &
engine=$!
exec 3>"$work/uci-input"
printf 'uci\nsetoption name Log value true\nucinewgame\nposition startpos\ngo movetime 500\n' >&3
for _ in $(seq 1 240); do
  tr -d '\r' <"$work/uci-output" | grep -q '^bestmove ' && break
  sleep 1
done
printf 'quit\n' >&3
exec 3>&-
wait "$engine" || true
out=$(tr -d '\r' <"$work/uci-output")
echo "$out" | sed 's/^/  uci: /'
echo "$out" | grep -q '^uciok$' || fail "ZandrellUCI.exe did not answer uci"
echo "$out" | grep -q '^info string book move$' || fail "ZandrellUCI.exe announced no book move"
echo "$out" | grep -Eq '^bestmove (e2e4|d2d4|c2c4|g1f3)$' || fail "ZandrellUCI.exe played no book move"
[ "$(grep -c "Program terminated." "$folder/zandrell.log")" -ge 2 ] \
  || fail "ZandrellUCI.exe did not log in zandrell.log"
[ ! -e "$folder/zandrelluci.log" ] || fail "ZandrellUCI.exe kept a log of its own"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "ZandrellUCI.exe wrote into the folder it ran from"
echo "windows-package-test: passed"
