#include "search/time_budget.h"

#include <algorithm>
#include <cmath>

namespace zandrell {

namespace {

// A game with no moves to go is planned as if this many moves were left; later
// moves find less on the clock and so think less.
constexpr int kSuddenDeathHorizon = 30;
// Beyond this many moves to go the next control is too far off to count on.
constexpr int kLongestHorizon = 50;
// Never spent: a share of the clock, at least a few hundredths of a second and
// at most one second, on top of the overhead.
constexpr double kReserveShare = 0.05;
constexpr double kLeastReserve = 0.03;
constexpr double kMostReserve = 1.0;
// One move may take a few optimums when its search needs them, never most of
// what is left.
constexpr double kMaximumOverOptimum = 5.0;
constexpr double kMostOfClock = 0.6;
// However large the increment, a move thinks on what is on the clock now.
constexpr double kMostOfClockUsually = 0.5;
// Behind on the clock the engine speeds up a little, never below this share.
constexpr double kLeastPaceBehind = 0.7;
// Sane ranges: no clock of a real game is longer, and no overhead longer.
constexpr double kLongestClock = 1.0e7;
constexpr double kLongestOverhead = 60.0;

double Sane(double seconds, double most) {
  if (!std::isfinite(seconds)) return seconds > 0.0 ? most : 0.0;
  return std::clamp(seconds, 0.0, most);
}

}  // namespace

TimeBudget PlanTime(const ClockReading& clock) {
  const double time = Sane(clock.TimeLeft, kLongestClock);
  const double increment = Sane(clock.Increment, kLongestClock);
  const double overhead = Sane(clock.Overhead, kLongestOverhead);
  const double reserve = std::clamp(kReserveShare * time, kLeastReserve, kMostReserve) + overhead;
  const double usable = std::max(0.0, time - reserve);
  const int horizon =
      clock.MovesToGo > 0 ? std::min(clock.MovesToGo, kLongestHorizon) : kSuddenDeathHorizon;

  // What the moves up to the horizon have between them, their increments
  // (less each move's overhead) included.
  double pool = usable + (horizon - 1) * (increment - overhead);
  pool = std::max(pool, usable / 2.0);
  double optimum = pool / horizon;
  const double opponent = clock.OpponentTime;
  if (std::isfinite(opponent) && opponent > 0.0 && time < opponent) {
    optimum *= std::max(kLeastPaceBehind, time / opponent);
  }
  optimum = std::min(optimum, usable * kMostOfClockUsually);

  TimeBudget budget;
  budget.Maximum = std::min(optimum * kMaximumOverOptimum, usable * kMostOfClock);
  budget.Optimum = std::min(optimum, budget.Maximum);
  return budget;
}

}  // namespace zandrell
