#pragma once
#include "board/board_state.h"

namespace zandrell {

// Which moves a generation lists: all of them, or (for the quiescence search)
// all but the plain non-captures.
enum class GenerationMode { kAllMoves, kCapturesOnly };

// Every pseudo-legal move of the side to move, in the fixed generation order.
void GenerateMoves(const BoardState& b, MoveList& list,
                   GenerationMode mode = GenerationMode::kAllMoves);

}  // namespace zandrell
