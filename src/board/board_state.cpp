#include "board/board_state.h"

#include <algorithm>

#include "board/board_tables.h"
#include "board/position_key.h"

namespace zandrell {

void RebuildPieceList(BoardState& b) {
  b.PieceCount = 0;
  b.PieceList[0] = 0;
  for (int square = kA1; square <= kH8; ++square) {
    const int code = b.Board[square];
    if (code >= kWhitePawn && code <= kBlackBishop) {
      ++b.PieceCount;
      b.PieceList[b.PieceCount] = static_cast<std::uint8_t>(square);
      b.PieceIndex[square] = static_cast<std::uint8_t>(b.PieceCount);
    } else {
      b.PieceIndex[square] = 0;
    }
  }
}

void ResetPosition(BoardState& b, bool bookLoaded) {
  for (int square = 0; square < kSquareCount; ++square) {
    b.Board[square] = static_cast<std::uint8_t>(InitialBoard[square]);
  }
  std::fill(std::begin(b.TouchCount), std::end(b.TouchCount), std::int16_t{0});
  RebuildPieceList(b);
  b.GameMoves = " ";
  b.FiftyCount = 0;
  b.BookPly = bookLoaded ? 0 : 21;
  b.WhiteToMove = true;
  b.WhiteKingSquare = SquareOf(5, 1);
  b.BlackKingSquare = SquareOf(5, 8);
  b.WhiteCastled = 0;
  b.BlackCastled = 0;
  b.Chess960 = false;
  SetPositionKey(b);
}

}  // namespace zandrell
