#pragma once
// The Universal Chess Interface's session: the options the interface set, and the
// game as the interface last described it and as the log has recorded it.
#include <string>
#include <vector>

#include "engine/limits.h"

namespace zandrell {

struct UciState {
  // "Hash" in megabytes: the hash table's size (0: none, the plain search).
  int HashMegabytes = 0;
  bool OwnBook = true;
  bool Ponder = false;
  int Lines = 1;  // "MultiPV"
  int MoveOverheadMs = 10;
  // "UCI_LimitStrength" and "UCI_Elo": the game's level is Elo while limited.
  bool LimitStrength = false;
  int Elo = kHighestLevelElo;
  // "UCI_Chess960": positions are Chess960 ones, castling is the king taking its rook.
  bool Chess960 = false;
  // "UCI_ShowWDL": "info" carries the win/draw/loss expectation per mille.
  bool ShowWdl = false;
  // The game of the last "position": its start ("startpos" or a FEN record) and
  // its moves; the log has recorded LoggedStart and LoggedMoves of it (an empty
  // LoggedStart: a new game was just logged, whatever its start; "-": nothing
  // logged yet).
  std::string Start = "startpos";
  std::vector<std::string> Moves;
  std::string LoggedStart = "-";
  // The last "position" was too long to read: "go" searches nothing until the
  // next one is taken.
  bool PositionRefused = false;
  std::vector<std::string> LoggedMoves;
};

}  // namespace zandrell
