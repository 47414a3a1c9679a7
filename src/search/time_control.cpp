#include "search/time_control.h"

#include <algorithm>
#include <limits>

#include "search/alpha_beta.h"

namespace zandrell {

namespace {
constexpr double kBankShare = 0.666;
constexpr double kShortClock = 60.0;
// The clock is never run below the larger of these, plus the time it takes the
// move to reach the interface.
constexpr double kMinimumReserve = 0.030;
constexpr double kReserveShare = 0.05;
constexpr double kSendOverhead = 0.005;
// In a control of several moves a move gets at least this share of the clock
// per move still to come, and at most what leaves the later moves as much.
constexpr double kLeastShareOfMove = 0.25;
// What passes between the engine's move and xboard's clock stopping.
constexpr double kXboardOverhead = 0.02;
}  // namespace

int MovesToNextControl(const Engine& e) {
  const GameState& g = e.game;
  if (g.MovesPerControl < 2) return 0;
  // Each side has played half of the plies since the start, rounded down,
  // whichever side began.
  const int played = static_cast<int>(e.record.Played.size()) / 2;
  return g.MovesPerControl - played % g.MovesPerControl;
}

float AllotTime(GameState& g, int movesToGo) {
  if (g.MovesPerControl == 1) return static_cast<float>(g.BaseTime);
  if (g.MovesPerControl >= 2) {
    double r = static_cast<double>(g.BaseTime) / g.MovesPerControl - 1.0;
    if (g.TimeBank >= 1.0) {
      r += kBankShare * g.TimeBank;
      g.TimeBank -= kBankShare * g.TimeBank;
    }
    // A control of a second a move or less would leave nothing to think with,
    // and one nearly spent must not give its last second to one move.
    const int left = movesToGo > 0 ? movesToGo : g.MovesPerControl;
    const double own = std::max(0.0, static_cast<double>(g.OwnTime));
    const double least = kLeastShareOfMove * own / left;
    const double most = 2.0 * own / (left + 1);
    return static_cast<float>(std::clamp(r, least, most));
  }
  // The whole game is one control: the further behind on the clock, the less per move.
  const double own = g.OwnTime;
  const double lag = g.OpponentTime - own;
  double divisor = 30.0;
  if (lag > g.OpponentTime / 10.0) {
    divisor = 40.0;
  } else if (lag > g.OpponentTime / 20.0) {
    divisor = 35.0;
  }
  if (own > kShortClock) {
    double r = own / divisor;
    if (own - r - g.Increment > 1.0) r += g.Increment;
    return static_cast<float>(r);
  }
  double r = 1.0;
  if (own - 1.0 - g.Increment > 1.0) {
    r = g.Increment + 1.0;
  } else if (own < 2.0) {
    // A whole second with less than two left would soon lose on time.
    r = own > 0.0 ? own / 2.0 : 0.0;
  }
  return static_cast<float>(r);
}

double MoveTimeLimit(const GameState& g) {
  if (IsFixedDepth(g) || (g.MovesPerControl == 1 && g.FixedTimePerMove)) {
    return std::numeric_limits<double>::infinity();
  }
  const double own = g.OwnTime;
  const double reserve = std::max(kMinimumReserve, kReserveShare * own) + kSendOverhead;
  return std::max(0.0, own - reserve);
}

ClockReading GameClockReading(const Engine& e) {
  const GameState& g = e.game;
  ClockReading c;
  c.TimeLeft = g.OwnTime;
  c.Increment = g.IncrementSeconds;
  c.MovesToGo = g.MovesPerControl == 1 ? 1 : MovesToNextControl(e);
  c.OpponentTime = g.OpponentTime;
  c.Overhead = kXboardOverhead;
  return c;
}

void UpdateTimeBank(GameState& g, double timeForMove, double elapsed) {
  g.TimeBank += timeForMove - elapsed;
  if (g.MovesPerControl > 1 && g.Increment > 0) g.TimeBank += g.Increment;
}

void ChargeClock(GameState& g, double elapsed) {
  g.OwnTime = static_cast<float>(g.OwnTime - elapsed + g.Increment);
}

}  // namespace zandrell
