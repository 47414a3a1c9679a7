#pragma once
#include <functional>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// Program folder, settings file and log file of the running executable.
void SetUpPaths(Engine& e);
// The same for a companion program beside the engine (zandrell-uci): the
// engine's settings, log and book.
void SetUpEnginePaths(Engine& e);

// Start-up: handles, the high-resolution counter, the command line (the program's
// arguments joined by single blanks), then engine mode or the launcher window.
// Returns the process exit code where the process does not end by itself.
int Main(Engine& e, std::string_view commandLine, const std::function<int(Engine&)>& showLauncher);

// Closes the handles, logs the end of the program and ends the process.
void Shutdown(Engine& e);

}  // namespace zandrell
