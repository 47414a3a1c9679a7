#include "board/attacks.h"

#include "board/board_tables.h"

namespace zandrell {

namespace {

struct Attackers {
  int king, queen, rook, bishop, knight, pawn;
};

constexpr Attackers kWhiteAttackers{kWhiteKing, kWhiteQueen, kWhiteRook, kWhiteBishop, kWhiteKnight, kWhitePawn};
constexpr Attackers kBlackAttackers{kBlackKing, kBlackQueen, kBlackRook, kBlackBishop, kBlackKnight, kBlackPawn};

// The piece first met from square along direction, past empty squares and
// markers (0 for the border).
inline int FirstOnRay(const std::uint8_t* board, int square, int direction) {
  int t = square + direction;
  int c = board[t];
  while (c >= kEmpty) {
    t += direction;
    c = board[t];
  }
  return c;
}

// One line through square: the king from the adjacent square, a pawn from the
// adjacent square when kPawnLine (its capturing diagonals: a black pawn from +13
// and +11, a white pawn from -13 and -11), a slider from the first piece met.
template <int kDirection, bool kPawnLine>
inline bool LineAttack(const std::uint8_t* board, int square, int king, int slider1, int slider2, int pawn) {
  const int c = board[square + kDirection];
  if (c < kEmpty) {
    return c == king || c == slider1 || c == slider2 || (kPawnLine && c == pawn);
  }
  const int first = FirstOnRay(board, square + kDirection, kDirection);
  return first == slider1 || first == slider2;
}

template <Side kBy>
bool Attacked(const std::uint8_t* board, int square) {
  constexpr Attackers a = kBy == Side::kBlack ? kBlackAttackers : kWhiteAttackers;
  static_assert(DirectionOffsets[0] == 12 && DirectionOffsets[1] == -12 && DirectionOffsets[2] == 1 &&
                DirectionOffsets[3] == -1 && DirectionOffsets[4] == 13 && DirectionOffsets[5] == -13 &&
                DirectionOffsets[6] == 11 && DirectionOffsets[7] == -11);
  if (LineAttack<12, false>(board, square, a.king, a.queen, a.rook, a.pawn)) return true;
  if (LineAttack<-12, false>(board, square, a.king, a.queen, a.rook, a.pawn)) return true;
  if (LineAttack<1, false>(board, square, a.king, a.queen, a.rook, a.pawn)) return true;
  if (LineAttack<-1, false>(board, square, a.king, a.queen, a.rook, a.pawn)) return true;
  if (LineAttack<13, kBy == Side::kBlack>(board, square, a.king, a.queen, a.bishop, a.pawn)) return true;
  if (LineAttack<-13, kBy == Side::kWhite>(board, square, a.king, a.queen, a.bishop, a.pawn)) return true;
  if (LineAttack<11, kBy == Side::kBlack>(board, square, a.king, a.queen, a.bishop, a.pawn)) return true;
  if (LineAttack<-11, kBy == Side::kWhite>(board, square, a.king, a.queen, a.bishop, a.pawn)) return true;
  const int n = a.knight;
  return board[square + 10] == n || board[square - 10] == n || board[square + 14] == n ||
         board[square - 14] == n || board[square + 23] == n || board[square - 23] == n ||
         board[square + 25] == n || board[square - 25] == n;
}

}  // namespace

bool IsAttacked(const BoardState& b, int square, Side by) {
  return by == Side::kBlack ? Attacked<Side::kBlack>(b.Board, square) : Attacked<Side::kWhite>(b.Board, square);
}

bool InCheck(const BoardState& b) {
  return b.WhiteToMove ? IsAttacked(b, b.WhiteKingSquare, Side::kBlack)
                       : IsAttacked(b, b.BlackKingSquare, Side::kWhite);
}

bool IsLegal(const BoardState& b, const Move& m) {
  if (m.Castle >= kWhiteShort && m.Castle <= kBlackLong) {
    // The mover's king path, against the side now to move.
    const std::array<int, 3>& path = kCastles[m.Castle].NotAttacked;
    if (m.Castle <= kWhiteLong) {
      return !Attacked<Side::kBlack>(b.Board, path[0]) && !Attacked<Side::kBlack>(b.Board, path[1]) &&
             !Attacked<Side::kBlack>(b.Board, path[2]);
    }
    return !Attacked<Side::kWhite>(b.Board, path[0]) && !Attacked<Side::kWhite>(b.Board, path[1]) &&
           !Attacked<Side::kWhite>(b.Board, path[2]);
  }
  // The side to move is now the opponent of the mover.
  return b.WhiteToMove ? !Attacked<Side::kWhite>(b.Board, b.BlackKingSquare)
                       : !Attacked<Side::kBlack>(b.Board, b.WhiteKingSquare);
}

}  // namespace zandrell
