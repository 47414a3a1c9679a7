#pragma once
// The tapered evaluation: every term weighed in the middle game and in the
// endgame, the two blended by the material left on the board.
#include <array>
#include <cstdint>

#include "board/board_state.h"
#include "engine/search_state.h"
#include "search/tapered_terms.h"

namespace zandrell {

// What a position holds of each term, White's count less Black's, and its
// phase (0..kFullPhase): the evaluation is the blend of the counts times the
// weights.
struct TermCounts {
  std::array<std::int16_t, kTermCount> Count{};
  int Phase = 0;
};

// The share (out of kFullScale) of the score that stands in an ending the side
// ahead can seldom win: no mating material, no pawn and too little more, or
// bishops on opposite colours alone. The tuner sees the unscaled score.
constexpr int kFullScale = 64;
int DrawishScale(const BoardState& b, bool whiteAhead);

// Centipawns for the side to move, scaled by DrawishScale.
std::int32_t TaperedEvaluate(const BoardState& b, const TaperedWeights& w = kTaperedWeights);

// The same with the engine's weights, the pawns' terms read from the search's
// cache when their structure was met before.
std::int32_t TaperedEvaluate(const BoardState& b, SearchState& s);

// The counts of the position; TaperedEvaluate is BlendCounts of them.
void CountTerms(const BoardState& b, TermCounts& counts);
// The score for White of counts under the weights, before rounding to whole
// centipawns (the tuner's view of the evaluation).
double BlendCounts(const TermCounts& counts, const TaperedWeights& w);

}  // namespace zandrell
