#pragma once
#include <cstdint>

#include "engine/engine.h"

namespace zandrell {

// Ordering bonuses and the score of a move that captures nothing.
constexpr std::int32_t kPvMoveBonus = 100000;
constexpr std::int32_t kFirstKillerBonus = 1000;
constexpr std::int32_t kSecondKillerBonus = 500;
constexpr std::int32_t kQuietMoveBase = -10000;

// True while a fixed depth ("sd") is in force: no clock applies to the search.
bool IsFixedDepth(const GameState& g);

// While helpers search beside the engine's own thread (SearchState::Overtaking):
// one of them finished the depth of the current iteration, or a deeper one
// within the think's iterations.
bool HelperFinishedDepth(const SearchState& s);

// Fail-hard negamax search of the board position; returns 0 at once when the
// move's time is used up (TimeUp) or the process is asked to end.
std::int32_t AlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);
// Captures-only search with stand-pat; depth counts down to a plain evaluation.
std::int32_t Quiesce(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

// Scores the first count moves and sorts them, best first.
void OrderMoves(Engine& e, Move* list, int count);

// Makes m the first move of the line at ply p, followed by the line at ply p + 1.
void UpdatePv(SearchState& s, int p, const Move& m);
// A move that raised alpha becomes the first killer of its ply when it beats the
// killer score there.
void UpdateKillers(SearchState& s, int ply, const Move& m, std::int32_t score);

}  // namespace zandrell
