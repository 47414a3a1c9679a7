#pragma once
#include "engine/engine.h"

namespace zandrell {

// A new game: start position, game record and the game's protocol state. The time
// control (BaseTime) and the depth limit (MaxDepth) are kept.
void NewGame(Engine& e);

}  // namespace zandrell
