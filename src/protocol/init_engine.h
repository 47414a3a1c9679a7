#pragma once
#include <memory>

#include "engine/engine.h"

namespace zandrell {

// One-time set-up before the first command: evaluation settings, piece values,
// the opening book and a new game.
void InitEngine(Engine& e);
// An engine for a program that searches without an interface (benchmarks,
// self-play): it writes nothing, reads the settings beside it and has a hash
// table of hashMb megabytes (0: none).
std::unique_ptr<Engine> NewSilentEngine(int hashMb);
// The piece values by code (PieceValue) from the five material values.
void SetPieceValues(EvalSettings& t);

}  // namespace zandrell
