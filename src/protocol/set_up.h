#pragma once
// Games from a set-up position: "setboard FEN" and the square-by-square "edit" mode.
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// The game goes on from the position of the record, with a fresh game record and
// no book; an unusable record is reported to the user and changes nothing.
// Castling rights the record claims without their king or rook at home are
// dropped, and the user is told (telluser, and the log).
void SetBoard(Engine& e, std::string_view fen);
// "variant": "fischerandom" makes the game one of Chess960 (until "new"),
// "normal" standard chess; either starts from the standard position.
void SetVariant(Engine& e, std::string_view name);
// What the user is told of dropped castling rights (their letters, as in FEN).
std::string DroppedRightsText(std::string_view dropped);

// "edit": the squares of the current position become editable.
void StartEdit(Engine& e);
// One line while editing: "#", "c", ".", a piece letter and square, or "x" and a square.
void EditLine(Engine& e, std::string_view line);

}  // namespace zandrell
