#include "search/strong_search.h"

#include "board/attacks.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "search/alpha_beta.h"
#include "search/move_order.h"
#include "search/search_node.h"

namespace zandrell {

namespace {

constexpr std::int32_t kHashMoveBonus = 200000;
constexpr int kNullMoveMinDepth = 3;
constexpr int kReductionMinDepth = 3;
constexpr int kMovesBeforeReduction = 3;
constexpr int kFiftyMoveHalfMoves = 100;

}  // namespace

bool RepeatsEarlierPosition(const SearchState& s, const BoardState& b) {
  const std::uint64_t key = b.Key;
  const int games = static_cast<int>(s.GameKeys.size());
  for (int back = 4; back <= b.FiftyCount; back += 2) {
    const int q = b.Ply - back;
    if (q >= 1) {
      if (s.PathKeys[q] == key) return true;
    } else {
      const int index = games - 2 + q;  // the root (ply 1) is the last game key
      if (index < 0) return false;
      if (s.GameKeys[index] == key) return true;
    }
  }
  return false;
}

namespace {

// Pieces other than pawns and king: without them passing can be the best move.
bool HasPieces(const BoardState& b) {
  const int parity = b.WhiteToMove ? 1 : 0;
  for (int slot = 1; slot <= b.PieceCount; ++slot) {
    const int code = b.Board[b.PieceList[slot]];
    if (code >= kWhiteKnight && code <= kBlackBishop && code != kWhiteKing && code != kBlackKing &&
        (code & 1) == parity) {
      return true;
    }
  }
  return false;
}

inline bool IsQuiet(const Move& m) { return m.Captured >= kEmpty && m.Promotion == 0; }

std::int32_t Node(Engine& e, std::int32_t alpha, std::int32_t beta, int depth, bool mayPass) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  // Whatever ends this node early, the clock too, its line is empty, never one
  // left from before.
  s.PvLength[b.Ply] = b.Ply;
  if (NodeOutOfTime(e)) {
    s.TimeUp = true;
    return 0;
  }
  s.PathKeys[b.Ply] = b.Key;
  // The same position earlier on the line or in the game: a draw, scored as the
  // root scores a move back to a seen position (Contempt for the side that moved).
  if (RepeatsEarlierPosition(s, b)) return -e.tables.Contempt;
  // The hundredth half-move without a capture or a pawn move ends the game
  // unless it mates.
  if (b.FiftyCount >= kFiftyMoveHalfMoves && (!InCheck(b) || HasLegalMove(b))) {
    return e.tables.Contempt;
  }
  if (depth == 0) return QuiesceBelow(e, alpha, beta, kQuiesceDepthLimit);

  const bool pvNode = beta - alpha > 1;
  const HashEntry* entry = ProbeHash(s.Hash, b.Key);
  const Move hashMove = HashMove(entry);
  if (entry != nullptr && entry->Depth >= depth) {
    const std::int32_t score = ScoreFromHash(entry->Score, b.Ply);
    if (entry->Bound == kHashLower && score >= beta) return beta;
    if (entry->Bound == kHashUpper && score <= alpha) return alpha;
    // An exact score ends only a null-window node: a principal line searches on
    // for its moves.
    if (entry->Bound == kHashExact && !pvNode) return score <= alpha ? alpha : beta;
  }

  const bool inCheck = InCheck(b);
  const int searchDepth = depth;
  if (inCheck && b.Ply < kCheckExtensionPlyLimit) ++depth;

  // Null move: if passing still holds beta, a real move will too.
  if (mayPass && !pvNode && !inCheck && depth >= kNullMoveMinDepth && HasPieces(b)) {
    const int reduction = depth > 6 ? 3 : 2;
    MakeNullMove(b);
    ++b.Ply;
    const std::int32_t score = -Node(e, -beta, -beta + 1, depth - 1 - reduction, false);
    --b.Ply;
    UnmakeNullMove(b);
    if (s.TimeUp) return 0;
    if (score >= beta) return beta;
  }

  MoveList list;
  GenerateMoves(b, list);
  MoveOrder order;
  ScoreNodeMoves(e, list.Moves, list.Count, order.Keys, false);
  if (hashMove.From != 0) {
    for (int i = 0; i < list.Count; ++i) {
      if (SameMove(list.Moves[i], hashMove)) {
        order.Keys[i] = std::int64_t{kHashMoveBonus} * 256 + i;
        break;
      }
    }
  }
  order.Start(list.Count);

  const std::int32_t alphaBefore = alpha;
  Move best = kNoMove;
  int legalCount = 0;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[order.At(i)];
    std::int32_t score = 0;
    const PieceTerms terms = s.Terms;
    const bool legal = MakeSearchMove(b, s, m);
    if (legal) {
      ++s.NodeCount;
      ++legalCount;
      if (legalCount == 1) {
        score = -Node(e, -beta, -alpha, depth - 1, true);
      } else {
        // Late quiet moves that give no check are searched a ply shorter first.
        int reduction = 0;
        if (legalCount > kMovesBeforeReduction && depth >= kReductionMinDepth && !inCheck &&
            IsQuiet(m) && !InCheck(b)) {
          reduction = legalCount > 8 && depth >= 5 ? 2 : 1;
        }
        score = -Node(e, -alpha - 1, -alpha, depth - 1 - reduction, true);
        if (score > alpha && reduction > 0 && !s.TimeUp) {
          score = -Node(e, -alpha - 1, -alpha, depth - 1, true);
        }
        if (score > alpha && score < beta && !s.TimeUp) {
          score = -Node(e, -beta, -alpha, depth - 1, true);
        }
      }
    }
    --b.Ply;
    UnmakeMove(b, m);
    s.Terms = terms;
    if (s.TimeUp) return 0;
    if (legal && score > alpha) {
      s.HistoryTable[m.From][m.To] += depth;
      UpdateKillers(s, b.Ply, m, score);
      if (score >= beta) {
        StoreHash(s.Hash, b.Key, m, searchDepth, beta, kHashLower, b.Ply);
        return beta;
      }
      alpha = score;
      best = m;
      UpdatePv(s, b.Ply, m);
    }
  }

  if (legalCount == 0) {
    const std::int32_t score = inCheck ? b.Ply - kMateScore : e.tables.Contempt;
    StoreHash(s.Hash, b.Key, kNoMove, searchDepth, score, kHashExact, b.Ply);
    return score;
  }
  StoreHash(s.Hash, b.Key, best, searchDepth, alpha, alpha > alphaBefore ? kHashExact : kHashUpper,
            b.Ply);
  return alpha;
}

}  // namespace

void PrepareStrongSearch(Engine& e) {
  SearchState& s = e.search;
  s.GameKeys.clear();
  for (const PlayedMove& played : e.record.Played) s.GameKeys.push_back(played.Before.Key);
  s.GameKeys.push_back(e.board.Key);
  s.PathKeys[1] = e.board.Key;
  ++s.Hash.Generation;
}

std::int32_t StrongAlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  return Node(e, alpha, beta, depth, true);
}

}  // namespace zandrell
