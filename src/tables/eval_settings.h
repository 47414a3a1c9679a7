#pragma once
// Material values and contempt as read from the settings at start, and the piece
// values by code that the move ordering reads.
#include <array>
#include <cstdint>

namespace zandrell {

struct EvalSettings {
  int PawnValue;
  int KnightValue;
  int BishopValue;
  int RookValue;
  int QueenValue;
  int Contempt;
  std::array<int, 17> PieceValue;  // by piece code; markers count as pawns
};

}  // namespace zandrell
