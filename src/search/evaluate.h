#pragma once
#include <cstdint>

#include "engine/engine.h"

namespace zandrell {

// Chooses, once per think, middle-game or endgame pawn and king tables from the
// number of pieces other than pawns (kings included) and sets Middlegame.
void SelectPhaseTables(const BoardState& b, const EvalSettings& t, SearchState& s);

// Static score of the board in centipawns for the side to move.
std::int32_t Evaluate(const BoardState& b, const EvalSettings& t, const SearchState& s);

// The same score, with the material, square and undeveloped-minor terms taken from
// s.MaterialScore instead of summed over the pieces.
std::int32_t EvaluateWithMaterial(const BoardState& b, const SearchState& s);

// Material, square values and undeveloped-minor penalties of all pieces, from
// White's point of view: the running value of SearchState::MaterialScore.
std::int32_t MaterialScoreOf(const BoardState& b, const SearchState& s);

// Those terms for the squares that making m can change (from, to, the en-passant
// victim's and the castling rook's squares). Taken before and after MakeMove, the
// difference is the change of MaterialScore.
std::int32_t MoveSquaresScore(const BoardState& b, const SearchState& s, const Move& m);

}  // namespace zandrell
