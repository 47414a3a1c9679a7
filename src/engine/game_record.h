#pragma once
// What taking moves back and setting up positions need to remember.
#include <cstdint>
#include <string>
#include <vector>

#include "board/board_state.h"

namespace zandrell {

// One move played into the game, with the game as it stood before it.
struct PlayedMove {
  BoardState Before;
  std::int32_t ResultBefore = 0;
  std::string PositionKey;  // the position text counted after the move
};

// The moves since the last new game or set-up position, latest last.
struct GameRecord {
  std::vector<PlayedMove> Played;
};

// The board being set up square by square ("edit" to ".").
struct EditState {
  bool Active = false;
  bool WhitePieces = true;     // colour of the pieces being placed
  std::uint8_t Squares[64]{};  // piece code per square, a8 first, 13 empty
};

}  // namespace zandrell
