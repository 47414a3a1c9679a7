#pragma once
#include "engine/engine.h"

namespace zandrell {

// A new game: start position, game record and the game's protocol state. The time
// control (BaseTime) and the depth limit (MaxDepth) are kept.
void NewGame(Engine& e);
// Plays a legal move into the game: kept in the record for taking it back,
// committed, the other side to move, and the new position counted. Returns how
// often that position has now occurred in the game.
int PlayGameMove(Engine& e, const Move& m);

}  // namespace zandrell
