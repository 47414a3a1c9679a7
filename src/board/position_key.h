#pragma once
// The 64-bit key of a position: pieces on squares, side to move, castling rights
// and an en-passant capture that is possible. Equal positions have equal keys;
// different positions almost surely differ.
#include <array>
#include <cstdint>

#include "board/board_state.h"
#include "board/board_tables.h"

namespace zandrell {

namespace key_detail {

// splitmix64: a fixed stream of well-mixed numbers, the same on every build.
constexpr std::uint64_t Mix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

struct KeyTables {
  // Piece codes 1..12 on every square; codes 15 and 16 on their ranks stand for
  // the en-passant capture onto that marker.
  std::uint64_t Pieces[17][kSquareCount];
  std::uint64_t Castling[16];  // by the rights mask, bit k - 1 for castle kind k
  std::uint64_t BlackToMove;
};

constexpr KeyTables MakeKeyTables() {
  KeyTables t{};
  std::uint64_t state = 0x5A4E4452454C4C31ULL;
  for (auto& row : t.Pieces) {
    for (auto& value : row) value = Mix(state);
  }
  for (int code : {int{kBorder}, int{kEmpty}, 14}) {
    for (auto& value : t.Pieces[code]) value = 0;
  }
  t.Castling[0] = 0;
  for (int mask = 1; mask < 16; ++mask) t.Castling[mask] = Mix(state);
  t.BlackToMove = Mix(state);
  return t;
}

}  // namespace key_detail

inline constexpr key_detail::KeyTables kKeys = key_detail::MakeKeyTables();

// Squares whose touch count decides a castling right (the kings' and rooks' homes).
inline constexpr std::array<bool, kSquareCount> kCastlingSquares = [] {
  std::array<bool, kSquareCount> squares{};
  for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
    squares[kCastles[kind].King] = true;
    squares[kCastles[kind].Rook] = true;
  }
  return squares;
}();

// Castling rights as a mask: bit k - 1 while neither the king nor the rook of
// castle kind k has been touched.
inline int CastlingRights(const BoardState& b) {
  int mask = 0;
  for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
    if (b.TouchCount[kCastles[kind].King] == 0 && b.TouchCount[kCastles[kind].Rook] == 0)
      mask |= 1 << (kind - 1);
  }
  return mask;
}

// The marker a double step leaves counts in the key only when an enemy pawn
// stands beside the pawn that made it, ready to take en passant.
inline bool EnPassantPossible(const std::uint8_t* board, int marker) {
  if (board[marker] == kWhiteMarker) {
    return board[marker + 11] == kBlackPawn || board[marker + 13] == kBlackPawn;
  }
  return board[marker - 11] == kWhitePawn || board[marker - 13] == kWhitePawn;
}

// Read from the square alone: after UnmakeMove the marker may be off the board.
inline std::uint64_t EnPassantKey(const BoardState& b) {
  const int square = b.KeyEnPassant;
  if (square == 0) return 0;
  return kKeys.Pieces[square < kA4 ? kWhiteMarker : kBlackMarker][square];
}

// The key computed from the whole position. Sets KeyEnPassant to the marker that
// counts in it (0 for none) and returns the key; the caller stores it.
std::uint64_t ComputePositionKey(BoardState& b);

// Recomputes Key and KeyEnPassant from the whole position.
inline void SetPositionKey(BoardState& b) { b.Key = ComputePositionKey(b); }

}  // namespace zandrell
