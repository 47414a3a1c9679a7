#pragma once
// The engine as a Universal Chess Interface engine: read a line, act on it; a
// "go" thinks while the lines after it are watched.
#include <deque>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// Reads and handles commands until "quit" or the end of input, then Shutdown.
void UciLoop(Engine& e);
// One command line; queued holds the lines that came after it, not yet handled.
void HandleUciLine(Engine& e, std::string_view line, std::deque<std::string>& queued);

}  // namespace zandrell
