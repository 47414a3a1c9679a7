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
  std::uint64_t Castling960[5][9];  // Chess960: by castle kind and the rook's file
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
  for (auto& row : t.Castling960) {
    for (auto& value : row) value = Mix(state);
  }
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

// A Chess960 castling right: the game has that castling and neither its king
// nor its rook has been touched.
inline bool HasCastling960(const BoardState& b, int kind) {
  const Castle960Rule& r = b.Castles960[kind];
  return r.King != 0 && b.TouchCount[r.King] == 0 && b.TouchCount[r.Rook] == 0;
}

// The castling part of the key. A Chess960 right counts with its rook's file,
// so that positions alike but for the rooks' home files differ.
inline std::uint64_t CastlingKey(const BoardState& b) {
  if (!b.Chess960) return kKeys.Castling[CastlingRights(b)];
  std::uint64_t key = 0;
  for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
    if (HasCastling960(b, kind)) key ^= kKeys.Castling960[kind][FileOf(b.Castles960[kind].Rook)];
  }
  return key;
}

// Whether a move from or to these squares may take a castling right away.
inline bool RightsMayChange(const BoardState& b, int from, int to) {
  if (b.Chess960) return b.CastlingSquares960[from] || b.CastlingSquares960[to];
  return kCastlingSquares[from] || kCastlingSquares[to];
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
