#include "board/perft.h"

#include <algorithm>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/movegen.h"

namespace zandrell {

namespace {

// Unmake leaves en-passant markers behind; that never changes a count below,
// because moves are generated only right after a make (which clears stale
// markers first). The caller's board is restored once at the top.
std::uint64_t CountLeaves(BoardState& b, int depth) {
  MoveList list;
  GenerateMoves(b, list);
  std::uint64_t leaves = 0;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[i];
    MakeMove(b, m);
    if (IsLegal(b, m)) {
      if (depth == 1) {
        ++leaves;
      } else {
        ++b.Ply;
        leaves += CountLeaves(b, depth - 1);
        --b.Ply;
      }
    }
    UnmakeMove(b, m);
  }
  return leaves;
}

class BoardRestore {
 public:
  explicit BoardRestore(BoardState& b) : b_(b) { std::copy(std::begin(b.Board), std::end(b.Board), saved_); }
  ~BoardRestore() { std::copy(std::begin(saved_), std::end(saved_), b_.Board); }
  BoardRestore(const BoardRestore&) = delete;
  BoardRestore& operator=(const BoardRestore&) = delete;

 private:
  BoardState& b_;
  std::uint8_t saved_[kSquareCount];
};

}  // namespace

std::uint64_t Perft(BoardState& b, int depth) {
  if (depth <= 0) return 1;
  BoardRestore restore(b);
  return CountLeaves(b, depth);
}

std::vector<PerftDivideEntry> PerftDivide(BoardState& b, int depth) {
  std::vector<PerftDivideEntry> entries;
  if (depth <= 0) return entries;
  BoardRestore restore(b);
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    Move m = list.Moves[i];
    MakeMove(b, m);
    if (IsLegal(b, m)) {
      std::uint64_t leaves = 1;
      if (depth > 1) {
        ++b.Ply;
        leaves = CountLeaves(b, depth - 1);
        --b.Ply;
      }
      entries.push_back({list.Moves[i], leaves});
    }
    UnmakeMove(b, m);
  }
  return entries;
}

bool CommitMoveText(BoardState& b, std::string_view text) {
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    Move m = list.Moves[i];
    if (MoveToText(m) != text) continue;
    bool legal = false;
    {
      BoardRestore restore(b);
      MakeMove(b, m);
      legal = IsLegal(b, m);
      UnmakeMove(b, m);
    }
    if (!legal) continue;
    CommitMove(b, list.Moves[i]);
    b.WhiteToMove = !b.WhiteToMove;
    return true;
  }
  return false;
}

}  // namespace zandrell
