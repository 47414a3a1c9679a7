#pragma once
// The playing level as the settings file, UCI and xboard set it: one level in
// Elo for the engine's own moves, 0 for full strength.
#include "engine/engine.h"

namespace zandrell {

// Elo 0 or less: full strength; otherwise clamped to the levels there are. UCI's
// two options follow.
void SetPlayingLevel(Engine& e, int elo);
// The settings file's "Elo" (empty or 0: full strength).
void ReadPlayingLevel(Engine& e);

}  // namespace zandrell
