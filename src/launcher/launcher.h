#pragma once
#include "engine/engine.h"

namespace zandrell {

// Shows the launcher window until it is closed or one of its commands ends it.
// Returns the process exit code: 0, or 1 when no window can be shown.
int RunLauncher(Engine& e);

}  // namespace zandrell
