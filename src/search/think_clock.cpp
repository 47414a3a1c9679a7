#include "search/think_clock.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/limits.h"
#include "platform/platform.h"
#include "search/alpha_beta.h"
#include "search/time_control.h"

namespace zandrell {

namespace {

constexpr int kFixedDepthIterations = 300;
constexpr int kTimedIterations = 30;
constexpr int kShortClockIterations = 3;
constexpr double kLateIterationShare = 0.666;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// The share of the usual think by how many iterations the best move has held.
constexpr double kStabilityScale[] = {1.5, 1.25, 1.0, 0.85, 0.7};
constexpr int kStableEnough = 4;
// The score's fall since the last iteration stretches the think by its share
// of kDropDoubling; a fall past kLargestDrop counts as that (half again).
constexpr double kDropDoubling = 160.0;
constexpr std::int32_t kLargestDrop = 80;

int TimedIterations(const GameState& g, float alloc) {
  // Under ten seconds a second or less per move: three iterations are plenty.
  return g.OwnTime <= 10.0f && alloc <= 1.0f ? kShortClockIterations : kTimedIterations;
}

void SetBudget(SearchState& s, const TimeBudget& budget, double start) {
  s.OnBudget = true;
  s.FixedDepth = false;
  s.BudgetOptimum = budget.Optimum;
  s.BudgetMaximum = budget.Maximum;
  // The plain allotment's checks never fire: the budget's deadlines rule.
  s.Allotment = std::numeric_limits<float>::infinity();
  s.SoftDeadline = start + kSoftStopShare * budget.Optimum;
  s.HardDeadline = start + budget.Maximum;
  s.MaxIterations = kMaxSearchDepth;
}

}  // namespace

void SetThinkClock(Engine& e, const SearchLimits& limits, double start) {
  SearchState& s = e.search;
  GameState& g = e.game;
  s.OnBudget = false;
  s.SoftDeadline = kInfinity;
  s.ThinkStart = start;
  if (limits.GameClock) {
    s.NodeLimit = 0;
    s.FixedDepth = IsFixedDepth(g);
    if (s.FixedDepth) {
      s.Allotment = AllotTime(g, MovesToNextControl(e));
      s.MaxIterations = std::min({kFixedDepthIterations, g.MaxDepth, kMaxSearchDepth});
      s.HardDeadline = start + MoveTimeLimit(g);
      return;
    }
    // The stronger search shares out the clock on a budget, and spends a fixed
    // time per move whole, as a UCI "movetime".
    if (s.Strong) {
      if (g.MovesPerControl == 1 && g.FixedTimePerMove) {
        s.Allotment = std::numeric_limits<float>::infinity();
        s.HardDeadline = start + std::max(0, g.BaseTime);
        s.MaxIterations = kMaxSearchDepth;
      } else {
        SetBudget(s, PlanTime(GameClockReading(e)), start);
      }
      return;
    }
    s.Allotment = AllotTime(g, MovesToNextControl(e));
    s.MaxIterations = TimedIterations(g, s.Allotment);
    s.HardDeadline = start + MoveTimeLimit(g);
    return;
  }
  s.NodeLimit = limits.Nodes;
  const int depthCap = limits.Depth > 0 ? std::min(limits.Depth, kMaxSearchDepth) : kMaxSearchDepth;
  if (limits.Budget.Maximum > 0.0) {
    SetBudget(s, limits.Budget, start);
    if (limits.MoveTime > 0.0) s.HardDeadline = std::min(s.HardDeadline, start + limits.MoveTime);
    s.MaxIterations = depthCap;
    return;
  }
  s.Allotment = std::numeric_limits<float>::infinity();
  const double hard = limits.MoveTime > 0.0 ? limits.MoveTime : kInfinity;
  s.FixedDepth = hard == kInfinity;
  s.HardDeadline = start + hard;
  s.MaxIterations = depthCap;
}

bool IterationMayStart(const SearchState& s, double start, double now) {
  if (s.IterationDepth == 1) return true;
  // Asked to end: keep what the finished iterations found.
  if (platform::TerminationRequested() || s.StopRequested) return false;
  if (s.NodeLimit > 0 && s.NodeCount >= s.NodeLimit) return false;
  if (s.FixedDepth) return true;
  if (now >= s.HardDeadline) return false;
  if (s.OnBudget) return now < s.SoftDeadline;
  const double used = std::fabs(now - start);
  if (used > kLateIterationShare * s.Allotment && s.IterationDepth > 3) return false;
  return used <= s.Allotment;
}

void PutThinkOnBudget(Engine& e, const TimeBudget& budget) {
  SearchState& s = e.search;
  const double now = platform::MonotonicSeconds();
  SetBudget(s, budget, now);
  // The pondered time is a head start: the iterations it finished count, and
  // once it covers the usual share the iteration under way is the last and
  // may take no longer than the optimum.
  s.SoftDeadline = std::max(now, s.ThinkStart + kSoftStopShare * budget.Optimum);
  if (s.SoftDeadline == now) s.HardDeadline = now + budget.Optimum;
  s.MaxIterations = kMaxSearchDepth;
}

void AdjustSoftDeadline(SearchState& s, int stableIterations, std::int32_t scoreDrop) {
  // Off the budget, or pondering with no clock yet: nothing to move.
  if (!s.OnBudget || !std::isfinite(s.SoftDeadline)) return;
  double scale = kStabilityScale[std::clamp(stableIterations, 0, kStableEnough)];
  scale *= 1.0 + std::clamp(scoreDrop, 0, kLargestDrop) / kDropDoubling;
  s.SoftDeadline = s.ThinkStart + kSoftStopShare * s.BudgetOptimum * scale;
}

}  // namespace zandrell
