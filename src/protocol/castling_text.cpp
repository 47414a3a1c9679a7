#include "protocol/castling_text.h"

#include "board/board_tables.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "board/movegen.h"

namespace zandrell {

bool IsCastlingText(std::string_view text) {
  return text == "O-O" || text == "O-O-O" || text == "0-0" || text == "0-0-0";
}

bool FindCastlingMove(BoardState& b, std::string_view text, Move& found) {
  if (!b.Chess960 || !IsCastlingText(text)) return false;
  const bool isShort = text.size() == 3;
  const int kind =
      b.WhiteToMove ? (isShort ? kWhiteShort : kWhiteLong) : (isShort ? kBlackShort : kBlackLong);
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    if (list.Moves[i].Castle == kind + kChess960Castle && IsLegalMove(b, list.Moves[i])) {
      found = list.Moves[i];
      return true;
    }
  }
  return false;
}

}  // namespace zandrell
