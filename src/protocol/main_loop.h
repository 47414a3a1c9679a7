#pragma once
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// Engine move, read, interpret, window messages; until Shutdown.
void MainLoop(Engine& e);
// Acts on every complete line of a chunk; an unfinished last line waits for the
// rest, which the next chunk brings.
void InterpretInput(Engine& e, std::string_view chunk);

}  // namespace zandrell
