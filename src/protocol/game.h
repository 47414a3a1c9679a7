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

// Hash size a Chess960 game takes when none is set.
constexpr int kChess960HashMb = 16;
// Chess960 is played by the stronger search only, which needs the hash table: a
// Chess960 game on a board without one gets kChess960HashMb (true when it did,
// also logged). A table so made goes again when the game is not Chess960.
bool MatchSearchToVariant(Engine& e);

}  // namespace zandrell
