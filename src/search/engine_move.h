#pragma once
#include "engine/engine.h"

namespace zandrell {

// The engine's turn: think, charge the clock, play and send the move or the result.
// Does nothing unless the engine is to move, not forced, and the game is on.
void EngineMove(Engine& e);

}  // namespace zandrell
