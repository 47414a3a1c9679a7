#pragma once
// Playing below full strength: a level in Elo shortens the search and lets the
// engine take, now and then, a move a little worse than its best, as a weaker
// player does; it never plays at random.
#include <cstdint>

namespace zandrell {

constexpr int kLowestLevelElo = 800;
constexpr int kHighestLevelElo = 2400;

struct LevelPlan {
  int MaxDepth = 0;         // the deepest iteration
  int Candidates = 1;       // best lines searched to choose among
  std::int32_t Spread = 0;  // centipawns of noise a candidate's score may gain
};

// The plan for a level (kLowestLevelElo..kHighestLevelElo; outside: clamped).
LevelPlan PlanLevel(int elo);

// The candidate a player of the plan's spread chooses: the highest score after
// each gains a random share of the spread. Scores best first; random is the
// generator's state, advanced.
int PickCandidate(const std::int32_t* scores, int count, std::int32_t spread,
                  std::uint64_t& random);

// The next number of a small generator (xorshift64*); a zero state is moved off
// zero.
std::uint64_t NextRandom(std::uint64_t& state);

}  // namespace zandrell
