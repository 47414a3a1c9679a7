#pragma once
// How much of a line of moves a game could follow. A search's line may keep a
// move from another line, or go on past the game's end; an interface shows it
// on the board and replays it.
#include <cstdint>
#include <vector>

#include "board/board_state.h"

namespace zandrell {

// How many leading moves of line (from b) are legal one after the other and
// are played before the game ends by rule: nothing follows a mate, a stalemate,
// the third occurrence of a position, or the hundredth half-move without a
// capture or a pawn move. earlierKeys are the keys of the game's positions
// before b, which count towards repetitions.
int PlayableLength(const BoardState& b, const Move* line, int length,
                   const std::vector<std::uint64_t>& earlierKeys);

}  // namespace zandrell
