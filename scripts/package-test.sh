#!/usr/bin/env bash
# The Debian package as a user meets it (run as root, on a machine where it may be
# installed and removed): lintian finds no error; dpkg -i installs it; an ordinary
# user runs the installed engine from a folder of their own, gets a book move, finds
# the log in their state folder, and nothing is written under /usr; xboard on a
# virtual display starts "zandrell -xboard" from PATH and plays a game to its end,
# and plays one against it with zandrell-uci through the polyglot adapter;
# dpkg -r removes every file again.
#
#   scripts/package-test.sh [BUILD]      (default build; the .deb from `make package`)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")
[ "$(id -u)" -eq 0 ] || { echo "package-test: must run as root (dpkg -i, useradd)" >&2; exit 2; }
"$root/scripts/install-deps.sh" package

deb=$(ls -t "$build"/zandrell_*.deb 2>/dev/null | head -n 1 || true)
[ -n "$deb" ] || { echo "package-test: no package in $build (make package)" >&2; exit 2; }
echo "package-test: $deb"

fail() { echo "package-test: FAIL: $*" >&2; exit 1; }

# --- lintian: no errors (warnings are printed) ---
lintian --fail-on error "$deb" || fail "lintian reports errors"

# A copy left installed by an earlier run goes first, so this one starts clean.
if dpkg -s zandrell >/dev/null 2>&1; then
  echo "package-test: removing the zandrell package installed before"
  dpkg -r zandrell >/dev/null
fi

user=zandrell-package-test
work=$(mktemp -d)
created_user=
cleanup() {
  dpkg -s zandrell >/dev/null 2>&1 && dpkg -r zandrell >/dev/null 2>&1 || true
  [ -n "$created_user" ] && userdel -r "$user" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

dpkg -i "$deb" || { apt-get install -f -y -qq; dpkg -s zandrell >/dev/null 2>&1; } \
  || fail "dpkg -i"
dpkg -L zandrell | sort >"$work/files"
for expected in /usr/games/zandrell /usr/games/zandrell-uci \
  /usr/share/man/man6/zandrell-uci.6.gz /usr/share/games/zandrell/Zandrell.ini \
  /usr/share/games/plugins/xboard/zandrell.eng /usr/share/games/plugins/logos/zandrell.png \
  /usr/share/applications/zandrell.desktop /usr/share/applications/quiretto.desktop \
  /usr/share/icons/hicolor/48x48/apps/quiretto.png /usr/share/man/man6/zandrell.6.gz \
  /usr/share/doc/zandrell/copyright; do
  grep -qx "$expected" "$work/files" || fail "the package has no $expected"
done

if ! id "$user" >/dev/null 2>&1; then
  useradd --create-home --shell /bin/bash "$user"
  created_user=1
fi
home=$(getent passwd "$user" | cut -d: -f6)
as_user() {  # a login-like environment: the user's home and Debian's user PATH
  runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" LANG=C.UTF-8 \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/games "$@"
}
rm -rf "$home/.config/zandrell" "$home/.local/state/zandrell"
touch "$work/marker"
sleep 1

# --- the engine from another folder: new, go gives a book move ---
as_user mkdir -p "$home/elsewhere"
# "quit" goes only after the move: a chunk holding both would end the engine first.
out=$(as_user bash -c 'cd ~/elsewhere && coproc engine { timeout 60 zandrell -xboard -log 2>&1; }
  to=${engine[1]} from=${engine[0]}  # bash clears the array when the engine ends
  printf "xboard\nnew\npost\ngo\n" >&"$to"
  while IFS= read -r -t 60 line <&"$from"; do
    printf "%s\n" "$line"
    case $line in "move "*) break ;; esac
  done
  printf "quit\n" >&"$to"
  cat <&"$from"
  wait')
echo "$out" | sed 's/^/  engine: /'
echo "$out" | grep -q '^0 0 0 0 (Book Move)$' || fail "no book move announced"
echo "$out" | grep -Eq '^move (e2e4|d2d4|c2c4|g1f3)$' || fail "no book move played"
log="$home/.local/state/zandrell/zandrell.log"
[ -f "$log" ] || fail "no log in $log"
grep -q "New Game" "$log" || fail "the log has no game"
grep -q "Program terminated." "$log" || fail "the engine did not end through quit"
[ "$(stat -c %U "$log")" = "$user" ] || fail "the log does not belong to $user"
[ -z "$(ls -A "$home/elsewhere")" ] || fail "the engine wrote into the folder it ran from"
written=$(find /usr/games /usr/share/games /usr/share/doc/zandrell -newer "$work/marker" 2>/dev/null)
[ -z "$written" ] || fail "written under /usr: $written"

# --- xboard on a virtual display plays a game with the engine from PATH ---
pgn="$home/game.pgn"
rm -f "$pgn"
as_user bash -c "cd ~/elsewhere && timeout 600 xvfb-run -a xboard \
  -fcp 'zandrell -xboard' -fn Zandrell -scp 'zandrell -xboard' -sn Zandrell2 \
  -firstProtocolVersion 1 -secondProtocolVersion 1 \
  -matchMode true -matchGames 1 -tc 0:20 -inc 0 -searchDepth 2 \
  -autoCallFlag true -testClaims true -adjudicateDrawMoves 150 -ponderNextMove false \
  -popupExitMessage false -saveSettingsOnExit false -saveGameFile '$pgn'" \
  >"$work/xboard.out" 2>&1 || true
[ -s "$pgn" ] || { cat "$work/xboard.out" >&2; fail "xboard saved no game"; }
grep -E '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$pgn" || { cat "$pgn" >&2; fail "the game has no result"; }
grep -q 'Zandrell' "$pgn" || fail "Zandrell did not play"
sed 's/^/  xboard: /' "$pgn"

# --- the UCI program through polyglot, as a UCI-only engine meets xboard ---
pgn="$home/uci-game.pgn"
rm -f "$pgn"
sessions=$(grep -c "Program terminated." "$log" || true)
as_user bash -c "cd ~/elsewhere && timeout 600 xvfb-run -a xboard \
  -fcp 'polyglot -noini -ec zandrell-uci -uci Log=true' -fn ZandrellUCI \
  -scp 'zandrell -xboard' -sn Zandrell -secondProtocolVersion 1 \
  -matchMode true -matchGames 1 -tc 0:20 -inc 0 -searchDepth 2 \
  -autoCallFlag true -testClaims true -adjudicateDrawMoves 150 -ponderNextMove false \
  -popupExitMessage false -saveSettingsOnExit false -saveGameFile '$pgn'" \
  >"$work/xboard-uci.out" 2>&1 || true
[ -s "$pgn" ] || { cat "$work/xboard-uci.out" >&2; fail "xboard saved no game of zandrell-uci"; }
grep -E '^\[Result "(1-0|0-1|1/2-1/2)"\]' "$pgn" || { cat "$pgn" >&2; fail "the UCI game has no result"; }
grep -q 'ZandrellUCI' "$pgn" || fail "zandrell-uci did not play"
grep -q 'Forfeit due to invalid move' "$pgn" && fail "zandrell-uci played an invalid move"
sed 's/^/  xboard+polyglot: /' "$pgn"
[ "$(grep -c "Program terminated." "$log")" -gt "$sessions" ] \
  || fail "zandrell-uci did not log its session in the engine's log"
[ -z "$(ls -A "$home/elsewhere")" ] || fail "something wrote into the folder it ran from"
written=$(find /usr/games /usr/share/games /usr/share/doc/zandrell -newer "$work/marker" 2>/dev/null)
[ -z "$written" ] || fail "written under /usr: $written"

# --- removal leaves nothing behind ---
dpkg -r zandrell || fail "dpkg -r"
dpkg -s zandrell >/dev/null 2>&1 && fail "still known to dpkg after removal"
left=
while read -r path; do
  [ "$path" = "/." ] && continue
  if [ -e "$path" ] && ! [ -d "$path" ]; then left+=" $path"; fi
done <"$work/files"
for folder in /usr/share/games/zandrell /usr/share/doc/zandrell; do
  [ -e "$folder" ] && left+=" $folder"
done
[ -z "$left" ] || fail "left after dpkg -r:$left"
echo "package-test: passed"
