#pragma once
#include <cstdint>

#include "engine/engine.h"

namespace zandrell {

// Chooses, once per think, middle-game or endgame pawn and king tables from the
// number of pieces other than pawns (kings included) and sets Middlegame.
void SelectPhaseTables(const BoardState& b, const EvalSettings& t, SearchState& s);

// Static score of the board in centipawns for the side to move.
std::int32_t Evaluate(const BoardState& b, const EvalSettings& t, const SearchState& s);

// The same score, with the piece terms taken from s.Terms, which the search keeps
// up to date, instead of summed over the pieces.
std::int32_t EvaluateWithMaterial(const BoardState& b, SearchState& s);

}  // namespace zandrell
