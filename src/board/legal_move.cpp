#include "board/legal_move.h"

#include <cstring>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/movegen.h"

namespace zandrell {

BoardSquaresKeeper::BoardSquaresKeeper(BoardState& b) : board_(b) {
  std::memcpy(saved_, b.Board, sizeof saved_);
}

BoardSquaresKeeper::~BoardSquaresKeeper() { std::memcpy(board_.Board, saved_, sizeof saved_); }

bool IsLegalMove(BoardState& b, Move m) {
  BoardSquaresKeeper keep(b);
  MakeMove(b, m);
  bool legal = IsLegal(b, m);
  UnmakeMove(b, m);
  return legal;
}

bool FindLegalMove(BoardState& b, std::string_view text, Move& found) {
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    if (MoveToText(list.Moves[i]) == text && IsLegalMove(b, list.Moves[i])) {
      found = list.Moves[i];
      return true;
    }
  }
  return false;
}

int LegalMoveCount(BoardState& b) {
  MoveList list;
  GenerateMoves(b, list);
  int n = 0;
  for (int i = 0; i < list.Count; ++i) {
    if (IsLegalMove(b, list.Moves[i])) ++n;
  }
  return n;
}

bool HasLegalMove(BoardState& b) {
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    if (IsLegalMove(b, list.Moves[i])) return true;
  }
  return false;
}

}  // namespace zandrell
