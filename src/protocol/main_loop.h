#pragma once
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// Engine move, read, interpret, window messages; until Shutdown.
void MainLoop(Engine& e);
// Acts on every complete line of a chunk; an unfinished last line waits for the
// rest, which the next chunk brings.
void InterpretInput(Engine& e, std::string_view chunk);
// "time N" and "otim N": the clocks as the interface counts them; false for any
// other line.
bool ApplyClockLine(Engine& e, std::string_view line);

}  // namespace zandrell
