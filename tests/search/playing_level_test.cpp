// Playing levels: lower levels see less and err more, and a choice among
// candidates never throws away a clearly better move at a high level.
#include "search/playing_level.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>

#include "engine/engine.h"
#include "search/level_reporter.h"
#include "search/root_common.h"

namespace zandrell::test {
namespace {

TEST(PlayingLevel, LowerLevelsSearchShallowerAndErrMore) {
  LevelPlan last = PlanLevel(kHighestLevelElo);
  EXPECT_EQ(last.Spread, 0);
  EXPECT_EQ(last.Candidates, 1);
  for (int elo = kHighestLevelElo - 100; elo >= kLowestLevelElo; elo -= 100) {
    const LevelPlan plan = PlanLevel(elo);
    EXPECT_LE(plan.MaxDepth, last.MaxDepth) << elo;
    EXPECT_GT(plan.Spread, last.Spread) << elo;
    EXPECT_GE(plan.Candidates, 2) << elo;
    EXPECT_GE(plan.MaxDepth, 1) << elo;
    last = plan;
  }
  EXPECT_EQ(PlanLevel(kLowestLevelElo).MaxDepth, 1);
  // Outside the scale: its ends.
  EXPECT_EQ(PlanLevel(100).Spread, PlanLevel(kLowestLevelElo).Spread);
  EXPECT_EQ(PlanLevel(9999).MaxDepth, PlanLevel(kHighestLevelElo).MaxDepth);
}

// Levels map onto plan strengths in order, the top level onto the strongest plan.
TEST(PlayingLevel, EveryLevelMapsOntoAPlanInOrder) {
  int last = kLowestPlanStrength;
  for (int elo = kLowestLevelElo; elo <= kHighestLevelElo; elo += 10) {
    const int strength = PlanStrengthOf(elo);
    EXPECT_GE(strength, last) << elo;
    EXPECT_LE(strength, kHighestPlanStrength) << elo;
    last = strength;
  }
  EXPECT_EQ(PlanStrengthOf(kHighestLevelElo), kHighestPlanStrength);
}

TEST(PlayingLevel, ChoicesVaryWithinTheSpreadAndNeverReachBeyondIt) {
  const std::array<std::int32_t, 4> scores = {40, 25, 10, -600};
  std::uint64_t random = 12345;
  std::set<int> chosen;
  for (int i = 0; i < 400; ++i) chosen.insert(PickCandidate(scores.data(), 4, 100, random));
  // Within a pawn of each other, each of the first three is played now and then;
  // the move that loses a piece never is.
  EXPECT_EQ(chosen, (std::set<int>{0, 1, 2}));
  for (int i = 0; i < 100; ++i) EXPECT_EQ(PickCandidate(scores.data(), 4, 0, random), 0);
  // The generator leaves a zero state.
  std::uint64_t zero = 0;
  EXPECT_NE(NextRandom(zero), NextRandom(zero));
}

// A depth cut short after its first line (here the mate in one the search
// found) leaves the choice to the full depth before it. When the level plays
// another move from there, the mate is not announced: a claim of a mate that
// did not happen forfeits the game.
TEST(PlayingLevel, AMoveChosenInsteadOfTheMateClaimsNoMate) {
  auto s = std::make_unique<SearchState>();
  SearchReporter caller;
  LevelReporter level(caller, *s, 1);
  auto fromTo = [](int from, int to) {
    Move m = kNoMove;
    m.From = static_cast<std::uint8_t>(from);
    m.To = static_cast<std::uint8_t>(to);
    return m;
  };
  const Move quiet = fromTo(50, 62);
  const Move other = fromTo(51, 63);
  const Move mate = fromTo(52, 88);
  auto report = [&](int depth, int line, std::int32_t score, const Move& m) {
    SearchReport r;
    r.Depth = depth;
    r.Line = line;
    r.Score = score;
    r.Pv = &m;
    r.PvLength = 1;
    level.IterationDone(r);
  };
  report(3, 1, 40, quiet);
  report(3, 2, 30, other);
  report(4, 1, kMateInOne, mate);
  s->GameEnd = kWhiteMates;
  LevelPlan plan;
  plan.Spread = 0;
  const Move played = level.Choose(*s, plan, mate, 1.0);
  EXPECT_TRUE(SameMove(played, quiet));
  EXPECT_EQ(s->GameEnd, kGameOn);
}

}  // namespace
}  // namespace zandrell::test
