#include "board/position_key.h"

namespace zandrell {

std::uint64_t ComputePositionKey(BoardState& b) {
  std::uint64_t key = b.WhiteToMove ? 0 : kKeys.BlackToMove;
  b.KeyEnPassant = 0;
  for (int square = kA1; square <= kH8; ++square) {
    const int code = b.Board[square];
    if (code >= kWhitePawn && code <= kBlackBishop) {
      key ^= kKeys.Pieces[code][square];
    } else if ((code == kWhiteMarker && RankOf(square) == 3) ||
               (code == kBlackMarker && RankOf(square) == 6)) {
      if (EnPassantPossible(b.Board, square)) b.KeyEnPassant = static_cast<std::uint8_t>(square);
    }
  }
  key ^= EnPassantKey(b);
  key ^= CastlingKey(b);
  return key;
}

}  // namespace zandrell
