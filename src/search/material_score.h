#pragma once
// The material, square-value and undeveloped-minor terms of the evaluation, which
// the search keeps as a running sum (SearchState::MaterialScore) from the squares
// each move changes.
#include <array>
#include <cstdint>

#include "board/board_state.h"
#include "board/types.h"
#include "search/search_state.h"

namespace zandrell {

// Penalty, from White's point of view, for a minor piece still on a square no
// move has touched.
inline constexpr std::int32_t kUndevelopedKnight = 18;
inline constexpr std::int32_t kUndevelopedBishop = 12;
inline constexpr std::array<std::int32_t, 13> kUndevelopedScore = {
    0, 0, 0, -kUndevelopedKnight, kUndevelopedKnight, 0, 0, 0, 0, 0, 0, -kUndevelopedBishop,
    kUndevelopedBishop};

// The terms of one square: material, square value and the undeveloped-minor
// penalty of the piece on it; nothing for an empty square, marker or border.
inline std::int32_t SquareScore(const BoardState& b, const SearchState& s, int sq) {
  const int code = b.Board[sq];
  if (code > kBlackBishop) return 0;
  return s.PieceSquareScore[code][sq] +
         (kUndevelopedScore[code] & -static_cast<std::int32_t>(b.TouchCount[sq] == 0));
}

// Those terms for the squares that making m can change (from, to, the en-passant
// victim's and the castling rook's squares). Taken before and after MakeMove, the
// difference is the change of MaterialScore.
inline std::int32_t MoveSquaresScore(const BoardState& b, const SearchState& s, const Move& m) {
  // Rook squares (home, target) of the castle kinds 1..4.
  constexpr std::uint8_t kCastleRookSquares[5][2] = {
      {0, 0}, {33, 31}, {26, 29}, {117, 115}, {110, 113}};
  std::int32_t score = SquareScore(b, s, m.From) + SquareScore(b, s, m.To);
  if (m.EnPassant == 1) {
    score += SquareScore(b, s, m.To - 12) + SquareScore(b, s, m.To + 12);
  } else if (m.Castle >= 1 && m.Castle <= 4) {
    score += SquareScore(b, s, kCastleRookSquares[m.Castle][0]) +
             SquareScore(b, s, kCastleRookSquares[m.Castle][1]);
  }
  return score;
}

// The whole sum over the piece list: the starting value of MaterialScore.
std::int32_t MaterialScoreOf(const BoardState& b, const SearchState& s);

}  // namespace zandrell
