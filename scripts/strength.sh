#!/usr/bin/env bash
# Zandrell's strength as users see it: a match through xboard under a virtual
# display against another engine, colours alternating, Zandrell from a copy of
# the shipped folder (its settings and opening book). Saves the games and prints
# wins, draws and losses with the Elo difference and its 95% interval.
#
#   scripts/strength.sh [DIST]              (default build/dist)
#   STRENGTH_OPPONENT=fairymax|phalanx|hoichess|sjeng|gnuchess|plain|DIST
#   STRENGTH_TC=0:10 STRENGTH_INC=0.1 STRENGTH_GAMES=20
#   STRENGTH_PGN=FILE      where the games go (default strength-<opponent>.pgn)
#   STRENGTH_HASH=N        Zandrell's Hash setting in its copy (default: as shipped)
#
# "plain" is Zandrell itself with Hash=0: the search without the hash table; a
# folder DIST (another build's dist folder) plays as "Other", for trying a change.
# The machine should be otherwise idle; a busy one costs both sides time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath "${1:-$root/build/dist}")
opponent=${STRENGTH_OPPONENT:-fairymax}
tc=${STRENGTH_TC:-0:10}
inc=${STRENGTH_INC:-0.1}
games=${STRENGTH_GAMES:-20}
pgn=$(realpath -m "${STRENGTH_PGN:-strength-$(basename "$opponent").pgn}")

export PATH="$PATH:/usr/games"
"$root/scripts/install-deps.sh" match
xboard=$(command -v xboard || echo /usr/games/xboard)
[ -x "$dist/zandrell" ] || { echo "strength: no engine in $dist" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$dist" "$work/zandrell"
setting() {  # setting FOLDER KEY VALUE: the key's line in the copy's Zandrell.ini
  local ini="$1/Zandrell.ini"
  [ -f "$ini" ] || printf '[Engine]\n' >"$ini"
  sed -i "/^$2=/d" "$ini"
  printf '%s=%s\n' "$2" "$3" >>"$ini"
}
[ -n "${STRENGTH_HASH:-}" ] && setting "$work/zandrell" Hash "$STRENGTH_HASH"

name=$opponent
opponent_dir=$work
case "$opponent" in
  fairymax) command=fairymax ;;
  phalanx) command="phalanx -l-" ;;
  hoichess) command="hoichess --xboard" ;;
  sjeng) command=sjeng ;;
  gnuchess) command="gnuchess --xboard" ;;
  plain)
    cp -r "$dist" "$work/plain"
    setting "$work/plain" Hash 0
    command="./zandrell -xboard"
    opponent_dir=$work/plain
    name=Plain
    ;;
  *)
    [ -x "$opponent/zandrell" ] || { echo "strength: unknown opponent $opponent" >&2; exit 2; }
    cp -r "$opponent" "$work/other"
    command="./zandrell -xboard"
    opponent_dir=$work/other
    name=Other
    ;;
esac
if [ "$name" = "$opponent" ]; then
  command -v "${command%% *}" >/dev/null || { echo "strength: $opponent is not installed" >&2; exit 2; }
fi

start=$(date +%s)
# HOME keeps xboard's settings file out of the user's home. Animation is off: on
# a virtual display xboard charges its animation time to the engine that moves.
HOME="$work" timeout $(( games * 600 + 600 )) xvfb-run -a "$xboard" \
  -fcp "./zandrell -xboard" -fd "$work/zandrell" -fn Zandrell \
  -scp "$command" -sd "$opponent_dir" -sn "$name" \
  -matchMode true -matchGames "$games" -tc "$tc" -inc "$inc" \
  -autoCallFlag true -testClaims true -ponderNextMove false -animateMoving false \
  -popupExitMessage false -saveSettingsOnExit false \
  -saveGameFile "$pgn" >"$work/xboard.out" 2>&1 || true
elapsed=$(( $(date +%s) - start ))
[ -s "$pgn" ] || { echo "strength: xboard saved no game" >&2; cat "$work/xboard.out" >&2; exit 1; }

awk -v tc="$tc" -v inc="$inc" -v opp="$name" -v secs="$elapsed" -v pgn="$pgn" '
  function elo(p) { return -400 * log(1 / p - 1) / log(10) }
  function clamp(p) { return p < 0.0005 ? 0.0005 : (p > 0.9995 ? 0.9995 : p) }
  /^\[White "/ { white = $0; sub(/^\[White "/, "", white); sub(/".*/, "", white) }
  /^\[Result "/ {
    r = $0; sub(/^\[Result "/, "", r); sub(/".*/, "", r)
    if (r == "1/2-1/2") d++
    else if ((r == "1-0") == (white == "Zandrell") && r != "*") w++
    else if (r == "1-0" || r == "0-1") l++
    else u++
  }
  END {
    n = w + d + l
    if (n == 0) { print "strength: no finished game"; exit 1 }
    p = (w + d / 2) / n
    var = (w * (1 - p) ^ 2 + d * (0.5 - p) ^ 2 + l * p ^ 2) / n
    se = sqrt(var / n)
    printf "Zandrell - %s, %d games at %s+%s (%d s): +%d =%d -%d", opp, n, tc, inc, secs, w, d, l
    if (u) printf " (%d unfinished)", u
    printf "\nscore %.1f%%, Elo %+.0f (95%%: %+.0f to %+.0f)\ngames in %s\n", 100 * p,
      elo(clamp(p)), elo(clamp(p - 1.96 * se)), elo(clamp(p + 1.96 * se)), pgn
  }
' "$pgn"
