#include "search/root_search.h"

#include <algorithm>
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
#include "search/search_interface.h"
#include "search/strong_search.h"
#include "search/time_control.h"

namespace zandrell {

namespace {

constexpr int kFixedDepthIterations = 300;
constexpr int kTimedIterations = 30;
constexpr int kShortClockIterations = 3;
constexpr double kLateIterationShare = 0.666;
constexpr std::int32_t kMateInOne = kMateScore - 2;

// Position text after the root move m (made on the board), computed once per think.
const std::string& RootText(Engine& e, const Move& m) {
  auto& texts = e.search.RootTexts;
  for (const auto& entry : texts) {
    if (SameMove(entry.first, m)) return entry.second;
  }
  texts.emplace_back(m, PositionText(e.board));
  return texts.back().second;
}

int SeenCount(const Engine& e, const std::string& key) {
  auto it = e.game.PositionCounts.find(key);
  return it == e.game.PositionCounts.end() ? 0 : it->second;
}

void ResetKillerScores(SearchState& s) {
  std::copy(KillerScoreReset.begin(), KillerScoreReset.end(), std::begin(s.KillerScore));
}

bool Listed(const std::vector<Move>& moves, const Move& m) {
  return std::any_of(moves.begin(), moves.end(), [&](const Move& x) { return SameMove(x, m); });
}

// Whether the current iteration searches the root move m at all.
bool RootMoveWanted(const SearchState& s, const Move& m) {
  if (!s.RootOnly.empty() && !Listed(s.RootOnly, m)) return false;
  return s.RootSkipped.empty() || !Listed(s.RootSkipped, m);
}

int TimedIterations(const GameState& g, float alloc) {
  // Under ten seconds a second or less per move: three iterations are plenty.
  return g.OwnTime <= 10.0f && alloc <= 1.0f ? kShortClockIterations : kTimedIterations;
}

// The iteration just finished found the best line; the next best lines of the
// same depth each leave out the root moves of the lines before them. The best
// line, its score and what the root saw of the game stay those of the best line.
void SearchMoreLines(Engine& e, int lines, SearchReporter& reporter, const std::uint8_t* saved) {
  SearchState& s = e.search;
  const int bestLength = s.PvLength[1];
  const std::vector<Move> bestLine(&s.PvTable[1][0], &s.PvTable[1][0] + kMaxPly);
  const std::int32_t bestScore = s.RootScore;
  const std::int32_t gameEnd = s.GameEnd;
  s.RootSkipped.assign(1, bestLine[1]);
  for (int line = 2; line <= lines; ++line) {
    s.FollowPv = false;
    const Move m = RootSearch(e, -kMateScore, kMateScore, s.IterationDepth);
    std::memcpy(e.board.Board, saved, kSquareCount);
    ResetKillerScores(s);
    if (m.From == 0 || s.TimeUp) break;
    SearchReport report = RootReport(s, platform::MonotonicSeconds() - s.ThinkStart);
    report.Line = line;
    reporter.IterationDone(report);
    s.RootSkipped.push_back(m);
  }
  s.RootSkipped.clear();
  std::copy(bestLine.begin(), bestLine.end(), &s.PvTable[1][0]);
  s.PvLength[1] = bestLength;
  s.RootScore = bestScore;
  s.GameEnd = gameEnd;
}

}  // namespace

SearchReport RootReport(const SearchState& s, double elapsed) {
  SearchReport r;
  r.Depth = s.IterationDepth;
  r.Score = s.RootScore;
  r.Elapsed = elapsed;
  r.Nodes = s.NodeCount;
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
    line += MoveToText(r.Pv[k]);
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
  const double start = platform::MonotonicSeconds();
  float alloc;
  int maxIterations;
  if (limits.GameClock) {
    const bool strong = HashEnabled(s);
    alloc = strong ? StrongAllotTime(g) : AllotTime(g);
    s.FixedDepth = IsFixedDepth(g);
    s.NodeLimit = 0;
    if (s.FixedDepth) {
      maxIterations = std::min({kFixedDepthIterations, g.MaxDepth, kMaxSearchDepth});
    } else {
      // The hash table's clock use has no cap at a short clock.
      maxIterations = strong ? kTimedIterations : TimedIterations(g, alloc);
    }
    s.HardDeadline = start + MoveTimeLimit(g);
  } else {
    constexpr float kNoAllotment = std::numeric_limits<float>::infinity();
    alloc = limits.Allotment > 0.0f ? limits.Allotment : kNoAllotment;
    double hard = std::numeric_limits<double>::infinity();
    if (limits.MoveTime > 0.0) hard = limits.MoveTime;
    if (limits.HardLimit > 0.0) hard = std::min(hard, limits.HardLimit);
    s.FixedDepth = limits.Allotment <= 0.0f && hard == std::numeric_limits<double>::infinity();
    s.NodeLimit = limits.Nodes;
    maxIterations = limits.Depth > 0 ? std::min(limits.Depth, kMaxSearchDepth) : kMaxSearchDepth;
    s.HardDeadline = start + hard;
  }
  s.TimeForMove = alloc;
  s.ThinkStart = start;
  s.Allotment = alloc;
  s.MaxIterations = maxIterations;
  s.RootOnly = limits.RootMoves;
  s.RootSkipped.clear();

  std::uint8_t saved[kSquareCount];
  std::memcpy(saved, b.Board, sizeof saved);
  std::fill(&s.HistoryTable[0][0], &s.HistoryTable[0][0] + kSquareCount * kSquareCount, 0);
  std::fill(&s.PvTable[0][0], &s.PvTable[0][0] + kMaxPly * kMaxPly, kNoMove);
  s.RootTexts.clear();
  SelectPhaseTables(b, e.tables, s);
  if (HashEnabled(s)) PrepareStrongSearch(e);
  std::fill(std::begin(s.KillerMove1), std::end(s.KillerMove1), kNoMove);
  std::fill(std::begin(s.KillerMove2), std::end(s.KillerMove2), kNoMove);
  ResetKillerScores(s);

  Move best = kNoMove;
  for (s.IterationDepth = 1; s.IterationDepth <= s.MaxIterations; ++s.IterationDepth) {
    const double used = std::fabs(platform::MonotonicSeconds() - start);
    s.TimeForMove = s.Allotment - used;
    if (!s.FixedDepth) {
      if (used > kLateIterationShare * s.Allotment && s.IterationDepth > 3) break;
      if (used > s.Allotment && s.IterationDepth > 1) break;
      if (start + used >= s.HardDeadline && s.IterationDepth > 1) break;
    }
    // Asked to end: keep what the finished iterations found.
    if (s.IterationDepth > 1 && (platform::TerminationRequested() || s.StopRequested)) break;
    if (s.IterationDepth > 1 && s.NodeLimit > 0 && s.NodeCount >= s.NodeLimit) break;

    s.FollowPv = true;
    Move r = RootSearch(e, -kMateScore, kMateScore, s.IterationDepth);
    if (!s.TimeUp || s.IterationDepth == 1) {
      best = r;
      s.ExpectedReply = s.PvLength[1] > 2 ? s.PvTable[1][2] : kNoMove;
      reporter.IterationDone(RootReport(s, platform::MonotonicSeconds() - start));
    }
    std::memcpy(b.Board, saved, sizeof saved);
    ResetKillerScores(s);
    if (limits.Lines > 1 && !s.TimeUp) SearchMoreLines(e, limits.Lines, reporter, saved);
  }
  s.RootOnly.clear();

  if (s.NodeCount > 0) {
    s.QNodePercent = static_cast<double>(s.QNodeCount) / static_cast<double>(s.NodeCount) * 100.0;
  }
  if (limits.GameClock) {
    UpdateTimeBank(g, s.TimeForMove, std::fabs(platform::MonotonicSeconds() - start));
  }
  s.Reporter = nullptr;
  return best;
}

void PutThinkOnGameClock(Engine& e) {
  SearchState& s = e.search;
  GameState& g = e.game;
  const double now = platform::MonotonicSeconds();
  const float alloc = AllotTime(g);
  s.FixedDepth = IsFixedDepth(g);
  if (s.FixedDepth) {
    s.MaxIterations = std::min({kFixedDepthIterations, g.MaxDepth, kMaxSearchDepth});
    return;
  }
  // The allotment counts from now: the time already spent was the opponent's.
  s.Allotment = static_cast<float>(std::fabs(now - s.ThinkStart) + alloc);
  s.TimeForMove = s.Allotment - std::fabs(s.IterationStartTime - s.ThinkStart);
  s.HardDeadline = now + MoveTimeLimit(g);
  s.MaxIterations = TimedIterations(g, alloc);
}

}  // namespace zandrell
