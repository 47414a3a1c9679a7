#!/usr/bin/env bash
# Zandrell's strength as users see it: a match through xboard under a virtual
# display against another engine, colours alternating, Zandrell from a copy of
# the shipped folder (its settings and opening book). Saves the games and prints
# wins, draws and losses with the Elo difference and its 95% interval.
#
# Openings come from an EPD file, each played twice with colours swapped, and
# pondering is off. With STRENGTH_SPRT the match also runs a sequential
# probability ratio test (logistic Elo, alpha = beta = 0.05): after each game
# pair it prints the count so far and the log-likelihood ratio, and it stops as
# soon as the ratio leaves [-2.94, 2.94] (H1: Zandrell is elo1 stronger; H0: elo0).
#
#   scripts/strength.sh [DIST]              (default build/dist)
#   STRENGTH_OPPONENT=fairymax|phalanx|hoichess|sjeng|gnuchess|stockfish|plain|DIST
#   STRENGTH_TC=0:10 STRENGTH_INC=0.1 STRENGTH_GAMES=20
#   STRENGTH_PGN=FILE      where the games go (default strength-<opponent>.pgn)
#   STRENGTH_HASH=N        Zandrell's Hash setting in its copy (default: as shipped)
#   STRENGTH_ELO=N         Zandrell's playing level (the setting Elo) in its copy
#   STRENGTH_THREADS=N     Zandrell's threads (the setting Threads) in its copy; xboard's
#                          own "cores 1" is kept from it, so an opponent keeps one thread
#   STRENGTH_OTHER_ELO=N   the level of the opponent when it is Zandrell (plain or DIST)
#                          or stockfish (its UCI_Elo, 1350 and up, with UCI_LimitStrength)
#   STRENGTH_OPENINGS=FILE openings, one position a line (default
#                          ../shared/openings/8moves_v3.epd beside the repository;
#                          "none": every game from the start position)
#   STRENGTH_SPRT=E0,E1    the test's hypotheses in Elo, e.g. 0,10 (default: none;
#                          the match plays STRENGTH_GAMES games)
#
# stockfish, a UCI engine, plays through polyglot on one thread with a 16 MB table.
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
openings=${STRENGTH_OPENINGS:-$root/../shared/openings/8moves_v3.epd}
sprt=${STRENGTH_SPRT:-}
if [ "$openings" != none ]; then
  [ -f "$openings" ] || { echo "strength: no opening file $openings" >&2; exit 2; }
  openings=$(realpath "$openings")
fi
if [ -n "$sprt" ] && ! [[ "$sprt" =~ ^-?[0-9.]+,-?[0-9.]+$ ]]; then
  echo "strength: STRENGTH_SPRT wants elo0,elo1 (e.g. 0,10)" >&2
  exit 2
fi

export PATH="$PATH:/usr/games"
"$root/scripts/install-deps.sh" match
case "$opponent" in
  phalanx | hoichess | sjeng | gnuchess | stockfish) "$root/scripts/install-deps.sh" anchors ;;
esac
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
[ -n "${STRENGTH_ELO:-}" ] && setting "$work/zandrell" Elo "$STRENGTH_ELO"
# xboard sends every engine that offers threads "cores" with its own count (1
# unless told): the copy's engine does not see that line, so its setting stands.
own_command="./zandrell -xboard"
if [ -n "${STRENGTH_THREADS:-}" ]; then
  setting "$work/zandrell" Threads "$STRENGTH_THREADS"
  printf '#!/bin/sh\ntrap "" INT\ngrep --line-buffered -v "^cores " | ./zandrell -xboard\n' \
    >"$work/zandrell/threads.sh"
  chmod +x "$work/zandrell/threads.sh"
  own_command=./threads.sh
fi

name=$opponent
opponent_dir=$work
case "$opponent" in
  fairymax)
    # fairymax now and then crashes on "computer", which xboard sends when both
    # players are engines, so it never sees that line (as in match.sh). The
    # wrapper ignores the SIGINT xboard sends before moves.
    command -v fairymax >/dev/null || { echo "strength: fairymax is not installed" >&2; exit 2; }
    printf '#!/bin/sh\ntrap "" INT\ngrep --line-buffered -vx computer | %s "$@"\n' \
      "$(command -v fairymax)" >"$work/fairymax.sh"
    chmod +x "$work/fairymax.sh"
    command=$work/fairymax.sh
    ;;
  phalanx) command="phalanx -l-" ;;
  hoichess) command="hoichess --xboard" ;;
  sjeng) command=sjeng ;;
  gnuchess) command="gnuchess --xboard" ;;
  stockfish)
    command=/usr/games/stockfish
    mkdir "$work/stockfish"
    {
      printf '[PolyGlot]\nEngineCommand = /usr/games/stockfish\nEngineName = Stockfish\nBook = false\n'
      printf '[Engine]\nThreads = 1\nHash = 16\n'
      if [ -n "${STRENGTH_OTHER_ELO:-}" ]; then
        printf 'UCI_LimitStrength = true\nUCI_Elo = %s\n' "$STRENGTH_OTHER_ELO"
      fi
    } >"$work/stockfish/polyglot.ini"
    opponent_dir=$work/stockfish
    ;;
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
if [ -n "${STRENGTH_OTHER_ELO:-}" ] && [ "$opponent" != stockfish ]; then
  [ "$opponent_dir" != "$work" ] || { echo "strength: STRENGTH_OTHER_ELO is for a Zandrell or stockfish opponent" >&2; exit 2; }
  setting "$opponent_dir" Elo "$STRENGTH_OTHER_ELO"
fi
if [ "$name" = "$opponent" ]; then
  command -v "${command%% *}" >/dev/null || { echo "strength: $opponent is not installed" >&2; exit 2; }
fi
# polyglot turns the UCI engine into an xboard one.
[ "$opponent" = stockfish ] && command="/usr/games/polyglot polyglot.ini"

# The figures of the games in a PGN file: W/D/L from Zandrell's side, the score,
# Elo with its 95% interval and, with elo0/elo1 given, the SPRT's log-likelihood
# ratio (normal approximation) and its verdict. "brief" prints one line.
summary() {  # summary PGN brief|full [SECONDS]
  awk -v tc="$tc" -v inc="$inc" -v opp="$name" -v secs="${3:-0}" -v pgn="$1" -v mode="$2" \
    -v sprt="$sprt" '
  function elo(p) { return -400 * log(1 / p - 1) / log(10) }
  function clamp(p) { return p < 0.0005 ? 0.0005 : (p > 0.9995 ? 0.9995 : p) }
  function expected(x) { return 1 / (1 + 10 ^ (-x / 400)) }
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
    if (n == 0) { if (mode == "full") print "strength: no finished game"; exit 1 }
    p = (w + d / 2) / n
    var = (w * (1 - p) ^ 2 + d * (0.5 - p) ^ 2 + l * p ^ 2) / n
    se = sqrt(var / n)
    verdict = ""
    if (sprt != "") {
      split(sprt, h, ",")
      s0 = expected(h[1]); s1 = expected(h[2])
      llr = var > 0 ? n * (s1 - s0) * (2 * p - s0 - s1) / (2 * var) : 0
      bound = log(0.95 / 0.05)
      verdict = llr >= bound ? "H1 accepted" : (llr <= -bound ? "H0 accepted" : "continue")
      test = sprintf("LLR %.2f [%.2f, %.2f] elo0=%s elo1=%s: %s", llr, -bound, bound, h[1], h[2],
        verdict)
    }
    if (mode == "brief") {
      printf "games %d: +%d =%d -%d, score %.1f%%, Elo %+.0f (95%%: %+.0f to %+.0f)%s\n", n, w, d,
        l, 100 * p, elo(clamp(p)), elo(clamp(p - 1.96 * se)), elo(clamp(p + 1.96 * se)),
        test == "" ? "" : ", " test
    } else {
      printf "Zandrell - %s, %d games at %s+%s (%d s): +%d =%d -%d", opp, n, tc, inc, secs, w, d, l
      if (u) printf " (%d unfinished)", u
      printf "\nscore %.1f%%, Elo %+.0f (95%%: %+.0f to %+.0f)\n", 100 * p,
        elo(clamp(p)), elo(clamp(p - 1.96 * se)), elo(clamp(p + 1.96 * se))
      if (test != "") print "SPRT " test
      print "games in " pgn
    }
    if (verdict == "H1 accepted" || verdict == "H0 accepted") exit 3
  }
  ' "$1"
}

opening_args=()
if [ "$openings" != none ]; then
  # Each opening twice, the engines swapping colours between the two games.
  opening_args=(-loadPositionFile "$openings" -loadPositionIndex -2)
fi
: >"$pgn"
start=$(date +%s)
# HOME keeps xboard's settings file out of the user's home. Animation is off: on
# a virtual display xboard charges its animation time to the engine that moves.
# setsid gives the match its own process group, so that the test can end it.
HOME="$work" setsid timeout $(( games * 600 + 600 )) xvfb-run -a "$xboard" \
  -fcp "$own_command" -fd "$work/zandrell" -fn Zandrell \
  -scp "$command" -sd "$opponent_dir" -sn "$name" \
  -matchMode true -matchGames "$games" -tc "$tc" -inc "$inc" "${opening_args[@]}" \
  -autoCallFlag true -testClaims true -ponderNextMove false -animateMoving false \
  -popupExitMessage false -saveSettingsOnExit false \
  -saveGameFile "$pgn" >"$work/xboard.out" 2>&1 &
match=$!
trap 'kill -- -$match 2>/dev/null; rm -rf "$work"' EXIT
reported=0
while kill -0 "$match" 2>/dev/null; do
  sleep 2
  finished=$(grep -c '^\[Result "\(1-0\|0-1\|1/2-1/2\)"' "$pgn" || true)
  if [ "$finished" -ge $(( reported + 2 )) ]; then
    reported=$(( finished - finished % 2 ))
    status=0
    summary "$pgn" brief || status=$?
    if [ "$status" -eq 3 ]; then
      kill -- -"$match" 2>/dev/null || true
      break
    fi
  fi
done
wait "$match" 2>/dev/null || true
elapsed=$(( $(date +%s) - start ))
[ -s "$pgn" ] || { echo "strength: xboard saved no game" >&2; cat "$work/xboard.out" >&2; exit 1; }
summary "$pgn" full "$elapsed" || [ $? -eq 3 ]
