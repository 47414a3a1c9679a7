#pragma once
// "go": a think on the game's position under the interface's limits, "info"
// lines as it deepens, and "bestmove" at its end.
#include <deque>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// args: the text after "go". queued: the lines that came with the "go" and were
// not yet handled; while thinking, "isready", "stop", "ponderhit" and "quit"
// among them and among the lines arriving act at once, and the others wait for
// after "bestmove" (left in queued and ShellState::HeldInput, in their order).
void UciGo(Engine& e, std::string_view args, std::deque<std::string>& queued);

// "score cp X" or "score mate M" (moves, negative when being mated).
std::string UciScore(std::int32_t score);
// "wdl W D L": the expected win, draw and loss per mille for the side to move,
// from its score; they add up to 1000.
std::string WdlText(std::int32_t score);

}  // namespace zandrell
