#include "search/static_exchange.h"

#include <algorithm>
#include <cstring>

#include "board/board_tables.h"

namespace zandrell {

namespace {

// The lowest-valued piece of the side (parity: 1 White, 0 Black) that attacks
// square on board; its square, or 0 when none does. Rays look past pieces
// already taken off the board, so that x-ray attackers join in turn.
int LeastAttacker(const std::uint8_t* board, int square, int parity,
                  const std::array<int, 17>& value) {
  int best = 0;
  int bestValue = 0;
  const auto consider = [&](int from) {
    const int v = value[board[from]];
    if (best == 0 || v < bestValue) {
      best = from;
      bestValue = v;
    }
  };
  const auto own = [&](int code) {
    return code < kEmpty && code != kBorder && (code & 1) == parity;
  };

  // A white pawn captures towards higher ranks, so it stands below the square.
  const int pawn = parity == 1 ? kWhitePawn : kBlackPawn;
  const int pawnBack = parity == 1 ? -12 : 12;
  if (board[square + pawnBack - 1] == pawn) return square + pawnBack - 1;
  if (board[square + pawnBack + 1] == pawn) return square + pawnBack + 1;

  const int knight = parity == 1 ? kWhiteKnight : kBlackKnight;
  for (const int offset : KnightOffsets) {
    if (board[square + offset] == knight) return square + offset;
  }
  const int king = parity == 1 ? kWhiteKing : kBlackKing;
  const int queen = parity == 1 ? kWhiteQueen : kBlackQueen;
  const int rook = parity == 1 ? kWhiteRook : kBlackRook;
  const int bishop = parity == 1 ? kWhiteBishop : kBlackBishop;
  for (int d = 0; d < 8; ++d) {
    const int direction = DirectionOffsets[d];
    const bool diagonal = d >= 4;
    int t = square + direction;
    if (board[t] == king) {
      consider(t);
      continue;
    }
    while (board[t] >= kEmpty) t += direction;
    const int code = board[t];
    if (!own(code)) continue;
    if (code == queen || code == (diagonal ? bishop : rook)) consider(t);
  }
  return best;
}

}  // namespace

std::int32_t StaticExchange(const BoardState& b, const Move& m, const std::array<int, 17>& value) {
  // A Chess960 castling names the king's own rook as its target: nothing is won.
  if (m.Castle > kBlackLong) return 0;
  std::uint8_t board[kSquareCount];
  std::memcpy(board, b.Board, sizeof board);
  const int to = m.To;
  int mover = board[m.From];
  // gain[d]: what the side making capture d has won once it is made, before the reply.
  std::int32_t gain[34];
  int d = 0;
  if (m.EnPassant != 0) {
    gain[0] = value[kWhitePawn];
    board[to + (mover == kWhitePawn ? -12 : 12)] = kEmpty;
  } else {
    gain[0] = board[to] < kEmpty ? value[board[to]] : 0;
  }
  if (m.Promotion != 0) {
    gain[0] += value[m.Promotion] - value[mover];
    mover = m.Promotion;
  }
  board[m.From] = kEmpty;
  board[to] = static_cast<std::uint8_t>(mover);
  int parity = (mover & 1) ^ 1;  // the side that replies next
  std::int32_t onSquare = value[mover];
  while (d < 32) {
    const int from = LeastAttacker(board, to, parity, value);
    if (from == 0) break;
    ++d;
    gain[d] = onSquare - gain[d - 1];
    onSquare = value[board[from]];
    board[to] = board[from];
    board[from] = kEmpty;
    parity ^= 1;
  }
  // Each side may stand pat instead of capturing: back up from the last capture.
  while (d > 0) {
    gain[d - 1] = -std::max(-gain[d - 1], gain[d]);
    --d;
  }
  return gain[0];
}

std::int32_t ExchangeLoss(const BoardState& b, const Move& m, const std::array<int, 17>& value) {
  if (m.Promotion == 0 && m.Castle <= kBlackLong) {
    const int taken = m.EnPassant != 0 ? int{kWhitePawn} : int{b.Board[m.To]};
    if (taken < kEmpty && value[taken] >= value[b.Board[m.From]]) return 0;
  }
  return std::min(StaticExchange(b, m, value), 0);
}

}  // namespace zandrell
