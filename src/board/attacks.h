#pragma once
#include "board/board_state.h"

namespace zandrell {

// True when a piece of side by attacks square.
bool IsAttacked(const BoardState& b, int square, Side by);
// True when the king of the side to move is attacked.
bool InCheck(const BoardState& b);
// Asked right after MakeMove(m): did the mover leave its king safe (for castling:
// the king's start, crossing and destination squares)?
bool IsLegal(const BoardState& b, const Move& m);

}  // namespace zandrell
