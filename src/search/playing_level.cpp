#include "search/playing_level.h"

#include <algorithm>
#include <iterator>

#include "engine/limits.h"

namespace zandrell {

namespace {

// Plan strengths and the ratings they play at (to the nearest 50), on the
// rating lists' scale with fairymax at 1900, from matches at 10 s + 0.1 s
// against fairymax (openings from the suite, colours swapped): 2400 scored
// 58.8% (+61) and 2000 18.8% (-255) in 40 games each. The two weaker plans lie
// on the line through those two, which 1200's games against fairymax bear out;
// they are estimates until an anchor below fairymax measures them.
struct MeasuredPlan {
  int Strength;
  int Rating;
};
constexpr MeasuredPlan kMeasuredPlans[] = {{800, 750}, {1200, 1050}, {2000, 1650}, {2400, 1950}};

}  // namespace

int PlanStrengthOf(int elo) {
  elo = std::clamp(elo, kLowestLevelElo, kHighestLevelElo);
  const MeasuredPlan* below = std::begin(kMeasuredPlans);
  for (const MeasuredPlan& p : kMeasuredPlans) {
    if (p.Rating <= elo) below = &p;
  }
  if (below + 1 == std::end(kMeasuredPlans)) return below->Strength;
  const MeasuredPlan* above = below + 1;
  return below->Strength + (above->Strength - below->Strength) * (elo - below->Rating) /
                               std::max(1, above->Rating - below->Rating);
}

LevelPlan PlanLevel(int elo) {
  const int strength = std::clamp(PlanStrengthOf(elo), kLowestPlanStrength, kHighestPlanStrength);
  const int below = kHighestPlanStrength - strength;  // 0..1600
  LevelPlan plan;
  // A ply for every 150 of strength: one ply at the lowest level sees only what
  // its move takes and what is taken back at once.
  plan.MaxDepth = std::min(kMaxSearchDepth, 1 + (strength - kLowestPlanStrength) / 150);
  // The spread grows faster than linearly down the scale: near the top a level
  // errs by a fraction of a pawn, at the bottom by up to a minor piece.
  plan.Spread = below * below / 8000 + below / 16;
  plan.Candidates = plan.Spread > 0 ? 4 : 1;
  return plan;
}

std::uint64_t NextRandom(std::uint64_t& state) {
  if (state == 0) state = 0x9E3779B97F4A7C15ULL;
  state ^= state >> 12;
  state ^= state << 25;
  state ^= state >> 27;
  return state * 0x2545F4914F6CDD1DULL;
}

int PickCandidate(const std::int32_t* scores, int count, std::int32_t spread,
                  std::uint64_t& random) {
  int chosen = 0;
  std::int64_t bestValue = 0;
  for (int i = 0; i < count; ++i) {
    const std::int64_t share =
        spread > 0 ? static_cast<std::int64_t>(NextRandom(random) % 1024) : 0;
    const std::int64_t value = std::int64_t{scores[i]} * 1024 + share * spread;
    if (i == 0 || value > bestValue) {
      chosen = i;
      bestValue = value;
    }
  }
  return chosen;
}

}  // namespace zandrell
