#!/bin/bash
# The Windows launcher window under wine on a virtual display: Zandrell.exe started
# without arguments opens a window captioned "Zandrell   ver. ...", and a click on
# its "Quit" command ends the process with exit code 0.
#
# Usage: wine-launcher-window-test.sh WINE PREFIX ZANDRELL_EXE [VERSION]
#   PREFIX is a wine prefix used by this test alone: its desktop must draw on our
#   virtual display, and a prefix shared with the headless tests would already
#   have a desktop without one. VERSION (major.minor.revision), when given, makes
#   the caption be checked exactly.
# Exits 77 (skipped) when xvfb-run, xdotool or wine is missing.
set -u
readonly SKIP=77

wine=$1 prefix=$2 exe=$3 version=${4:-}

if [ -z "${ZANDRELL_ON_VIRTUAL_DISPLAY:-}" ]; then
  for tool in xvfb-run xdotool flock; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit $SKIP; }
  done
  [ -x "$wine" ] || { echo "skipped: no wine at '$wine'"; exit $SKIP; }
  [ -f "$exe" ] || { echo "no program at '$exe'"; exit 1; }
  # A display of our own (xvfb-run -a picks a free number), without a window manager.
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
  # Only this test's prefix: its server and every wine process in it.
  "$server" -k </dev/null >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

# A server left over from an interrupted run would keep the desktop of a display
# that is gone.
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

# The program runs from a folder of its own, so nothing it might write lands in the
# build tree.
cp "$exe" "$work/Zandrell.exe"
cd "$work" || exit 1
"$wine" "$work/Zandrell.exe" </dev/null >"$work/out.txt" 2>&1 &
pid=$!

wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zandrell ' 2>/dev/null | head -n 1)
if [ -z "$wid" ]; then
  echo "FAIL: no window named 'Zandrell ...' appeared"
  cat "$work/out.txt"
  exit 1
fi
name=$(xdotool getwindowname "$wid")
echo "caption: $name"
case "$name" in
  "Zandrell   ver. "[0-9]*.[0-9][0-9]*.[0-9][0-9][0-9][0-9]*) ;;
  *) echo "FAIL: caption is not 'Zandrell   ver. M.mm.rrrr'"; exit 1 ;;
esac
if [ -n "$version" ]; then
  IFS=. read -r major minor revision <<<"$version"
  caption=$(printf 'Zandrell   ver. %d.%02d.%04d' "$major" "$minor" "$revision")
fi
if [ -n "${caption:-}" ] && [ "$name" != "$caption" ]; then
  echo "FAIL: expected caption '$caption'"
  exit 1
fi

# The client area is 5100 x 3285 twips, 340 x 219 pixels at wine's 96 dots per inch;
# whatever the X window has beyond that is a frame wine drew itself (none with
# wine 8 and no window manager: the X window is the client area alone).
eval "$(xdotool getwindowgeometry --shell "$wid")"
border=$(( (WIDTH - 340) / 2 ))
top=$(( HEIGHT - 219 - border ))
# "Quit" lies at 210, 2835 twips (14, 189 pixels), 1275 x 300 twips (85 x 20 pixels).
x=$(( border + 14 + 10 )) y=$(( top + 189 + 10 ))
echo "window ${WIDTH}x${HEIGHT}, clicking at $x,$y"
# A click that reaches the window before wine takes input for it is lost: up to
# three clicks, each given 5 s to end the program.
for attempt in 1 2 3; do
  xdotool mousemove --window "$wid" "$x" "$y" sleep 0.2 click 1 2>/dev/null
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break 2
    sleep 0.1
  done
  echo "still running after click $attempt"
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: the program was still running 15 s after the first click on Quit"
  exit 1
fi
wait "$pid"
code=$?
pid=
echo "exit code: $code"
[ "$code" -eq 0 ] || { cat "$work/out.txt"; exit 1; }
echo "PASS"
