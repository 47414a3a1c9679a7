#include "search/root_common.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "board/position_text.h"
#include "platform/platform.h"
#include "search/root_search.h"

namespace zandrell {

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

namespace {

bool Listed(const std::vector<Move>& moves, const Move& m) {
  return std::any_of(moves.begin(), moves.end(), [&](const Move& x) { return SameMove(x, m); });
}

}  // namespace

bool RootMoveWanted(const SearchState& s, const Move& m) {
  if (!s.RootOnly.empty() && !Listed(s.RootOnly, m)) return false;
  return s.RootSkipped.empty() || !Listed(s.RootSkipped, m);
}

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

}  // namespace zandrell
