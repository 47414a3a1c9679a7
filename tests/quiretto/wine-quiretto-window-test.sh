#!/bin/bash
# Quiretto's Windows window under wine on a virtual display: Quiretto.exe started
# without arguments, as a double-click starts it, beside Zandrell.ini and the
# shipped book, opens a window captioned "Quiretto - book.txt"; started with a
# command it still answers on its standard output.
#
# Usage: wine-quiretto-window-test.sh WINE PREFIX QUIRETTO_EXE DIST_FOLDER
#   PREFIX is a wine prefix used by this test alone (its desktop must draw on our
#   virtual display); DIST_FOLDER holds Zandrell.ini, book.txt and book.opi.
# Exits 77 (skipped) when xvfb-run, xdotool or wine is missing.
set -u
readonly SKIP=77

wine=$1 prefix=$2 exe=$3 dist=$4

if [ -z "${ZANDRELL_ON_VIRTUAL_DISPLAY:-}" ]; then
  for tool in xvfb-run xdotool flock; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit $SKIP; }
  done
  [ -x "$wine" ] || { echo "skipped: no wine at '$wine'"; exit $SKIP; }
  [ -f "$exe" ] || { echo "no program at '$exe'"; exit 1; }
  export ZANDRELL_ON_VIRTUAL_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@" </dev/null
fi

# --- on the virtual display ---
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset ZANDRELL_HEADLESS  # the program must see a desktop to open its window
server="$(dirname "$wine")/wineserver"
[ -x "$server" ] || server=wineserver

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  "$server" -k </dev/null >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

"$server" -k </dev/null >/dev/null 2>&1
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
fi
"$server" -p 10 </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1
flock -u 9
exec 9>&-

cp "$exe" "$work/Quiretto.exe"
cp "$dist/Zandrell.ini" "$dist/book.txt" "$dist/book.opi" "$work/"
cd "$work" || exit 1

# A command still answers where it was asked.
"$wine" "$work/Quiretto.exe" check book.txt </dev/null >"$work/check.txt" 2>&1
if ! grep -q " lines, 0 errors" "$work/check.txt"; then
  echo "FAIL: Quiretto.exe check book.txt did not report on its output"
  cat "$work/check.txt"
  exit 1
fi

"$wine" "$work/Quiretto.exe" </dev/null >"$work/out.txt" 2>&1 &
pid=$!
wid=$(timeout 40 xdotool search --sync --onlyvisible --name '^Quiretto - ' 2>/dev/null | head -n 1)
if [ -z "$wid" ]; then
  echo "FAIL: no window named 'Quiretto - ...' appeared"
  cat "$work/out.txt"
  exit 1
fi
name=$(xdotool getwindowname "$wid")
echo "caption: $name"
[ "$name" = "Quiretto - book.txt" ] || { echo "FAIL: expected 'Quiretto - book.txt'"; exit 1; }
kill -0 "$pid" 2>/dev/null || { echo "FAIL: Quiretto ended with its window open"; exit 1; }
echo "PASS"
