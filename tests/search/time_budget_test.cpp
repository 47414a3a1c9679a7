#include "search/time_budget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zandrell::test {
namespace {

struct BudgetCase {
  const char* Name;
  ClockReading Clock;
  double OptimumLow, OptimumHigh;  // seconds
  double MaximumLow, MaximumHigh;
};

// Every clock a game can show: the optimum is a sensible think for it, the
// maximum a few optimums, and neither ever reaches the clock less its overhead.
TEST(TimeBudget, EveryClockIsSharedOutSensibly) {
  const double inf = std::numeric_limits<double>::infinity();
  const BudgetCase cases[] = {
      {"sudden death 5 min", {300, 0, 0, 300, 0.01}, 8, 11, 40, 55},
      {"sudden death 10 s", {10, 0, 0, 10, 0.01}, 0.25, 0.35, 1.2, 1.7},
      {"10 s + 0.1 s", {10, 0.1, 0, 10, 0.01}, 0.35, 0.45, 1.7, 2.2},
      {"3 s + 2 s", {3, 2, 0, 3, 0.01}, 1.4, 1.45, 1.65, 1.75},
      {"increment larger than the clock", {1, 2, 0, 1, 0.01}, 0.45, 0.5, 0.55, 0.6},
      {"40 moves in 20 s", {20, 0, 40, 20, 0.01}, 0.45, 0.5, 2.2, 2.5},
      {"2 moves to go", {10, 0, 2, 10, 0.01}, 4.7, 4.8, 5.65, 5.75},
      {"last move of the control", {10, 0, 1, 10, 0.01}, 4.7, 4.8, 5.65, 5.75},
      {"150 ms left", {0.15, 0, 0, 10, 0.01}, 0.001, 0.005, 0.005, 0.025},
      {"a few milliseconds", {0.004, 0, 0, 10, 0.01}, 0, 0, 0, 0},
      {"overhead larger than the clock", {0.5, 0, 0, 0.5, 1}, 0, 0, 0, 0},
      {"behind the opponent", {10, 0, 0, 20, 0.01}, 0.15, 0.25, 0.9, 1.2},
      {"no clock at all", {0, 0, 0, -1, 0.01}, 0, 0, 0, 0},
      {"a clock past any game", {inf, inf, 0, inf, 0.01}, 1e5, 1e7, 1e6, 1e7},
      {"nonsense", {std::nan(""), -5, -3, std::nan(""), -1}, 0, 0, 0, 0},
  };
  for (const BudgetCase& c : cases) {
    const TimeBudget b = PlanTime(c.Clock);
    EXPECT_GE(b.Optimum, c.OptimumLow) << c.Name;
    EXPECT_LE(b.Optimum, c.OptimumHigh) << c.Name;
    EXPECT_GE(b.Maximum, c.MaximumLow) << c.Name;
    EXPECT_LE(b.Maximum, c.MaximumHigh) << c.Name;
    EXPECT_LE(b.Optimum, b.Maximum) << c.Name;
    const double time = std::isfinite(c.Clock.TimeLeft) ? c.Clock.TimeLeft : 1e7;
    if (time > 0) {
      EXPECT_LT(b.Maximum, time) << c.Name;
    }
    EXPECT_GE(b.Optimum, 0.0) << c.Name;
  }
}

// More time, more moves to share it with, a bigger increment: each moves the
// optimum the way it should.
TEST(TimeBudget, TheOptimumFollowsTheClock) {
  const double overhead = 0.01;
  EXPECT_LT(PlanTime({10, 0, 0, -1, overhead}).Optimum, PlanTime({20, 0, 0, -1, overhead}).Optimum);
  EXPECT_GT(PlanTime({20, 0, 10, -1, overhead}).Optimum,
            PlanTime({20, 0, 40, -1, overhead}).Optimum);
  EXPECT_LT(PlanTime({20, 0, 0, -1, overhead}).Optimum, PlanTime({20, 1, 0, -1, overhead}).Optimum);
}

}  // namespace
}  // namespace zandrell::test
