#pragma once
#include "engine/engine.h"
#include "search/time_budget.h"

namespace zandrell {

// Moves the side to move still has to play in the current control of "level":
// MovesPerControl at its start, 1 for its last move. 0 in a game that is one
// control or with a fixed time per move.
int MovesToNextControl(const Engine& e);
// Seconds the engine may spend on this move; in a control of several moves it
// also draws on the bank of saved seconds. movesToGo: MovesToNextControl, or 0
// where it is not known.
float AllotTime(GameState& g, int movesToGo = 0);
// Seconds this move may take at most, whatever the allotment says: what the clock
// leaves minus a margin for the interface's own measuring and for sending the
// move; never below 0. Infinite where no clock runs out: fixed depth, and "st",
// whose allotment is the limit.
double MoveTimeLimit(const GameState& g);
// The game's clock as the time budget reads it (the stronger search's clock).
ClockReading GameClockReading(const Engine& e);
// After a searched move: what was left of the allotment goes to the bank.
void UpdateTimeBank(GameState& g, double timeForMove, double elapsed);
// After every engine move, book moves included.
void ChargeClock(GameState& g, double elapsed);

}  // namespace zandrell
