#pragma once
// Legality tests on the game board itself, for the protocol, the book and tools.
// Unmake leaves en-passant markers behind, so these put the squares back exactly.
#include <string_view>

#include "board/board_state.h"

namespace zandrell {

// Keeps the squares of a board and puts them back when it goes out of scope.
class BoardSquaresKeeper {
 public:
  explicit BoardSquaresKeeper(BoardState& b);
  ~BoardSquaresKeeper();
  BoardSquaresKeeper(const BoardSquaresKeeper&) = delete;
  BoardSquaresKeeper& operator=(const BoardSquaresKeeper&) = delete;

 private:
  BoardState& board_;
  std::uint8_t saved_[kSquareCount];
};

// Makes, tests and unmakes m; the position is left exactly as it was.
bool IsLegalMove(BoardState& b, Move m);
// How many legal moves the side to move has.
int LegalMoveCount(BoardState& b);
bool HasLegalMove(BoardState& b);
// The first generated move whose coordinate text is text and that is legal.
bool FindLegalMove(BoardState& b, std::string_view text, Move& found);

}  // namespace zandrell
