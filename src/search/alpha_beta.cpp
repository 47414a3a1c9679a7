#include "search/alpha_beta.h"

#include <algorithm>
#include <atomic>
#include <cassert>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "engine/thread_state.h"
#include "platform/platform.h"
#include "search/evaluate.h"
#include "search/material_score.h"
#include "search/move_order.h"
#include "search/search_interface.h"
#include "search/search_node.h"
#include "search/strong_search.h"

namespace zandrell {

namespace {

// Full-width nodes between two looks at the input: a few hundred microseconds of
// search, one system call.
constexpr int kInputCheckInterval = 1024;

// The caller's look at the input may ask the think to end.
// A helper that finished the current iteration's depth first ends it too.
inline bool StopRequested(SearchState& s) {
  if (s.StopRequested) return true;
  if (s.Reporter == nullptr || --s.InputCheckCountdown > 0) return false;
  s.InputCheckCountdown = kInputCheckInterval;
  s.Reporter->CheckInput();
  if (s.Overtaking != nullptr && HelperFinishedDepth(s)) {
    s.Overtaken = true;
    return true;
  }
  return s.StopRequested;
}

// The check made at every full-width node. The allotment binds from depth 4 on;
// the clock's hard limit binds at every depth.
inline bool OutOfTime(Engine& e) {
  SearchState& s = e.search;
  if (platform::TerminationRequested()) return true;
  if (StopRequested(s)) return true;
  if (s.NodeLimit > 0 && s.NodeCount >= s.NodeLimit) return true;
  if (s.FixedDepth) return false;
  const double now = platform::MonotonicSeconds();
  if (now >= s.HardDeadline) return true;
  if (s.IterationDepth <= 3) return false;
  return s.TimeForMove - (now - s.IterationStartTime) <= 0;
}

}  // namespace

bool HelperFinishedDepth(const SearchState& s) {
  const int deepest = s.Overtaking->DeepestFinished.load(std::memory_order_acquire);
  return deepest >= s.IterationDepth + s.DepthOffset && deepest <= s.MaxIterations + s.DepthOffset;
}

bool IsFixedDepth(const GameState& g) { return g.MaxDepth != 1000; }

void UpdatePv(SearchState& s, int p, const Move& m) {
  s.PvTable[p][p] = m;
  const int next = s.PvLength[p + 1];
  for (int j = p + 1; j < next; ++j) s.PvTable[p][j] = s.PvTable[p + 1][j];
  s.PvLength[p] = next;
}

void UpdateKillers(SearchState& s, int ply, const Move& m, std::int32_t score) {
  if (score > s.KillerScore[ply]) {
    s.KillerScore[ply] = score;
    s.KillerMove2[ply] = s.KillerMove1[ply];
    s.KillerMove1[ply] = m;
  }
}

namespace {

// Ordering score of each move, packed with its list index into keys.
// Captures-only lists score every move by its capture and leave out the history.
void ScoreMoves(Engine& e, const Move* list, int count, std::int64_t* keys, bool capturesOnly) {
  SearchState& s = e.search;
  const BoardState& b = e.board;
  const auto& value = e.tables.PieceValue;
  const int ply = b.Ply;
  const Move& killer1 = s.KillerMove1[ply];
  const Move& killer2 = s.KillerMove2[ply];
  const bool onPv = s.FollowPv;

  // Stays set only when this node's list holds the root line's move for this ply.
  if (onPv) s.FollowPv = false;
  const Move& pvMove = s.PvTable[1][ply];

  for (int i = 0; i < count; ++i) {
    const Move& m = list[i];
    std::int32_t score;
    if (capturesOnly || m.Captured != kEmpty) {
      score = value[m.Captured] - value[b.Board[m.From]];
    } else {
      score = kQuietMoveBase;
    }
    if (onPv && SameMove(m, pvMove)) {
      score += kPvMoveBonus;
      s.FollowPv = true;
    } else {
      if (!capturesOnly) score += s.HistoryTable[m.From][m.To];
      if (SameMove(m, killer1)) {
        score += kFirstKillerBonus;
      } else if (SameMove(m, killer2)) {
        score += kSecondKillerBonus;
      }
    }
    keys[i] = static_cast<std::int64_t>(score) * 256 + i;
  }
}

}  // namespace

void OrderMoves(Engine& e, Move* list, int count) {
  MoveOrder order;
  ScoreMoves(e, list, count, order.Keys, false);
  order.Start(count);
  Move sorted[kMaxMoves];
  for (int i = 0; i < count; ++i) sorted[i] = list[order.At(i)];
  std::copy(sorted, sorted + count, list);
}

namespace {

std::int32_t QuiesceNode(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

std::int32_t AlphaBetaNode(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  if (OutOfTime(e)) {
    s.TimeUp = true;
    return 0;
  }
  if (depth == 0) return QuiesceNode(e, alpha, beta, kQuiesceDepthLimit);

  const bool inCheck = InCheck(b);
  if (inCheck && b.Ply < kCheckExtensionPlyLimit) ++depth;

  s.PvLength[b.Ply] = b.Ply;
  MoveList list;
  GenerateMoves(b, list);
  MoveOrder order;
  ScoreMoves(e, list.Moves, list.Count, order.Keys, false);
  order.Start(list.Count);

  bool anyLegal = false;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[order.At(i)];
    std::int32_t score = 0;
    const PieceTerms terms = s.Terms;
    const bool legal = MakeSearchMove(b, s, m);
    if (legal) {
      ++s.NodeCount;
      anyLegal = true;
      score = -AlphaBetaNode(e, -beta, -alpha, depth - 1);
    }
    --b.Ply;
    UnmakeMove(b, m);
    s.Terms = terms;
    if (s.TimeUp) return 0;
    if (legal && score > alpha) {
      s.HistoryTable[m.From][m.To] += depth;
      UpdateKillers(s, b.Ply, m, score);
      if (score >= beta) return beta;
      alpha = score;
      UpdatePv(s, b.Ply, m);
    }
  }

  if (!anyLegal) return inCheck ? b.Ply - kMateScore : e.tables.Contempt;
  if (b.FiftyCount > 100) return e.tables.Contempt;
  return alpha;
}

std::int32_t QuiesceNode(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  SearchState& s = e.search;
  BoardState& b = e.board;
#ifndef NDEBUG
  const PieceTerms recount = PieceTermsOf(b, s);
  assert(s.Terms.Material == recount.Material && s.Terms.QueensAway == recount.QueensAway &&
         s.Terms.PawnFiles == recount.PawnFiles && s.Terms.RookFiles == recount.RookFiles);
#endif
  if (depth == 0) return EvaluateWithMaterial(b, s);

  const std::int32_t stand = EvaluateWithMaterial(b, s);
  if (stand >= beta) return stand;
  if (stand > alpha) alpha = stand;

  MoveList list;
  GenerateMoves(b, list, GenerationMode::kCapturesOnly);
  s.PvLength[b.Ply] = b.Ply;
  MoveOrder order;
  ScoreMoves(e, list.Moves, list.Count, order.Keys, true);
  order.Start(list.Count);

  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[order.At(i)];
    std::int32_t score = 0;
    const PieceTerms terms = s.Terms;
    const bool legal = MakeSearchMove(b, s, m);
    if (legal) {
      ++s.NodeCount;
      ++s.QNodeCount;
      score = -QuiesceNode(e, -beta, -alpha, depth - 1);
    }
    --b.Ply;
    UnmakeMove(b, m);
    s.Terms = terms;
    if (legal && score > alpha) {
      UpdateKillers(s, b.Ply, m, score);
      if (score >= beta) return beta;
      alpha = score;
      UpdatePv(s, b.Ply, m);
    }
  }
  return alpha;
}

}  // namespace

// The entry points start the piece terms from the whole board; below them the search
// keeps it up to date with each move.
// With the hash table on, the stronger search takes over below the root.
std::int32_t AlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  e.search.Terms = PieceTermsOf(e.board, e.search);
  if (e.search.Strong) return StrongAlphaBeta(e, alpha, beta, depth);
  return AlphaBetaNode(e, alpha, beta, depth);
}

std::int32_t Quiesce(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  e.search.Terms = PieceTermsOf(e.board, e.search);
  return QuiesceNode(e, alpha, beta, depth);
}

bool NodeOutOfTime(Engine& e) { return OutOfTime(e); }

}  // namespace zandrell
