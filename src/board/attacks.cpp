#include "board/attacks.h"

#include "tables/constants.h"

namespace zandrell {

namespace {

struct Attackers {
  int king, queen, rook, bishop, knight, pawn;
};

constexpr Attackers kWhiteAttackers{kWhiteKing, kWhiteQueen, kWhiteRook, kWhiteBishop, kWhiteKnight, kWhitePawn};
constexpr Attackers kBlackAttackers{kBlackKing, kBlackQueen, kBlackRook, kBlackBishop, kBlackKnight, kBlackPawn};

// Walks from square along direction past empty squares and markers; true when the
// first piece met is one of the two sliders.
inline bool SliderOnRay(const std::uint8_t* board, int square, int direction, int slider1, int slider2) {
  int t = square + direction;
  int c = board[t];
  while (c >= kEmpty) {
    t += direction;
    c = board[t];
  }
  return c == slider1 || c == slider2;
}

template <bool kBlack>
bool Attacked(const std::uint8_t* board, int square) {
  constexpr Attackers a = kBlack ? kBlackAttackers : kWhiteAttackers;
  // Knights first: eight loads and no branches on the ray contents.
  for (int offset : KnightOffsets) {
    if (board[square + offset] == a.knight) return true;
  }
  // A pawn attacks from the adjacent diagonal square: a black pawn from above
  // (+13, +11), a white pawn from below (-13, -11).
  if constexpr (kBlack) {
    if (board[square + 13] == a.pawn || board[square + 11] == a.pawn) return true;
  } else {
    if (board[square - 13] == a.pawn || board[square - 11] == a.pawn) return true;
  }
  for (int i = 0; i < 8; ++i) {
    if (board[square + DirectionOffsets[i]] == a.king) return true;
  }
  for (int i = 0; i < 4; ++i) {
    if (SliderOnRay(board, square, DirectionOffsets[i], a.queen, a.rook)) return true;
  }
  for (int i = 4; i < 8; ++i) {
    if (SliderOnRay(board, square, DirectionOffsets[i], a.queen, a.bishop)) return true;
  }
  return false;
}

}  // namespace

bool IsAttacked(const BoardState& b, int square, int side) {
  return side == kBlackSide ? Attacked<true>(b.Board, square) : Attacked<false>(b.Board, square);
}

bool InCheck(const BoardState& b) {
  return b.WhiteToMove ? IsAttacked(b, b.WhiteKingSquare, kBlackSide)
                       : IsAttacked(b, b.BlackKingSquare, kWhiteSide);
}

bool IsLegal(const BoardState& b, const Move& m) {
  switch (m.Castle) {
    case 1:
      return !Attacked<true>(b.Board, 30) && !Attacked<true>(b.Board, 31) && !Attacked<true>(b.Board, 32);
    case 2:
      return !Attacked<true>(b.Board, 30) && !Attacked<true>(b.Board, 29) && !Attacked<true>(b.Board, 28);
    case 3:
      return !Attacked<false>(b.Board, 114) && !Attacked<false>(b.Board, 115) && !Attacked<false>(b.Board, 116);
    case 4:
      return !Attacked<false>(b.Board, 114) && !Attacked<false>(b.Board, 113) && !Attacked<false>(b.Board, 112);
    default:
      // The side to move is now the opponent of the mover.
      return b.WhiteToMove ? !Attacked<false>(b.Board, b.BlackKingSquare)
                           : !Attacked<true>(b.Board, b.WhiteKingSquare);
  }
}

}  // namespace zandrell
