#include "protocol/set_up.h"

#include <algorithm>
#include <string>

#include "base/log.h"
#include "base/wire.h"
#include "board/fen_setup.h"
#include "board/position_text.h"
#include "protocol/game.h"

namespace zandrell {

namespace {

// Index 0..63 of a square name like "e4" in Square64 order, or -1.
int EditIndex(char file, char rank) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return -1;
  return ('8' - rank) * 8 + (file - 'a');
}

int WhiteCodeOf(char letter) {
  switch (letter) {
    case 'P': return kWhitePawn;
    case 'N': return kWhiteKnight;
    case 'B': return kWhiteBishop;
    case 'R': return kWhiteRook;
    case 'Q': return kWhiteQueen;
    case 'K': return kWhiteKing;
    default: return 0;
  }
}

// The edited squares as a FEN record: castling wherever king and rook stand at
// home, no en-passant square, the fifty-move count from zero.
std::string EditedFen(const Engine& e) {
  std::string fen;
  for (int rank = 0; rank < 8; ++rank) {
    int gap = 0;
    for (int file = 0; file < 8; ++file) {
      const int code = e.edit.Squares[rank * 8 + file];
      if (code >= 1 && code <= 12) {
        if (gap > 0) fen += static_cast<char>('0' + gap);
        gap = 0;
        fen += PieceChar(code);
      } else {
        ++gap;
      }
    }
    if (gap > 0) fen += static_cast<char>('0' + gap);
    if (rank < 7) fen += '/';
  }
  fen += e.board.WhiteToMove ? " w" : " b";
  fen += " KQkq - 0 1";
  return fen;
}

void SetUpPosition(Engine& e, std::string_view fen, bool tellDroppedRights) {
  std::string dropped;
  if (!SetUpFromFen(e.board, fen, &dropped, e.game.Chess960)) {
    SendLine(e, "tellusererror Illegal position");
    return;
  }
  MatchSearchToVariant(e);
  GameState& g = e.game;
  g.PositionCounts.clear();
  g.GameResult = kGameOn;
  e.record.Played.clear();
  if (!dropped.empty() && tellDroppedRights) {
    // The position stands with the rights it can have; the user should know.
    const std::string text = DroppedRightsText(dropped);
    SendLine(e, "telluser " + text);
    WriteLog(e, text, false, false);
  }
}

}  // namespace

std::string DroppedRightsText(std::string_view dropped) {
  return "Castling rights dropped, king or rook not at home: " + std::string(dropped);
}

void SetBoard(Engine& e, std::string_view fen) { SetUpPosition(e, fen, true); }

void SetVariant(Engine& e, std::string_view name) {
  if (name == "fischerandom") {
    e.game.Chess960 = true;
  } else if (name == "normal") {
    e.game.Chess960 = false;
  } else {
    SendLine(e, "Error (unsupported variant): " + std::string(name));
    return;
  }
  // The standard start until a "setboard" gives the game's own.
  SetUpPosition(e, kStandardStartFen, false);
}

void StartEdit(Engine& e) {
  EditState& edit = e.edit;
  edit.Active = true;
  edit.WhitePieces = true;
  for (int i = 0; i < 64; ++i) {
    const int code = e.board.Board[Square64[i]];
    edit.Squares[i] = static_cast<std::uint8_t>(code >= 1 && code <= 12 ? code : kEmpty);
  }
}

void EditLine(Engine& e, std::string_view line) {
  EditState& edit = e.edit;
  if (line == ".") {
    edit.Active = false;
    // The edited board claims every right whose king and rook stand at home.
    SetUpPosition(e, EditedFen(e), false);
  } else if (line == "#") {
    std::fill(std::begin(edit.Squares), std::end(edit.Squares), std::uint8_t{kEmpty});
  } else if (line == "c") {
    edit.WhitePieces = !edit.WhitePieces;
  } else if (line.size() == 3) {
    const int index = EditIndex(line[1], line[2]);
    if (index < 0) return;
    if (line[0] == 'x') {
      edit.Squares[index] = kEmpty;
      return;
    }
    const int white = WhiteCodeOf(line[0]);
    // Black's code of a piece is White's plus one.
    if (white != 0)
      edit.Squares[index] = static_cast<std::uint8_t>(edit.WhitePieces ? white : white + 1);
  }
}

}  // namespace zandrell
