#include "board/playable_line.h"

#include <algorithm>

#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/move_text.h"

namespace zandrell {

namespace {

constexpr int kFiftyMoveHalfMoves = 100;

}  // namespace

int PlayableLength(const BoardState& b, const Move* line, int length,
                   const std::vector<std::uint64_t>& earlierKeys) {
  BoardState board = b;
  std::vector<std::uint64_t> keys = earlierKeys;
  keys.push_back(board.Key);
  for (int k = 0; k < length; ++k) {
    Move legal{};
    // The line's move is matched by its text: generation fills in the rest.
    if (!FindLegalMove(board, MoveToText(line[k]), legal)) return k;
    PlayMove(board, legal);
    keys.push_back(board.Key);
    if (std::count(keys.begin(), keys.end(), board.Key) >= 3) return k + 1;
    if (board.FiftyCount >= kFiftyMoveHalfMoves) return k + 1;
    if (!HasLegalMove(board)) return k + 1;
  }
  return length;
}

}  // namespace zandrell
