#pragma once
// Static exchange evaluation: what a move wins or loses in material when both
// sides go on capturing on its destination square, each with its least valuable
// piece, and either may stop when going on would lose.
#include <array>
#include <cstdint>

#include "board/board_state.h"

namespace zandrell {

// Material the side to move gains by m (negative: loses), counted with value
// (by piece code, as EvalSettings::PieceValue). A quiet move scores 0 or what the
// moved piece loses to the captures on its new square.
std::int32_t StaticExchange(const BoardState& b, const Move& m, const std::array<int, 17>& value);

// What m loses by its exchange (negative), or 0 when it loses nothing: as
// min(StaticExchange, 0), but a capture of a piece worth at least the capturing
// one cannot lose, and is not played out.
std::int32_t ExchangeLoss(const BoardState& b, const Move& m, const std::array<int, 17>& value);

}  // namespace zandrell
