#pragma once
// The engine's constant tables: line and knight offsets, the start position and the
// piece-square tables, all indexed by the 144-square mailbox (0 on the border).
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

inline constexpr SquareTable PawnTableWhite = FromGrid({{
    {0, 0, 0, 0, 0, 0, 0, 0},
    {5, 10, 15, 20, 20, 15, 10, 5},
    {4, 4, 12, 16, 16, 12, 4, 4},
    {3, 3, 9, 12, 12, 9, 3, 3},
    {2, 2, 6, 8, 8, 6, 2, 2},
    {1, 1, 2, 4, 4, 2, 1, 1},
    {0, 0, 0, -4, -4, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},
}});
inline constexpr SquareTable PawnTableBlack = Mirror(PawnTableWhite);

inline constexpr SquareTable KingMiddleTableWhite = FromGrid({{
    {-70, -70, -70, -70, -70, -70, -70, -70},
    {-60, -60, -60, -60, -60, -60, -60, -60},
    {-50, -50, -50, -50, -50, -50, -50, -50},
    {-40, -40, -40, -40, -40, -40, -40, -40},
    {-30, -30, -30, -30, -30, -30, -30, -30},
    {-20, -20, -20, -20, -20, -20, -20, -20},
    {-4, -4, -10, -10, -10, -10, -4, -4},
    {3, 10, 10, 0, 0, 5, 10, 3},
}});
inline constexpr SquareTable KingMiddleTableBlack = Mirror(KingMiddleTableWhite);

inline constexpr SquareTable KingEndTable = FromGrid({{
    {-5, -3, -1, 0, 0, -1, -3, -5},
    {-3, 5, 5, 5, 5, 5, 5, -3},
    {-1, 5, 10, 10, 10, 10, 5, -1},
    {0, 5, 10, 15, 15, 10, 5, 0},
    {0, 5, 10, 15, 15, 10, 5, 0},
    {-1, 5, 10, 10, 10, 10, 5, -1},
    {-3, 5, 5, 5, 5, 5, 5, -3},
    {-5, -3, -1, 0, 0, -1, -3, -5},
}});

inline constexpr SquareTable BishopTableWhite = FromGrid({{
    {-5, -5, -5, -5, -5, -5, -5, -5},
    {-5, 0, 0, 0, 0, 0, 0, -5},
    {-5, 0, 2, 2, 2, 2, 0, -5},
    {-5, 4, 3, 3, 3, 3, 4, -5},
    {-3, 2, 10, 3, 3, 10, 2, -3},
    {-5, 4, 6, 10, 10, 6, 4, -5},
    {-5, 10, 0, 10, 10, 0, 10, -5},
    {-5, -5, -5, -5, -5, -5, -5, -5},
}});
inline constexpr SquareTable BishopTableBlack = Mirror(BishopTableWhite);

inline constexpr SquareTable KnightTableWhite = FromGrid({{
    {-20, -10, -10, -10, -10, -10, -10, -20},
    {-10, 0, 0, 0, 0, 0, 0, -10},
    {-10, 2, 5, 5, 5, 5, 2, -10},
    {-10, 2, 5, 10, 10, 5, 2, -10},
    {-10, 0, 5, 10, 10, 5, 0, -10},
    {-10, 2, 5, 5, 5, 5, 2, -10},
    {-10, 0, 0, 1, 1, 0, 0, -10},
    {-20, -10, -10, -10, -10, -10, -10, -20},
}});
inline constexpr SquareTable KnightTableBlack = Mirror(KnightTableWhite);

}  // namespace zandrell
