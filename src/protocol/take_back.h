#pragma once
// Taking moves back: "undo" one, "remove" two.
#include "engine/engine.h"

namespace zandrell {

// Puts the game back as it stood before its last move (board, game record,
// repetition counts, fifty-move count, result); false when there is none.
bool TakeBackMove(Engine& e);
// Both moves or, with fewer than two, nothing.
void TakeBackTwoMoves(Engine& e);

}  // namespace zandrell
