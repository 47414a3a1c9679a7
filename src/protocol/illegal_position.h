#pragma once
// A position the engine must not play from: the side not on move is in check, so
// the side on move could take a king. Interfaces reach it by setting up a
// position and then changing the side to move ("white", "black").
#include "engine/engine.h"

namespace zandrell {

// True when the side not on move stands in check; the first time in a position it
// says so with "tellusererror Illegal position". The engine then plays nothing
// until the position is legal again.
bool RefuseIllegalPosition(Engine& e);

}  // namespace zandrell
