#include "search/root_search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "board/position_text.h"
#include "book/book.h"
#include "platform/platform.h"
#include "search/alpha_beta.h"
#include "search/evaluate.h"
#include "search/helper_threads.h"
#include "search/level_reporter.h"
#include "search/playing_level.h"
#include "search/root_common.h"
#include "search/search_interface.h"
#include "search/strong_root.h"
#include "search/strong_search.h"
#include "search/think_clock.h"
#include "search/time_control.h"

namespace zandrell {

namespace {

// The plain search's iterations, one RootSearch per depth.
Move DeepenPlain(Engine& e, int lines, SearchReporter& reporter, const std::uint8_t* saved,
                 double start) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  Move best = kNoMove;
  for (s.IterationDepth = 1; s.IterationDepth <= s.MaxIterations; ++s.IterationDepth) {
    const double now = platform::MonotonicSeconds();
    s.TimeForMove = s.Allotment - std::fabs(now - start);
    if (!IterationMayStart(s, start, now)) break;

    s.FollowPv = true;
    Move r = RootSearch(e, -kMateScore, kMateScore, s.IterationDepth);
    if (!s.TimeUp || s.IterationDepth == 1) {
      best = r;
      s.ExpectedReply = s.PvLength[1] > 2 ? s.PvTable[1][2] : kNoMove;
      reporter.IterationDone(RootReport(s, platform::MonotonicSeconds() - start));
    }
    std::memcpy(b.Board, saved, kSquareCount);
    ResetKillerScores(s);
    if (lines > 1 && !s.TimeUp) SearchMoreLines(e, lines, reporter, saved);
  }
  return best;
}

// A think at a playing level: no deeper than the level sees, with a few best
// lines to choose the move among.
Move DeepenAtLevel(Engine& e, const SearchLimits& limits, SearchReporter& reporter,
                   const std::uint8_t* saved, double start) {
  SearchState& s = e.search;
  const LevelPlan plan = PlanLevel(limits.LevelElo);
  s.MaxIterations = std::min(s.MaxIterations, plan.MaxDepth);
  LevelReporter level(reporter, s, limits.Lines);
  s.Reporter = &level;
  const int lines = std::max(limits.Lines, plan.Candidates);
  const Move best =
      s.Strong ? DeepenStrong(e, lines, level, saved) : DeepenPlain(e, lines, level, saved, start);
  s.Reporter = &reporter;
  if (best.From == 0) return best;
  return level.Choose(s, plan, best, platform::MonotonicSeconds() - start);
}

}  // namespace

std::int64_t NodesSearched(const SearchState& s) {
  return s.NodeCount +
         (s.HelperNodes != nullptr ? s.HelperNodes->load(std::memory_order_relaxed) : 0);
}

SearchReport RootReport(const SearchState& s, double elapsed) {
  SearchReport r;
  r.Depth = s.IterationDepth;
  r.Score = s.RootScore;
  r.Elapsed = elapsed;
  r.Nodes = NodesSearched(s);
  r.Pv = &s.PvTable[1][1];
  r.PvLength = s.PvLength[1] - 1;
  return r;
}

std::string ThinkingLine(const SearchReport& r) {
  const long long hundredths = static_cast<long long>(std::floor(std::fabs(r.Elapsed))) * 100;
  std::string line = std::to_string(r.Depth);
  line += ' ';
  line += std::to_string(r.Score);
  line += ' ';
  line += std::to_string(hundredths);
  line += ' ';
  line += std::to_string(r.Nodes);
  for (int k = 0; k < r.PvLength; ++k) {
    line += ' ';
    line += MoveToGameText(r.Pv[k]);
  }
  return line;
}

std::string ThinkingLine(const SearchState& s, double elapsedSeconds) {
  return ThinkingLine(RootReport(s, elapsedSeconds));
}

Move RootSearch(Engine& e, std::int32_t alpha, std::int32_t beta, int depth) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  s.IterationStartTime = platform::MonotonicSeconds();
  bool first = true;
  int repetitionIndex = -1;
  std::string repetitionKey;
  int bestIndex = -1;
  Move best = kNoMove;
  bool anyLegal = false;
  std::int32_t lastScore = 0;
  s.TimeUp = false;
  b.Ply = 1;
  s.PvLength[1] = 1;

  if (InCheck(b)) ++depth;

  MoveList list;
  GenerateMoves(b, list);
  OrderMoves(e, list.Moves, list.Count);

  s.RootMovesSearched = 0;
  for (int i = 0; i < list.Count; ++i) {
    Move& m = list.Moves[i];
    if (!RootMoveWanted(s, m)) continue;
    std::int32_t score = 0;
    bool usable = false;
    MakeMove(b, m);
    b.Ply = 2;
    const bool legal = IsLegal(b, m);
    if (legal) {
      ++s.RootMovesSearched;
      ++s.NodeCount;
      anyLegal = true;
      const std::string& key = RootText(e, m);
      if (SeenCount(e, key) >= 1) {
        // Back to a position of the game: scored as a draw, not searched. With the
        // hash table on, its line ends with it, not with the line an earlier root
        // move's search left below.
        score = e.tables.Contempt;
        if (HashEnabled(s)) s.PvLength[2] = 2;
        repetitionIndex = i;
        repetitionKey = key;
      } else {
        score = -AlphaBeta(e, -beta, -alpha, depth - 1);
      }
      usable = !s.TimeUp || first;
      first = false;
      lastScore = score;
    }
    b.Ply = 1;
    UnmakeMove(b, m);

    if (legal && usable && score > alpha) {
      s.HistoryTable[m.From][m.To] += depth;
      if (!s.TimeUp) UpdateKillers(s, 1, m, score);
      best = m;
      bestIndex = i;
      s.RootScore = score;
      alpha = score;
      UpdatePv(s, 1, m);
      if (!s.TimeUp && s.Reporter != nullptr) {
        s.Reporter->NewBest(RootReport(s, platform::MonotonicSeconds() - s.MoveStartTime));
      }
    }
    if (s.TimeUp && !first) break;
  }

  // What this iteration saw of the game's end; a later one may see more.
  std::int32_t& end = s.GameEnd;
  if (!anyLegal) {
    if (InCheck(b)) {
      end = b.WhiteToMove ? kBlackMates : kWhiteMates;
    } else {
      end = kDrawn;
    }
  } else if (lastScore == kMateInOne) {
    end = b.WhiteToMove ? kWhiteMates : kBlackMates;
  } else if (repetitionIndex != -1) {
    if (repetitionIndex == bestIndex && SeenCount(e, repetitionKey) == 2) end = kDrawByRepetition;
  } else if (b.FiftyCount > 100) {
    end = kDrawn;
  }
  return best;
}

Move Think(Engine& e, const SearchLimits& limits, SearchReporter& reporter) {
  SearchState& s = e.search;
  BoardState& b = e.board;
  GameState& g = e.game;
  s.RootScore = -kMateScore;
  s.GameEnd = kGameOn;
  s.StopRequested = false;
  s.Reporter = &reporter;
  s.ExpectedReply = kNoMove;

  if (limits.UseBook && b.BookPly < 20) {
    Move m = ProbeBook(e);
    if (m.From != 0) {
      s.RootScore = 0;
      reporter.BookMove(m);
      s.Reporter = nullptr;
      return m;
    }
  }

  s.NodeCount = 0;
  s.QNodeCount = 0;
  // Chosen once: the whole think runs the one search or the other.
  s.Strong = HashEnabled(s);
  s.LevelSearch = limits.LevelElo > 0;
  const double start = platform::MonotonicSeconds();
  SetThinkClock(e, limits, start);
  s.TimeForMove = s.Allotment;
  s.RootOnly = limits.RootMoves;
  s.RootSkipped.clear();

  std::uint8_t saved[kSquareCount];
  std::memcpy(saved, b.Board, sizeof saved);
  std::fill(&s.HistoryTable[0][0], &s.HistoryTable[0][0] + kSquareCount * kSquareCount, 0);
  std::fill(&s.PvTable[0][0], &s.PvTable[0][0] + kMaxPly * kMaxPly, kNoMove);
  s.RootTexts.clear();
  SelectPhaseTables(b, e.tables, s);
  std::fill(std::begin(s.KillerMove1), std::end(s.KillerMove1), kNoMove);
  std::fill(std::begin(s.KillerMove2), std::end(s.KillerMove2), kNoMove);
  ResetKillerScores(s);

  Move best;
  if (limits.LevelElo > 0) {
    best = DeepenAtLevel(e, limits, reporter, saved, start);
  } else if (s.Strong) {
    const HelperThreads helpers(e);
    best = DeepenStrong(e, limits.Lines, reporter, saved);
  } else {
    best = DeepenPlain(e, limits.Lines, reporter, saved, start);
  }
  s.RootOnly.clear();

  if (s.NodeCount > 0) {
    s.QNodePercent = static_cast<double>(s.QNodeCount) / static_cast<double>(s.NodeCount) * 100.0;
  }
  if (limits.GameClock && !s.OnBudget) {
    UpdateTimeBank(g, s.TimeForMove, std::fabs(platform::MonotonicSeconds() - start));
  }
  s.Reporter = nullptr;
  return best;
}

}  // namespace zandrell
