#!/usr/bin/env bash
# Zandrell against fairymax through xboard in match mode, headless: two games,
# Zandrell White in the first and Black in the second. Checks that every saved
# game ends with a result, that xboard never forfeited Zandrell for an invalid
# move and that Zandrell never lost on time, and prints the games.
#
#   scripts/match.sh [ENGINE]      (default build/zandrell)
#   MATCH_TC=0:20 MATCH_INC=1 MATCH_GAMES=2 scripts/match.sh
#   MATCH_KEEP=DIR keeps the games, Zandrell's log and xboard's debug file in DIR.
#   MATCH_XBOARD_ARGS="-animateMoving false" adds options to xboard's command line.
#
# MATCH_UCI=1 plays ENGINE as the UCI program (default build/zandrell-uci) through
# Debian's polyglot adapter, as a user of an xboard-only interface would.
#
# MATCH_HASH=N gives Zandrell the setting Hash=N (the stronger search and its
# clock); MATCH_MPS=N makes the control N moves in MATCH_TC (a classical
# control). MATCH_PONDER=1 lets both engines think on the opponent's time and
# checks in xboard's debug file that Zandrell pondered and had ponder hits.
# MATCH_MIN_DEPTH=N fails when the median depth of Zandrell's moves in the
# PGN's comments is below N. MATCH_WINE=1 runs ENGINE (Zandrell.exe) under wine.
#
# MATCH_FEN starts every game from that position. MATCH_PROTOCOL is the protocol
# version xboard assumes for Zandrell (default 1); empty lets xboard ask with
# "protover 2", and then the handshake must not cost xboard its ten-second wait
# and nobody may answer a move with "Illegal move".
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
uci=${MATCH_UCI:-}
if [ -n "$uci" ]; then
  engine=$(realpath "${1:-$root/build/zandrell-uci}")
else
  engine=$(realpath "${1:-$root/build/zandrell}")
fi
tc=${MATCH_TC:-0:20}
inc=${MATCH_INC:-1}
games=${MATCH_GAMES:-2}
fen=${MATCH_FEN:-}
protocol=${MATCH_PROTOCOL-1}

# Debian installs xboard and fairymax under /usr/games.
export PATH="$PATH:/usr/games"
"$root/scripts/install-deps.sh" match
xboard=$(command -v xboard || echo /usr/games/xboard)
fairymax=/usr/games/fairymax
[ -x "$engine" ] || { echo "match: no engine at $engine" >&2; exit 2; }

work=$(mktemp -d)
keep=${MATCH_KEEP:-}
read -r -a extra <<<"${MATCH_XBOARD_ARGS:-}"
trap '[ -z "$keep" ] || { mkdir -p "$keep" && cp -r "$work"/. "$keep"/; }; rm -rf "$work"' EXIT
# The engine runs from a folder of its own, so its settings and log are the match's.
mkdir -p "$work/zandrell"
[ -n "${MATCH_HASH:-}" ] && printf '[Engine]\nHash=%s\n' "$MATCH_HASH" >"$work/zandrell/Zandrell.ini"
if [ -n "${MATCH_WINE:-}" ]; then
  wine=$(ls /usr/lib/wine/wine64 2>/dev/null || command -v wine64 || command -v wine)
  cp "$engine" "$work/zandrell/Zandrell.exe"
  # The same quiet, headless wine set-up as the Windows tests; the prefix is
  # made before the match, so its first start costs no game time.
  WINEPREFIX="$work/wineprefix" WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1 || true
  command="env WINEPREFIX=$work/wineprefix WINEDEBUG=-all $wine ./Zandrell.exe -xboard -log"
elif [ -n "$uci" ]; then
  cp "$engine" "$work/zandrell/zandrell-uci"
  # polyglot starts in the engine's folder and logs both sides of its work there.
  cat >"$work/zandrell/polyglot.ini" <<'INI'
[PolyGlot]
EngineDir = .
EngineCommand = ./zandrell-uci
EngineName = Zandrell
Log = true
LogFile = polyglot.log
Book = false
[Engine]
Log = true
INI
  command="/usr/games/polyglot polyglot.ini"
else
  cp "$engine" "$work/zandrell/zandrell"
  command="./zandrell -xboard -log"
fi
pgn="$work/games.pgn"
debug="$work/xboard.debug"
options=()
# polyglot speaks version 2 and says so.
[ -n "$uci" ] && protocol=
[ -n "$protocol" ] && options+=(-firstProtocolVersion "$protocol")
ponder=false
[ -n "${MATCH_PONDER:-}" ] && ponder=true
[ -n "${MATCH_MPS:-}" ] && options+=(-mps "$MATCH_MPS")
if [ -n "$fen" ]; then
  echo "$fen" >"$work/start.fen"
  options+=(-loadPositionFile "$work/start.fen")
fi

# fairymax now and then crashes on "computer", which xboard sends to an engine
# whose opponent is an engine too: it never sees that line. The wrapper and
# what it starts ignore the SIGINT xboard sends before moves, which would end
# the shell and with it the engine.
cat >"$work/fairymax.sh" <<WRAPPER
#!/bin/sh
trap '' INT
grep --line-buffered -vx computer | $fairymax "\$@"
WRAPPER
chmod +x "$work/fairymax.sh"

start=$(date +%s)
for attempt in 1 2; do
  rm -f "$pgn"
  # HOME keeps xboard's settings file out of the user's home.
  HOME="$work" timeout 1200 xvfb-run -a "$xboard" \
    -fcp "$command" -fd "$work/zandrell" -fn Zandrell "${options[@]}" \
    -scp "$work/fairymax.sh" -sn Fairymax \
    -matchMode true -matchGames "$games" -tc "$tc" -inc "$inc" \
    -autoCallFlag true -testClaims true -ponderNextMove "$ponder" -pgnExtendedInfo true \
    -popupExitMessage false -saveSettingsOnExit false \
    -saveGameFile "$pgn" -debug -nameOfDebugFile "$debug" "${extra[@]}" >"$work/xboard.out" 2>&1 || true
  # Should fairymax die all the same, the match is played again, once.
  grep -q "Error writing to second chess program" "$pgn" 2>/dev/null || break
  echo "match: fairymax died during the match; playing it again" >&2
done
if grep -q "Error writing to second chess program" "$pgn" 2>/dev/null; then
  echo "match: fairymax died in both attempts; no game was played out" >&2
  exit 1
fi
elapsed=$(( $(date +%s) - start ))

if [ ! -s "$pgn" ]; then
  echo "match: xboard saved no game" >&2
  cat "$work/xboard.out" >&2
  exit 1
fi
cat "$pgn"
echo
echo "match: $games games in ${elapsed}s"

# xboard's debug lines begin with its milliseconds since start.
if grep -Eq '^[0-9]+ <(first |second): Illegal move' "$debug"; then
  echo "match: an engine answered a move with Illegal move:" >&2
  grep -E '^[0-9]+ <(first |second): Illegal move' "$debug" >&2
  exit 1
fi
if [ -z "$protocol" ]; then
  # xboard sends "xboard" and "protover 2" together and waits up to ten seconds
  # for done=1 before it starts the first game.
  asked=$(grep -Em1 '^[0-9]+ >first : xboard' "$debug" | cut -d' ' -f1)
  done_at=$(grep -Em1 '^[0-9]+ <first : feature .*done=1' "$debug" | cut -d' ' -f1)
  if [ -z "$asked" ] || [ -z "$done_at" ] || [ $(( done_at - asked )) -ge 2000 ]; then
    echo "match: no feature done=1 from Zandrell within 2 s of protover 2 (${asked:-?} -> ${done_at:-never} ms)" >&2
    exit 1
  fi
  first_move=$(grep -Em1 '^[0-9]+ <(first |second): move ' "$debug" | cut -d' ' -f1)
  if [ -z "$first_move" ] || [ "$first_move" -ge 10000 ]; then
    echo "match: the first move came ${first_move:-never} ms after xboard started" >&2
    exit 1
  fi
  echo "match: done=1 $(( done_at - asked )) ms after protover 2; first move ${first_move} ms after xboard started"
fi

# One game per block of PGN tags; check each.
awk -v want="$games" '
  function finish() {
    if (!inGame) return
    n++
    zandrell = (white == "Zandrell") ? "White" : (black == "Zandrell" ? "Black" : "")
    if (zandrell == "") { print "game " n ": Zandrell did not play"; bad = 1 }
    if (result !~ /^(1-0|0-1|1\/2-1\/2)$/) { print "game " n ": no result (" result ")"; bad = 1 }
    if (match(text, /\{[^}]*\} *(1-0|0-1|1\/2-1\/2|\*) *$/)) comment = substr(text, RSTART)
    lost = (zandrell == "White" && result == "0-1") || (zandrell == "Black" && result == "1-0")
    if (lost && text ~ /Forfeit due to invalid move/) {
      print "game " n ": xboard forfeited Zandrell for an invalid move"; bad = 1
    }
    if (lost && comment ~ /on time|[Ff]lag/) { print "game " n ": Zandrell lost on time"; bad = 1 }
    print "game " n ": Zandrell " zandrell ", result " result " " comment
    inGame = 0; text = ""; comment = ""
  }
  /^\[Event / { finish(); inGame = 1 }
  /^\[White "/ { white = $0; sub(/^\[White "/, "", white); sub(/".*/, "", white) }
  /^\[Black "/ { black = $0; sub(/^\[Black "/, "", black); sub(/".*/, "", black) }
  /^\[Result "/ { result = $0; sub(/^\[Result "/, "", result); sub(/".*/, "", result) }
  !/^\[/ { text = text " " $0 }
  END {
    finish()
    if (n != want) { print "match: " n " games saved, " want " expected"; bad = 1 }
    exit bad
  }
' "$pgn"

# The depth of each of Zandrell's searched moves, from comments such as
# {+0.25/9 0.4}: their median must reach MATCH_MIN_DEPTH.
if [ -n "${MATCH_MIN_DEPTH:-}" ]; then
  median=$(awk '
    /^\[White "/ { zw = ($0 ~ /"Zandrell"/) }
    /^\[/ { next }
    {
      line = $0
      while (match(line, /[0-9]+\. |\{[^}]*\}/)) {
        token = substr(line, RSTART, RLENGTH); line = substr(line, RSTART + RLENGTH)
        if (token ~ /^[0-9]+\. $/) { white = 1; continue }
        if (token ~ /^\{[-+]?[0-9.]+\/[0-9]+/) {
          d = token; sub(/^\{[-+]?[0-9.]+\//, "", d); sub(/[^0-9].*/, "", d)
          if ((white && zw) || (!white && !zw)) depths[n++] = d + 0
        }
        white = !white
      }
    }
    END {
      if (n == 0) { print 0; exit }
      for (i = 1; i < n; i++) {
        v = depths[i]
        for (j = i - 1; j >= 0 && depths[j] > v; j--) depths[j + 1] = depths[j]
        depths[j + 1] = v
      }
      print depths[int((n - 1) / 2)]
    }' "$pgn")
  echo "match: median depth of Zandrell's searched moves ${median}"
  if [ "$median" -lt "$MATCH_MIN_DEPTH" ]; then
    echo "match: median depth ${median} is below ${MATCH_MIN_DEPTH}" >&2
    exit 1
  fi
fi

# Pondering: Zandrell thinks after its own move (thinking lines before the
# opponent's move reaches it) and, on a hit, goes on from there (the first line
# after the opponent's move is deeper than a fresh think's first lines).
if [ -n "${MATCH_PONDER:-}" ]; then
  read -r pondered hits misses < <(awk '
    / <first : move / { ours = 1; after = 0; next }
    ours && / <first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ / { pondering = 1; next }
    ours && / >first : [a-h][1-8][a-h][1-8]/ { ours = 0; after = pondering; pondering = 0; if (after) np++; next }
    after && / <first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ / {
      split($0, w, " "); for (i = 1; i <= length(w); i++) if (w[i] == ":") break
      if (w[i + 1] + 0 >= 5) h++; else m++
      after = 0
    }
    END { print np + 0, h + 0, m + 0 }' "$debug")
  echo "match: Zandrell pondered on ${pondered} moves: ${hits} ponder hits, ${misses} misses"
  if [ "$pondered" -eq 0 ] || [ "$hits" -eq 0 ]; then
    echo "match: no pondering or no ponder hit seen in xboard's debug file" >&2
    exit 1
  fi
fi
