#pragma once
// How long to think on one move, as the strong engines share out a clock: an
// optimum (the usual think) and a maximum no think passes, from the clock alone.
namespace zandrell {

struct ClockReading {
  double TimeLeft = 0.0;       // seconds on the engine's clock
  double Increment = 0.0;      // seconds added after each move, fractions kept
  int MovesToGo = 0;           // moves to the next time control; 0: the rest of the game
  double OpponentTime = -1.0;  // seconds; negative: not known
  double Overhead = 0.0;       // seconds lost per move between the engine and the clock
};

struct TimeBudget {
  double Optimum = 0.0;  // seconds
  double Maximum = 0.0;  // seconds
};

TimeBudget PlanTime(const ClockReading& clock);

// A think on the budget starts no iteration past this share of the optimum: the
// next one would take several times as long as all before it.
inline constexpr double kSoftStopShare = 0.6;

}  // namespace zandrell
