#pragma once
// Playing below full strength: a level in Elo shortens the search and lets the
// engine take, now and then, a move a little worse than its best, as a weaker
// player does; it never plays at random.
#include <cstdint>

#include "engine/limits.h"

namespace zandrell {

// The plans run from a strength of 800 (one ply, a wide spread) to 2400 (eleven
// plies, no spread); a level in Elo (kLowestLevelElo..kHighestLevelElo) is the
// rating a plan measured in matches (playing_level.cpp).
constexpr int kLowestPlanStrength = 800;
constexpr int kHighestPlanStrength = 2400;

struct LevelPlan {
  int MaxDepth = 0;         // the deepest iteration
  int Candidates = 1;       // best lines searched to choose among
  std::int32_t Spread = 0;  // centipawns of noise a candidate's score may gain
};

// The plan for a level (kLowestLevelElo..kHighestLevelElo; outside: clamped).
LevelPlan PlanLevel(int elo);
// The plan strength that measured as the level (kLowestPlanStrength..kHighestPlanStrength).
int PlanStrengthOf(int elo);

// The candidate a player of the plan's spread chooses: the highest score after
// each gains a random share of the spread. Scores best first; random is the
// generator's state, advanced.
int PickCandidate(const std::int32_t* scores, int count, std::int32_t spread,
                  std::uint64_t& random);

// The next number of a small generator (xorshift64*); a zero state is moved off
// zero.
std::uint64_t NextRandom(std::uint64_t& state);

}  // namespace zandrell
