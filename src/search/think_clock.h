#pragma once
// The clock of one think, chosen at its start: the plain allotment of the game's
// time control, a time budget, a fixed time or depth, or none at all; and the
// one rule that says whether another iteration may start.
#include "engine/engine.h"
#include "search/search_interface.h"
#include "search/time_budget.h"

namespace zandrell {

// Sets the think's deadlines, allotment and iteration cap from the limits;
// start is the think's start (monotonic seconds).
void SetThinkClock(Engine& e, const SearchLimits& limits, double start);
// Whether iteration IterationDepth may begin, now being now.
bool IterationMayStart(const SearchState& s, double start, double now);
// The think under way, begun without a clock (pondering), becomes the engine's
// own think on the budget from now: the time already spent counts towards the
// optimum, and the clock that runs from now bounds the rest.
void PutThinkOnBudget(Engine& e, const TimeBudget& budget);
// After a finished iteration of a think on a budget: a best move that has held
// for stableIterations iterations ends it sooner, a new one or a score fallen by
// scoreDrop centipawns later (never past its maximum).
void AdjustSoftDeadline(SearchState& s, int stableIterations, std::int32_t scoreDrop);

}  // namespace zandrell
