#pragma once
// Squares, piece codes and the move record of the 12x12 mailbox board.
#include <cstdint>

namespace zandrell {

// Piece codes: odd = White, even = Black; 13 and up is no piece.
enum : int {
  kBorder = 0,
  kWhitePawn = 1,
  kBlackPawn = 2,
  kWhiteKnight = 3,
  kBlackKnight = 4,
  kWhiteKing = 5,
  kBlackKing = 6,
  kWhiteRook = 7,
  kBlackRook = 8,
  kWhiteQueen = 9,
  kBlackQueen = 10,
  kWhiteBishop = 11,
  kBlackBishop = 12,
  kEmpty = 13,
  kWhiteMarker = 15,  // the square a white pawn's double step crossed (rank 3)
  kBlackMarker = 16,  // the square a black pawn's double step crossed (rank 6)
};

constexpr int kSquareCount = 144;
constexpr int kPieceSlots = 33;  // slot 0 is scratch, 1..32 one per piece

// The side of play.
enum class Side : std::uint8_t { kWhite, kBlack };
constexpr bool IsWhite(Side side) { return side == Side::kWhite; }

constexpr int SquareOf(int file, int rank) { return 26 + 12 * (rank - 1) + (file - 1); }
// The playing squares by name (a1 = 26, h1 = 33, a8 = 110, h8 = 117).
enum : int {
  kA1 = SquareOf(1, 1),
  kB1,
  kC1,
  kD1,
  kE1,
  kF1,
  kG1,
  kH1,
  kA2 = SquareOf(1, 2),
  kB2,
  kC2,
  kD2,
  kE2,
  kF2,
  kG2,
  kH2,
  kA3 = SquareOf(1, 3),
  kB3,
  kC3,
  kD3,
  kE3,
  kF3,
  kG3,
  kH3,
  kA4 = SquareOf(1, 4),
  kB4,
  kC4,
  kD4,
  kE4,
  kF4,
  kG4,
  kH4,
  kA5 = SquareOf(1, 5),
  kB5,
  kC5,
  kD5,
  kE5,
  kF5,
  kG5,
  kH5,
  kA6 = SquareOf(1, 6),
  kB6,
  kC6,
  kD6,
  kE6,
  kF6,
  kG6,
  kH6,
  kA7 = SquareOf(1, 7),
  kB7,
  kC7,
  kD7,
  kE7,
  kF7,
  kG7,
  kH7,
  kA8 = SquareOf(1, 8),
  kB8,
  kC8,
  kD8,
  kE8,
  kF8,
  kG8,
  kH8,
};

// Truncating division: square 0 (the empty move) gives file -1 and rank -1.
constexpr int FileOf(int square) { return (square - 26) % 12 + 1; }
constexpr int RankOf(int square) { return (square - 26) / 12 + 1; }

// One move. Plain data, copied by value; the all-zero record stands for "no move".
struct Move {
  std::uint8_t From;
  std::uint8_t To;             // castling: the king's destination
  std::uint8_t Captured;       // code on To at generation time (13 empty, 15/16 marker)
  std::uint8_t EnPassant;      // 1 for an en-passant capture
  std::uint8_t Promotion;      // code the pawn becomes, 0 otherwise
  std::uint8_t Castle;         // castle kind 1..4, Chess960 5..8 (To: the rook), 0 otherwise
  std::uint8_t CapturedIndex;  // piece-list slot of the captured piece, set by MakeMove
};

constexpr Move kNoMove{};

// A capture (en passant too: its target holds only the marker) or a promotion.
constexpr bool IsCaptureOrPromotion(const Move& m) {
  return m.EnPassant != 0 || m.Promotion != 0 || (m.Captured > kBorder && m.Captured < kEmpty);
}

// The same move for the principal variation and the killers.
constexpr bool SameMove(const Move& a, const Move& b) {
  return a.From == b.From && a.To == b.To && a.Promotion == b.Promotion;
}

// No legal position has more than 218 moves; pseudo-legal lists of composed
// positions can be longer, and insertion is guarded against the bound.
constexpr int kMaxMoves = 256;

struct MoveList {
  int Count;
  Move Moves[kMaxMoves];
};

}  // namespace zandrell
