#pragma once
// Leaf counts of the legal move tree, made with the engine's own move generator,
// make/unmake and legality test: the check that all of them agree with the rules.
#include <cstdint>
#include <string_view>
#include <vector>

#include "board/board_state.h"

namespace zandrell {

// Leaves of the legal move tree depth plies below the current position. Every
// leaf is made, tested and unmade. The position is given back exactly as it came,
// en-passant markers included.
std::uint64_t Perft(BoardState& b, int depth);

struct KeyWalk {
  std::uint64_t Leaves = 0;
  std::uint64_t Nodes = 0;       // positions whose key was checked
  std::uint64_t Mismatches = 0;  // positions whose kept key differs from the computed
};

// Perft that also compares, at every position made, the key kept by MakeMove
// with the one computed from the whole position, and after every UnmakeMove the
// key with the one before the move.
KeyWalk PerftCheckingKeys(BoardState& b, int depth);

struct PerftDivideEntry {
  Move RootMove;
  std::uint64_t Leaves;
};

// The leaves below each legal root move, in generation order.
std::vector<PerftDivideEntry> PerftDivide(BoardState& b, int depth);

// Plays the generated legal move whose coordinate text is text into the game,
// as a received move is played; false (position unchanged) when there is none.
bool CommitMoveText(BoardState& b, std::string_view text);

}  // namespace zandrell
