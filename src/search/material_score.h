#pragma once
// The evaluation terms that depend on single pieces and their squares, which the
// search keeps as running sums (SearchState::Terms) from the squares each move
// changes: material, square values, undeveloped minors and rooks on the seventh,
// plus per-file counts of pawns and rooks and the queens away from home, from
// which the evaluation scores the file and queen terms without a piece walk.
#include <array>
#include <cstdint>

#include "board/board_state.h"
#include "board/board_tables.h"
#include "board/types.h"
#include "engine/search_state.h"

namespace zandrell {

// Penalty, from White's point of view, for a minor piece still on a square no
// move has touched.
inline constexpr std::int32_t kUndevelopedKnight = 18;
inline constexpr std::int32_t kUndevelopedBishop = 12;
inline constexpr std::array<std::int32_t, 13> kUndevelopedScore = {
    0, 0, 0, -kUndevelopedKnight, kUndevelopedKnight, 0, 0, 0,
    0, 0, 0, -kUndevelopedBishop, kUndevelopedBishop};

// Per piece code, one piece in the four-bit count field of file a of its colour
// (white in the low half of the word, black in the high half).
inline constexpr std::array<std::uint64_t, 13> kPawnUnit = {
    0, 1, std::uint64_t{1} << 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
inline constexpr std::array<std::uint64_t, 13> kRookUnit = {
    0, 0, 0, 0, 0, 0, 0, 1, std::uint64_t{1} << 32, 0, 0, 0, 0};
// A queen away from its home square: white counted in the low half, black in the high.
inline constexpr std::array<std::uint32_t, 13> kQueenUnit = {0, 0, 0, 0,        0, 0, 0,
                                                             0, 0, 1, 1u << 16, 0, 0};
inline constexpr std::array<std::uint8_t, 13> kQueenHome = {0, 0, 0,   0,   0, 0, 0,
                                                            0, 0, kD1, kD8, 0, 0};

// Shift of each playing square's file field (4 bits per file, a = 0); 0 elsewhere.
inline constexpr std::array<std::uint8_t, kSquareCount> kFileShift = [] {
  std::array<std::uint8_t, kSquareCount> shifts{};
  for (int rank = 1; rank <= 8; ++rank)
    for (int file = 1; file <= 8; ++file)
      shifts[SquareOf(file, rank)] = static_cast<std::uint8_t>(4 * (file - 1));
  return shifts;
}();

// Adds the terms of the piece on sq; nothing for an empty square, marker or border.
// The count words add modulo 2^64, so taking a square's terms away and adding them
// back later is exact.
inline void AddSquareTerms(const BoardState& b, const SearchState& s, int sq, PieceTerms& t) {
  const int code = b.Board[sq];
  if (code > kBlackBishop) return;
  t.Material += s.PieceSquareScore[code][sq] +
                (kUndevelopedScore[code] & -static_cast<std::int32_t>(b.TouchCount[sq] == 0));
  t.PawnFiles += kPawnUnit[code] << kFileShift[sq];
  t.RookFiles += kRookUnit[code] << kFileShift[sq];
  t.QueensAway += kQueenUnit[code] & (0u - static_cast<std::uint32_t>(sq != kQueenHome[code]));
}

// Those terms for the squares that making m can change (from, to, the en-passant
// victim's and the castling rook's squares). Taken before and after MakeMove, the
// difference is the change of SearchState::Terms.
inline PieceTerms MoveSquaresTerms(const BoardState& b, const SearchState& s, const Move& m) {
  PieceTerms t{};
  AddSquareTerms(b, s, m.From, t);
  AddSquareTerms(b, s, m.To, t);
  if (m.EnPassant == 1) {
    AddSquareTerms(b, s, m.To - 12, t);
    AddSquareTerms(b, s, m.To + 12, t);
  } else if (m.Castle >= 1 && m.Castle <= 4) {
    AddSquareTerms(b, s, kCastles[m.Castle].Rook, t);
    AddSquareTerms(b, s, kCastles[m.Castle].RookTo, t);
  } else if (m.Castle > kBlackLong) {
    // From and To are the king's and the rook's homes; each destination counts
    // unless it is one of them.
    const Castle960Rule& r = b.Castles960[m.Castle - kChess960Castle];
    if (r.KingTo != m.From && r.KingTo != m.To) AddSquareTerms(b, s, r.KingTo, t);
    if (r.RookTo != m.From && r.RookTo != m.To) AddSquareTerms(b, s, r.RookTo, t);
  }
  return t;
}

// Moves t along by the change from before to after.
inline void ApplyTermsChange(PieceTerms& t, const PieceTerms& before, const PieceTerms& after) {
  t.Material += after.Material - before.Material;
  t.PawnFiles += after.PawnFiles - before.PawnFiles;
  t.RookFiles += after.RookFiles - before.RookFiles;
  t.QueensAway += after.QueensAway - before.QueensAway;
}

// The whole sum over the piece list: the starting value of SearchState::Terms.
PieceTerms PieceTermsOf(const BoardState& b, const SearchState& s);

}  // namespace zandrell
