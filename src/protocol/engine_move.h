#pragma once
#include <string>

#include "engine/engine.h"

namespace zandrell {

// The engine's turn: think, charge the clock, play and send the move or the result.
// Does nothing unless the engine is to move, not forced, and the game is on.
void EngineMove(Engine& e);
// After the think that found best (timed from SearchState::MoveStartTime):
// charge the clock, play and send the move or the result, and log it.
void FinishEngineMove(Engine& e, const Move& best);

// The log entry of one engine move: "move: e2e4", CR LF, "(t:2.50 s:15 ...)".
std::string MoveLogEntry(const std::string& moveText, double elapsed, std::int32_t score,
                         std::int64_t nodes, std::int64_t qnodes, double qnodePercent);

}  // namespace zandrell
