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
}  // namespace

float AllotTime(GameState& g) {
  if (g.MovesPerControl == 1) return static_cast<float>(g.BaseTime);
  if (g.MovesPerControl >= 2) {
    double r = static_cast<double>(g.BaseTime) / g.MovesPerControl - 1.0;
    if (g.TimeBank >= 1.0) {
      r += kBankShare * g.TimeBank;
      g.TimeBank -= kBankShare * g.TimeBank;
    }
    return static_cast<float>(r);
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

float StrongAllotTime(GameState& g) {
  if (g.MovesPerControl != 0) return AllotTime(g);
  constexpr double kShareOfClock = 1.0 / 25.0;
  constexpr double kShareOfIncrement = 0.8;
  constexpr double kMostOfClock = 0.25;
  const double own = std::max(0.0, static_cast<double>(g.OwnTime));
  const double increment = std::max(0.0, g.IncrementSeconds);
  const double r = own * kShareOfClock + increment * kShareOfIncrement;
  return static_cast<float>(std::min(r, own * kMostOfClock));
}

double MoveTimeLimit(const GameState& g) {
  if (IsFixedDepth(g) || g.MovesPerControl == 1) return std::numeric_limits<double>::infinity();
  const double own = g.OwnTime;
  const double reserve = std::max(kMinimumReserve, kReserveShare * own) + kSendOverhead;
  return std::max(0.0, own - reserve);
}

void UpdateTimeBank(GameState& g, double timeForMove, double elapsed) {
  g.TimeBank += timeForMove - elapsed;
  if (g.MovesPerControl > 1 && g.Increment > 0) g.TimeBank += g.Increment;
}

void ChargeClock(GameState& g, double elapsed) {
  g.OwnTime = static_cast<float>(g.OwnTime - elapsed + g.Increment);
}

}  // namespace zandrell
