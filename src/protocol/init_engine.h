#pragma once
#include "engine/engine.h"

namespace zandrell {

// One-time set-up before the first command: evaluation settings, piece values,
// the opening book and a new game.
void InitEngine(Engine& e);
// The piece values by code (PieceValue) from the five material values.
void SetPieceValues(EvalSettings& t);

}  // namespace zandrell
