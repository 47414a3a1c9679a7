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

// Side numbers for the attack test.
constexpr int kWhiteSide = 1;
constexpr int kBlackSide = 2;

constexpr int SquareOf(int file, int rank) { return 26 + 12 * (rank - 1) + (file - 1); }
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
  std::uint8_t Castle;         // castle kind 1..4, 0 otherwise
  std::uint8_t CapturedIndex;  // piece-list slot of the captured piece, set by MakeMove
};

constexpr Move kNoMove{};

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
