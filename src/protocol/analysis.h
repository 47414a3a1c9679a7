#pragma once
// xboard's analysis mode, and the engine's advice on request: "hint" and "bk".
#include "engine/engine.h"

namespace zandrell {

// Thinks on the game's position until a line arrives that the interpreter must
// act on, the input ends, or the search runs out of depth. Only in analysis mode,
// and only while the position still wants a think.
void Analyze(Engine& e);
// The status "." reports starts afresh: no time, nodes or depth yet on this position.
void StartAnalysisStatus(Engine& e);
// "Hint: MOVE": the reply the last think expected, when it is legal here.
void AnswerHint(Engine& e);
// The book's moves here in SAN, each with its count of lines, then an empty line.
void AnswerBookMoves(Engine& e);

}  // namespace zandrell
