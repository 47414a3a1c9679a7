#pragma once
// Positions and move look-ups shared by the board tests.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/move_text.h"
#include "board/movegen.h"

namespace zandrell::test {

inline BoardState StartBoard() {
  BoardState b{};
  ResetPosition(b, false);
  return b;
}

inline BoardState FenBoard(std::string_view fen) {
  BoardState b{};
  ResetPosition(b, false);
  EXPECT_TRUE(SetUpFromFen(b, fen)) << fen;
  return b;
}

inline std::vector<std::string> MoveTexts(const BoardState& b,
                                          GenerationMode mode = GenerationMode::kAllMoves) {
  MoveList list;
  GenerateMoves(b, list, mode);
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count; ++i) texts.push_back(MoveToText(list.Moves[i]));
  return texts;
}

// The first generated move with this text; the empty move when there is none.
inline Move GeneratedMove(BoardState& b, std::string_view text) {
  MoveList list;
  GenerateMoves(b, list);
  for (int i = 0; i < list.Count; ++i) {
    if (MoveToText(list.Moves[i]) == text) return list.Moves[i];
  }
  ADD_FAILURE() << "no generated move " << text;
  return kNoMove;
}

}  // namespace zandrell::test
