#pragma once
// Chess960 castling as xboard writes it: "O-O" and "O-O-O".
#include <string>
#include <string_view>

#include "board/board_state.h"

namespace zandrell {

// "O-O" or "O-O-O" (also with zeros) in a Chess960 game: the side to move's legal
// castling of that kind. False for anything else or when it is not legal.
bool FindCastlingMove(BoardState& b, std::string_view text, Move& found);

// Whether text is one of the castling signs at all.
bool IsCastlingText(std::string_view text);

}  // namespace zandrell
