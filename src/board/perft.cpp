#include "board/perft.h"

#include <algorithm>

#include "board/attacks.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "board/position_key.h"

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

void WalkKeys(BoardState& b, int depth, KeyWalk& walk) {
  MoveList list;
  GenerateMoves(b, list);
  const std::uint64_t key = b.Key;
  const int enPassant = b.KeyEnPassant;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[i];
    MakeMove(b, m);
    if (IsLegal(b, m)) {
      const std::uint64_t kept = b.Key;
      const int keptEnPassant = b.KeyEnPassant;
      ++walk.Nodes;
      if (ComputePositionKey(b) != kept || b.KeyEnPassant != keptEnPassant) ++walk.Mismatches;
      b.KeyEnPassant = static_cast<std::uint8_t>(keptEnPassant);
      if (depth == 1) {
        ++walk.Leaves;
      } else {
        ++b.Ply;
        WalkKeys(b, depth - 1, walk);
        --b.Ply;
      }
    }
    UnmakeMove(b, m);
    if (b.Key != key || b.KeyEnPassant != enPassant) ++walk.Mismatches;
  }
}

}  // namespace

KeyWalk PerftCheckingKeys(BoardState& b, int depth) {
  KeyWalk walk;
  if (depth <= 0) return walk;
  BoardSquaresKeeper keep(b);
  WalkKeys(b, depth, walk);
  return walk;
}

std::uint64_t Perft(BoardState& b, int depth) {
  if (depth <= 0) return 1;
  BoardSquaresKeeper keep(b);
  return CountLeaves(b, depth);
}

std::vector<PerftDivideEntry> PerftDivide(BoardState& b, int depth) {
  std::vector<PerftDivideEntry> entries;
  if (depth <= 0) return entries;
  BoardSquaresKeeper keep(b);
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
  Move m{};
  if (!FindLegalMove(b, text, m)) return false;
  PlayMove(b, m);
  return true;
}

}  // namespace zandrell
