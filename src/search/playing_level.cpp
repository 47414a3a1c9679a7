#include "search/playing_level.h"

#include <algorithm>

#include "engine/limits.h"

namespace zandrell {

LevelPlan PlanLevel(int elo) {
  elo = std::clamp(elo, kLowestLevelElo, kHighestLevelElo);
  const int below = kHighestLevelElo - elo;  // 0..1600
  LevelPlan plan;
  // A ply for every 150 Elo: one ply at the lowest level sees only what its
  // move takes and what is taken back at once.
  plan.MaxDepth = std::min(kMaxSearchDepth, 1 + (elo - kLowestLevelElo) / 150);
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
