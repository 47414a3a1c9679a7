#pragma once
#include "engine/engine.h"

namespace zandrell {

// Seconds the engine may spend on this move; in a control of several moves it
// also draws on the bank of saved seconds.
float AllotTime(GameState& g);
// The allotment while the hash table is on: in a game that is one control the
// clock is shared out evenly and the increment, fractions kept, added, with no
// change of pace at a short clock; otherwise as AllotTime.
float StrongAllotTime(GameState& g);
// Seconds this move may take at most, whatever the allotment says: what the clock
// leaves minus a margin for the interface's own measuring and for sending the
// move; never below 0. Infinite where no clock runs out: fixed depth, and fixed
// time per move, whose allotment is the limit.
double MoveTimeLimit(const GameState& g);
// After a searched move: what was left of the allotment goes to the bank.
void UpdateTimeBank(GameState& g, double timeForMove, double elapsed);
// After every engine move, book moves included.
void ChargeClock(GameState& g, double elapsed);

}  // namespace zandrell
