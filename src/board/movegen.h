#pragma once
#include "board/board_state.h"

namespace zandrell {

// Every pseudo-legal move of the side to move, in the fixed generation order;
// with b.CapturesOnly set, plain non-captures are left out.
void GenerateMoves(BoardState& b, MoveList& list);

}  // namespace zandrell
