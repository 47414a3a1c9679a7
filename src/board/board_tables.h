#pragma once
// The board's constant tables: line and knight offsets and the start position,
// indexed by the 144-square mailbox (0 on the border), and the helpers that build
// such tables from diagrams.
#include <array>
#include <cstdint>

namespace zandrell {

using SquareTable = std::array<std::int16_t, 144>;
// An 8x8 grid as written on a diagram: rank 8 first, file a on the left.
using Grid = std::array<std::array<std::int16_t, 8>, 8>;

// Orthogonal slots 0..3, diagonal 4..7; a black pawn attacks from slots 4 and 6.
inline constexpr std::array<int, 8> DirectionOffsets = {12, -12, 1, -1, 13, -13, 11, -11};
inline constexpr std::array<int, 8> KnightOffsets = {10, -10, 14, -14, 23, -23, 25, -25};

constexpr SquareTable FromGrid(const Grid& grid) {
  SquareTable table{};
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      table[26 + 12 * (rank - 1) + (file - 1)] = grid[8 - rank][file - 1];
    }
  }
  return table;
}

// The black table of a white one: the value of (file, rank) taken from (file, 9 - rank).
constexpr SquareTable Mirror(const SquareTable& white) {
  SquareTable black{};
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      black[26 + 12 * (rank - 1) + (file - 1)] = white[26 + 12 * (8 - rank) + (file - 1)];
    }
  }
  return black;
}

inline constexpr SquareTable InitialBoard = FromGrid({{
    {8, 4, 12, 10, 6, 12, 4, 8},
    {2, 2, 2, 2, 2, 2, 2, 2},
    {13, 13, 13, 13, 13, 13, 13, 13},
    {13, 13, 13, 13, 13, 13, 13, 13},
    {13, 13, 13, 13, 13, 13, 13, 13},
    {13, 13, 13, 13, 13, 13, 13, 13},
    {1, 1, 1, 1, 1, 1, 1, 1},
    {7, 3, 11, 9, 5, 11, 3, 7},
}});

}  // namespace zandrell
