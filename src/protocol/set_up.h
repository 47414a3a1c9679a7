#pragma once
// Games from a set-up position: "setboard FEN" and the square-by-square "edit" mode.
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// The game goes on from the position of the record, with a fresh game record and
// no book; an unusable record is reported to the user and changes nothing.
void SetBoard(Engine& e, std::string_view fen);

// "edit": the squares of the current position become editable.
void StartEdit(Engine& e);
// One line while editing: "#", "c", ".", a piece letter and square, or "x" and a square.
void EditLine(Engine& e, std::string_view line);

}  // namespace zandrell
