#pragma once
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "search/search_interface.h"

namespace zandrell {

constexpr char kBookMoveLine[] = "0 0 0 0 (Book Move)";

// The best move for the position on the board: a book move, or the best move of
// an iterative-deepening search within the limits, reported as it goes. The empty
// move when there is none (SearchState::GameEnd then says why). The caller sets
// SearchState::MoveStartTime, NodeCount and Ply as for a move of the game.
Move Think(Engine& e, const SearchLimits& limits, SearchReporter& reporter);
// One iteration: the best root move at this depth, the empty move if none.
Move RootSearch(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

// "depth score time nodes pv...", the time in whole seconds times 100.
std::string ThinkingLine(const SearchState& s, double elapsedSeconds);
std::string ThinkingLine(const SearchReport& r);

}  // namespace zandrell
