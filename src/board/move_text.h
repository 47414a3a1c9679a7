#pragma once
#include <string>
#include <string_view>

#include "board/types.h"

namespace zandrell {

// Coordinate text: e2e4, e7e8q. The empty move gives "_-1_-1".
std::string MoveToText(const Move& m);
// The same, but a Chess960 castling as the game's notation writes it: "O-O"
// (short) or "O-O-O" (long) instead of the king taking its own rook.
std::string MoveToGameText(const Move& m);
// Square arithmetic of a file letter ("a" -> 26) and a rank digit ("1" -> 0).
int FileValue(std::string_view text);
int RankValue(std::string_view text);

}  // namespace zandrell
