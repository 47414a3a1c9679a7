// Playing levels: lower levels see less and err more, and a choice among
// candidates never throws away a clearly better move at a high level.
#include "search/playing_level.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

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

}  // namespace
}  // namespace zandrell::test
