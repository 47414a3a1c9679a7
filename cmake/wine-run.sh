#!/bin/sh
# Runs one Windows program of the build under wine, for ctest and test discovery:
# in the build tree's own prefix, quiet, and headless (ZANDRELL_HEADLESS=1 turns
# message boxes into lines on standard error).
# Usage: wine-run.sh WINE PREFIX PROGRAM [ARGUMENT...]
wine=$1
export WINEPREFIX="$2"
shift 2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" ZANDRELL_HEADLESS=1
server="$(dirname "$wine")/wineserver"
[ -x "$server" ] || server=wineserver

# One caller at a time creates the prefix and starts the server.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
fi
# Start the server and wine's own services with their output detached: a service
# that inherited ours would hold the caller's pipe open long after the program
# ended, and test discovery would wait for it until its timeout.
if "$server" -p 60 </dev/null >/dev/null 2>&1; then
  "$wine" wineboot </dev/null >/dev/null 2>&1
fi
flock -u 9
exec 9>&-

"$wine" "$@"
rc=$?
# Wine itself now and then fails to start a program on a loaded machine, silently
# and within milliseconds; say so, so that such a failure is told from a test's.
[ "$rc" -eq 0 ] || echo "wine-run: $* ended with exit code $rc" >&2
exit "$rc"
