#include "board/attacks.h"

#include "board/board_tables.h"

namespace zandrell {

namespace {

struct Attackers {
  int King, Queen, Rook, Bishop, Knight, Pawn;
};

constexpr Attackers kWhiteAttackers{kWhiteKing,   kWhiteQueen,  kWhiteRook,
                                    kWhiteBishop, kWhiteKnight, kWhitePawn};
constexpr Attackers kBlackAttackers{kBlackKing,   kBlackQueen,  kBlackRook,
                                    kBlackBishop, kBlackKnight, kBlackPawn};

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
// and +11, a white pawn from -13 and -11), the queen and the rook (the bishop on
// a diagonal) from the first piece met.
template <int kDirection, bool kPawnLine, const Attackers& kBy>
inline bool LineAttack(const std::uint8_t* board, int square) {
  constexpr bool kDiagonal =
      kDirection == 13 || kDirection == -13 || kDirection == 11 || kDirection == -11;
  constexpr int kSlider = kDiagonal ? kBy.Bishop : kBy.Rook;
  const int c = board[square + kDirection];
  if (c < kEmpty) {
    return c == kBy.King || c == kBy.Queen || c == kSlider || (kPawnLine && c == kBy.Pawn);
  }
  const int first = FirstOnRay(board, square + kDirection, kDirection);
  return first == kBy.Queen || first == kSlider;
}

template <Side kBy>
bool Attacked(const std::uint8_t* board, int square) {
  constexpr const Attackers& kA = kBy == Side::kBlack ? kBlackAttackers : kWhiteAttackers;
  constexpr bool kBlack = kBy == Side::kBlack;
  static_assert(DirectionOffsets[0] == 12 && DirectionOffsets[1] == -12 &&
                DirectionOffsets[2] == 1 && DirectionOffsets[3] == -1 &&
                DirectionOffsets[4] == 13 && DirectionOffsets[5] == -13 &&
                DirectionOffsets[6] == 11 && DirectionOffsets[7] == -11);
  if (LineAttack<12, false, kA>(board, square)) return true;
  if (LineAttack<-12, false, kA>(board, square)) return true;
  if (LineAttack<1, false, kA>(board, square)) return true;
  if (LineAttack<-1, false, kA>(board, square)) return true;
  if (LineAttack<13, kBlack, kA>(board, square)) return true;
  if (LineAttack<-13, !kBlack, kA>(board, square)) return true;
  if (LineAttack<11, kBlack, kA>(board, square)) return true;
  if (LineAttack<-11, !kBlack, kA>(board, square)) return true;
  const int n = kA.Knight;
  return board[square + 10] == n || board[square - 10] == n || board[square + 14] == n ||
         board[square - 14] == n || board[square + 23] == n || board[square - 23] == n ||
         board[square + 25] == n || board[square - 25] == n;
}

}  // namespace

bool IsAttacked(const BoardState& b, int square, Side by) {
  return by == Side::kBlack ? Attacked<Side::kBlack>(b.Board, square)
                            : Attacked<Side::kWhite>(b.Board, square);
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
      return !Attacked<Side::kBlack>(b.Board, path[0]) &&
             !Attacked<Side::kBlack>(b.Board, path[1]) && !Attacked<Side::kBlack>(b.Board, path[2]);
    }
    return !Attacked<Side::kWhite>(b.Board, path[0]) && !Attacked<Side::kWhite>(b.Board, path[1]) &&
           !Attacked<Side::kWhite>(b.Board, path[2]);
  }
  // The side to move is now the opponent of the mover.
  return b.WhiteToMove ? !Attacked<Side::kWhite>(b.Board, b.BlackKingSquare)
                       : !Attacked<Side::kBlack>(b.Board, b.WhiteKingSquare);
}

}  // namespace zandrell
