#!/bin/bash
# Quiretto's Windows window under wine on a virtual display: Quiretto.exe started
# without arguments, as a double-click starts it, beside Zandrell.ini and the
# shipped book, opens a window captioned "Quiretto - book.txt", where a click on
# a move and one on its mark change the book; started with a command it still
# answers on its standard output.
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

# The client area is 780 x 580 pixels; whatever the X window has beyond that is a
# frame wine drew itself (none with wine 8 and no window manager).
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 780) / 2 ))
top=$(( HEIGHT - 580 - border ))
# The first move of the tree (its top row at 8, 42), then the mark's check box
# (396, 344): the book has a change, and the caption says so.
for attempt in 1 2 3; do
  xdotool mousemove --window "$wid" $(( border + 40 )) $(( top + 50 )) sleep 0.3 click 1 \
    sleep 0.5 mousemove --window "$wid" $(( border + 404 )) $(( top + 356 )) sleep 0.3 click 1 \
    2>/dev/null
  for _ in $(seq 30); do
    name=$(xdotool getwindowname "$wid")
    [ "$name" = "Quiretto - book.txt *" ] && break 2
    sleep 0.1
  done
  echo "caption still '$name' after click $attempt"
done
echo "caption: $name"
[ "$name" = "Quiretto - book.txt *" ] || { echo "FAIL: a click on the mark changed nothing"; exit 1; }
echo "PASS"
