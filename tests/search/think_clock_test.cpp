#include "search/think_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zandrell::test {
namespace {

// A think on a budget starts no iteration past its soft deadline: the longer
// the best move has held the sooner that comes, and a new best move or a
// fallen score put it off; a think without a clock keeps none.
TEST(ThinkClock, TheBestMovesStabilityMovesTheSoftDeadline) {
  const auto e = std::make_unique<Engine>();
  SearchLimits limits;
  limits.Budget = TimeBudget{1.0, 5.0};
  SetThinkClock(*e, limits, 100.0);
  SearchState& s = e->search;
  const double usual = 100.0 + kSoftStopShare;
  EXPECT_DOUBLE_EQ(s.SoftDeadline, usual);

  AdjustSoftDeadline(s, 2, 0);
  EXPECT_DOUBLE_EQ(s.SoftDeadline, usual);
  AdjustSoftDeadline(s, 9, 0);
  const double settled = s.SoftDeadline;
  EXPECT_LT(settled, usual);
  AdjustSoftDeadline(s, 0, 0);
  const double changed = s.SoftDeadline;
  EXPECT_GT(changed, usual);
  AdjustSoftDeadline(s, 0, 500);
  const double fallen = s.SoftDeadline;
  EXPECT_GT(fallen, changed);
  // A score that rose is no reason to think longer; the largest fall counts
  // no more than its cap, and no stretch reaches the maximum.
  AdjustSoftDeadline(s, 0, -500);
  EXPECT_DOUBLE_EQ(s.SoftDeadline, changed);
  AdjustSoftDeadline(s, 0, 100000);
  EXPECT_DOUBLE_EQ(s.SoftDeadline, fallen);
  EXPECT_LT(fallen, s.HardDeadline);

  // Pondering: no clock, no deadline to move.
  SetThinkClock(*e, SearchLimits{}, 200.0);
  AdjustSoftDeadline(s, 0, 500);
  EXPECT_TRUE(std::isinf(s.SoftDeadline));
  AdjustSoftDeadline(s, 9, 0);
  EXPECT_TRUE(std::isinf(s.SoftDeadline));
}

}  // namespace
}  // namespace zandrell::test
