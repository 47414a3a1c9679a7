#pragma once
// Thinking on the opponent's time under xboard ("hard"), with the hash table on:
// after its move the engine thinks on the reply it expects as if it had been
// played. When that reply comes the think goes on as the engine's own move;
// anything else ends it at once and the game goes on as if it had not pondered.
#include "engine/engine.h"

namespace zandrell {

// Called once per pass of the main loop; does nothing unless pondering is on
// and the engine has just moved.
void PonderReply(Engine& e);

}  // namespace zandrell
