#pragma once
// The board's constant tables: line and knight offsets and the start position,
// indexed by the 144-square mailbox (0 on the border), and the helpers that build
// such tables from diagrams.
#include <array>
#include <cstdint>

#include "board/types.h"

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
      table[SquareOf(file, rank)] = grid[8 - rank][file - 1];
    }
  }
  return table;
}

// The black table of a white one: the value of (file, rank) taken from (file, 9 - rank).
constexpr SquareTable Mirror(const SquareTable& white) {
  SquareTable black{};
  for (int rank = 1; rank <= 8; ++rank) {
    for (int file = 1; file <= 8; ++file) {
      black[SquareOf(file, rank)] = white[SquareOf(file, 9 - rank)];
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

// One castling: the king's and the rook's moves, the squares between them that
// must be empty, and the king's path (start, crossing, destination) that must
// not be attacked once the move is made.
struct CastleRule {
  int King;
  int KingTo;
  int Rook;
  int RookTo;
  int KingCode;
  int RookCode;
  int EmptyCount;
  std::array<int, 3> MustBeEmpty;
  std::array<int, 3> NotAttacked;
};

// Castle kinds 1 White short, 2 White long, 3 Black short, 4 Black long; the
// record's Castle field indexes this table (0 is no castling).
inline constexpr int kWhiteShort = 1;
inline constexpr int kWhiteLong = 2;
inline constexpr int kBlackShort = 3;
inline constexpr int kBlackLong = 4;
// A Chess960 castling is recorded as its kind plus this.
inline constexpr int kChess960Castle = 4;
inline constexpr std::array<CastleRule, 5> kCastles = {{
    {},
    {kE1, kG1, kH1, kF1, kWhiteKing, kWhiteRook, 2, {kF1, kG1, 0}, {kE1, kF1, kG1}},
    {kE1, kC1, kA1, kD1, kWhiteKing, kWhiteRook, 3, {kD1, kC1, kB1}, {kE1, kD1, kC1}},
    {kE8, kG8, kH8, kF8, kBlackKing, kBlackRook, 2, {kF8, kG8, 0}, {kE8, kF8, kG8}},
    {kE8, kC8, kA8, kD8, kBlackKing, kBlackRook, 3, {kD8, kC8, kB8}, {kE8, kD8, kC8}},
}};

}  // namespace zandrell
