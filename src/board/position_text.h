#pragma once
#include <array>
#include <string>

#include "board/board_state.h"

namespace zandrell {

// Board square of each position-text index, a8 first and h1 last.
constexpr std::array<int, 64> BuildSquare64() {
  std::array<int, 64> map{};
  for (int i = 0; i < 64; ++i) map[i] = kA8 - 12 * (i / 8) + (i % 8);
  return map;
}
inline constexpr std::array<int, 64> Square64 = BuildSquare64();

// The first four fields of a FEN record: placement, side, castling, en passant.
std::string PositionText(const BoardState& b);
// "P", "p", ... for piece codes, "." for anything else.
std::string PieceChar(int code);

}  // namespace zandrell
