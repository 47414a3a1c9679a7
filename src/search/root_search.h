#pragma once
#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace zandrell {

constexpr char kBookMoveLine[] = "0 0 0 0 (Book Move)";

// The engine's move for the game position: a book move, or the best move of an
// iterative-deepening search under the time allotment or the fixed depth. The
// empty move when there is none (GameResult then says why).
Move Think(Engine& e);
// One iteration: the best root move at this depth, the empty move if none.
Move RootSearch(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

// "depth score time nodes pv...", the time in whole seconds times 100.
std::string ThinkingLine(const SearchState& s, double elapsedSeconds);

}  // namespace zandrell
