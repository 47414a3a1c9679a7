#include "search/strong_root.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "engine/thread_state.h"
#include "platform/platform.h"
#include "search/alpha_beta.h"
#include "search/hash_table.h"
#include "search/root_common.h"
#include "search/root_search.h"
#include "search/strong_search.h"
#include "search/think_clock.h"

namespace zandrell {

namespace {

constexpr int kAspirationMinDepth = 4;
constexpr std::int32_t kAspirationWindow = 25;

bool IsMateScore(std::int32_t score) { return std::abs(score) >= kMateScore - kMaxPly; }

// Puts the root move at index i first, the others keeping their order.
void MoveToFront(MoveList& list, int i) {
  std::rotate(list.Moves, list.Moves + i, list.Moves + i + 1);
}

// Puts the move first if the list holds it.
void MoveFirst(MoveList& list, const Move& move) {
  for (int i = 1; i < list.Count; ++i) {
    if (SameMove(list.Moves[i], move)) {
      MoveToFront(list, i);
      return;
    }
  }
}

// The legal root moves the think may search, in the plain order with the
// table's move first.
void ListRootMoves(Engine& e) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  b.Ply = 1;
  MoveList all;
  GenerateMoves(b, all);
  OrderMoves(e, all.Moves, all.Count);
  HashEntry entry{};
  const Move tableMove = HashMove(ProbeHash(s.Hash, b.Key, entry) ? &entry : nullptr);
  MoveList& list = s.RootList;
  list.Count = 0;
  for (int i = 0; i < all.Count; ++i) {
    Move& m = all.Moves[i];
    if (!RootMoveWanted(s, m)) continue;
    MakeMove(b, m);
    b.Ply = 2;
    const bool legal = IsLegal(b, m);
    b.Ply = 1;
    UnmakeMove(b, m);
    if (legal) list.Moves[list.Count++] = m;
  }
  if (tableMove.From != 0) MoveFirst(list, tableMove);
}

struct Pass {
  Move Best = kNoMove;  // the move that raised alpha last (none: all failed low)
  std::int32_t Score = 0;
  bool Repeats = false;  // the best move repeats a position of the game a third time
  // The best move's line as the root keeps it: Line[1] is the move, LineLength
  // one more than the moves.
  std::array<Move, kMaxPly> Line{};
  int LineLength = 1;
};

// The best move m and, when its search ran to the end inside the window, the
// line below it.
void TakeLine(Pass& pass, SearchState& s, const Move& m, bool withLineBelow) {
  if (!withLineBelow) s.PvLength[2] = 2;
  UpdatePv(s, 1, m);
  pass.LineLength = s.PvLength[1];
  std::copy(&s.PvTable[1][0], &s.PvTable[1][0] + pass.LineLength, pass.Line.begin());
}

// One pass over the root moves within (alpha, beta) at depth. A move that
// raises alpha goes first for the passes after it.
Pass SearchRootMoves(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  MoveList& list = s.RootList;
  Pass pass;
  s.IterationStartTime = platform::MonotonicSeconds();
  s.TimeUp = false;
  s.RootMovesSearched = 0;
  s.FollowPv = true;
  b.Ply = 1;
  s.PvLength[1] = 1;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[i];
    MakeMove(b, m);
    b.Ply = 2;
    ++s.RootMovesSearched;
    ++s.NodeCount;
    std::int32_t score;
    bool proved = true;
    s.Keys[s.RootKeyIndex + 1] = b.Key;
    const bool repeats = RepeatsEarlierPosition(s, b);
    if (repeats) {
      // The third time in the game: a draw the engine may claim, not searched.
      score = e.tables.Contempt;
    } else if (i == 0) {
      score = -AlphaBeta(e, -beta, -alpha, depth - 1);
      proved = !s.TimeUp;
    } else {
      score = -AlphaBeta(e, -alpha - 1, -alpha, depth - 1);
      proved = !s.TimeUp;
      if (proved && score > alpha && score < beta) {
        // Cut short, the full window still leaves what the null window showed:
        // the move is better than those before it.
        const std::int32_t full = -AlphaBeta(e, -beta, -alpha, depth - 1);
        if (!s.TimeUp) score = full;
      }
    }
    b.Ply = 1;
    UnmakeMove(b, m);
    if (proved && score > alpha) {
      s.HistoryTable[m.From][m.To] += depth;
      pass.Best = m;
      pass.Score = std::min(score, beta);
      pass.Repeats = repeats;
      alpha = score;
      TakeLine(pass, s, m, !repeats && !s.TimeUp && score < beta);
      MoveToFront(list, i);
      if (!s.TimeUp && score < beta && s.Reporter != nullptr) {
        s.RootScore = score;
        s.Reporter->NewBest(RootReport(s, platform::MonotonicSeconds() - s.MoveStartTime));
      }
      if (score >= beta) break;
    }
    if (s.TimeUp) break;
  }
  return pass;
}

// A helper's finished iteration to leave for the engine's own thread, when it
// is the deepest yet.
void LeaveFinished(SearchState& s, const Pass& pass) {
  SharedThink& shared = *s.FinishedTo;
  const int depth = s.IterationDepth + s.DepthOffset;
  const std::lock_guard<std::mutex> lock(shared.FinishedLock);
  FinishedIteration& f = shared.Finished;
  if (depth <= f.Depth) return;
  f.Depth = depth;
  f.Score = pass.Score;
  f.Repeats = pass.Repeats;
  std::copy(pass.Line.begin(), pass.Line.begin() + pass.LineLength, f.Line.begin());
  f.LineLength = pass.LineLength;
  shared.DeepestFinished.store(depth, std::memory_order_release);
}

// A helper's iteration as deep as the one the engine's own thread is at, or
// deeper: it stands for that iteration, and the next starts below it.
bool TakeFinished(SearchState& s, Pass& pass) {
  if (s.Overtaking == nullptr || !HelperFinishedDepth(s)) return false;
  SharedThink& shared = *s.Overtaking;
  const std::lock_guard<std::mutex> lock(shared.FinishedLock);
  const FinishedIteration& f = shared.Finished;
  if (f.Depth > s.MaxIterations + s.DepthOffset) return false;  // deeper since: past the limit
  pass.Best = f.Line[1];
  pass.Score = f.Score;
  pass.Repeats = f.Repeats;
  std::copy(f.Line.begin(), f.Line.begin() + f.LineLength, pass.Line.begin());
  pass.LineLength = f.LineLength;
  s.IterationDepth = f.Depth - s.DepthOffset;
  // The helper's best move goes first in the next iteration here too.
  MoveFirst(s.RootList, pass.Best);
  return true;
}

// What the root saw of the game's end with its best move found.
void SetGameEnd(Engine& e, const Pass& finished) {
  SearchState& s = e.search;
  const BoardState& b = e.board;
  if (s.RootList.Count == 0) {
    s.GameEnd = InCheck(b) ? (b.WhiteToMove ? kBlackMates : kWhiteMates) : kDrawn;
  } else if (finished.Score == kMateInOne) {
    s.GameEnd = b.WhiteToMove ? kWhiteMates : kBlackMates;
  } else if (finished.Repeats) {
    s.GameEnd = kDrawByRepetition;
  } else if (b.FiftyCount > 100) {
    s.GameEnd = kDrawn;
  }
}

}  // namespace

Move DeepenStrong(Engine& e, int lines, SearchReporter& reporter, const std::uint8_t* saved) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  const double start = s.ThinkStart;
  PrepareStrongSearch(e);
  ListRootMoves(e);
  s.RootMovesTotal = s.RootList.Count;
  if (s.RootList.Count == 0) {
    SetGameEnd(e, Pass{});
    return kNoMove;
  }

  // The last finished iteration's result; before the first, its first move.
  Pass finished;
  bool anyFinished = false;
  finished.Best = s.RootList.Moves[0];
  TakeLine(finished, s, finished.Best, false);
  // Iterations in a row whose best move was the one before's.
  int stableIterations = 0;
  auto keep = [&](const Pass& pass) {
    if (s.FinishedTo == nullptr && !s.LevelSearch && !s.TimeUp) {
      const bool same = anyFinished && SameMove(pass.Best, finished.Best);
      stableIterations = same ? stableIterations + 1 : 0;
      AdjustSoftDeadline(s, stableIterations, anyFinished ? finished.Score - pass.Score : 0);
    }
    finished = pass;
    anyFinished = true;
    std::copy(pass.Line.begin(), pass.Line.begin() + pass.LineLength, &s.PvTable[1][0]);
    s.PvLength[1] = pass.LineLength;
    s.RootScore = pass.Score;
    s.ExpectedReply = pass.LineLength > 2 ? pass.Line[2] : kNoMove;
    reporter.IterationDone(RootReport(s, platform::MonotonicSeconds() - start));
    if (s.FinishedTo != nullptr && !s.TimeUp) LeaveFinished(s, pass);
  };
  // Helpers search one line: a think of several keeps to its own iterations.
  if (lines > 1) s.Overtaking = nullptr;

  for (s.IterationDepth = 1; s.IterationDepth <= s.MaxIterations; ++s.IterationDepth) {
    if (!IterationMayStart(s, start, platform::MonotonicSeconds())) break;
    if (Pass taken; TakeFinished(s, taken)) {
      keep(taken);
      continue;
    }
    if (s.FinishedTo != nullptr) {
      // A helper behind the engine's own thread skips ahead of it: two threads
      // at one depth find the same move.
      const int ahead =
          s.FinishedTo->OwnIteration.load(std::memory_order_relaxed) + 1 - s.DepthOffset;
      s.IterationDepth = std::max(s.IterationDepth, std::min(ahead, s.MaxIterations));
    }
    if (s.Overtaking != nullptr) {
      s.Overtaking->OwnIteration.store(s.IterationDepth, std::memory_order_relaxed);
    }
    const int depth = s.IterationDepth + s.DepthOffset + (InCheck(b) ? 1 : 0);
    std::int32_t window = kAspirationWindow;
    std::int32_t alpha = -kMateScore;
    std::int32_t beta = kMateScore;
    if (s.IterationDepth >= kAspirationMinDepth && !IsMateScore(finished.Score)) {
      alpha = std::max(-kMateScore, finished.Score - window);
      beta = std::min(kMateScore, finished.Score + window);
    }
    // A move shown better than the last iteration's during this one: it beat
    // the moves searched before it, the last iteration's first among them.
    Pass better;
    for (;;) {
      // Each pass counts what is left of a plain allotment from its own start.
      s.TimeForMove = s.Allotment - std::fabs(platform::MonotonicSeconds() - start);
      const Pass pass = SearchRootMoves(e, alpha, beta, depth);
      std::memcpy(b.Board, saved, kSquareCount);
      ResetKillerScores(s);
      const bool changed =
          pass.Best.From != 0 && (!anyFinished || !SameMove(pass.Best, finished.Best));
      if (s.TimeUp) {
        if (changed) better = pass;
        break;
      }
      if (pass.Best.From != 0 && pass.Score > alpha && pass.Score < beta) {
        keep(pass);
        break;
      }
      window *= 2;
      if (pass.Best.From == 0 || pass.Score <= alpha) {
        // Failed low: the last best move may be losing; look lower.
        beta = (alpha + beta) / 2;
        alpha = std::max(-kMateScore, alpha - window);
      } else {
        // Failed high: a move is better than hoped; look higher.
        if (changed) better = pass;
        beta = std::min(kMateScore, beta + window);
      }
    }
    if (s.Overtaken) {
      // A helper finished this depth first: its iteration stands for this one.
      s.Overtaken = false;
      s.TimeUp = false;
      // (Gone past the think's depth since: this one runs again.)
      if (Pass taken; TakeFinished(s, taken)) {
        keep(taken);
      } else {
        --s.IterationDepth;
      }
      continue;
    }
    if (s.TimeUp) {
      if (better.Best.From != 0) {
        keep(better);
      } else if (!anyFinished) {
        // Not even the first iteration finished: its first move is all there is.
        keep(finished);
      }
      break;
    }
    if (lines > 1) SearchMoreLines(e, lines, reporter, saved);
  }

  // What the last finished iteration found stands.
  s.RootScore = finished.Score;
  std::copy(finished.Line.begin(), finished.Line.begin() + finished.LineLength, &s.PvTable[1][0]);
  s.PvLength[1] = finished.LineLength;
  SetGameEnd(e, finished);
  return finished.Best;
}

}  // namespace zandrell
