#pragma once
// An engine in this process set up from a position, for the search tests.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "engine/engine.h"
#include "protocol/engine_move.h"
#include "protocol/game.h"
#include "search/evaluate.h"
#include "support/test_engine.h"

namespace zandrell::test {

// The protocol lines in the captured output (each is framed by line feeds).
inline std::vector<std::string> Lines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override { T.Init(); }

  Engine& E() { return *T; }

  void Fen(std::string_view fen) { ASSERT_TRUE(SetUpFromFen(E().board, fen)) << fen; }

  // Replays moves from the start as received from the interface.
  void Moves(std::string_view texts) {
    std::string word;
    for (std::size_t i = 0; i <= texts.size(); ++i) {
      if (i == texts.size() || texts[i] == ' ') {
        if (!word.empty()) {
          Move m{};
          ASSERT_TRUE(FindLegalMove(E().board, word, m)) << word;
          PlayGameMove(E(), m);
        }
        word.clear();
      } else {
        word += texts[i];
      }
    }
  }

  // The engine takes the side to move and plays one move at a fixed depth.
  std::string PlayAtDepth(int depth) {
    E().game.MaxDepth = depth;
    E().game.EngineSide = E().board.WhiteToMove;
    EngineMove(E());
    return T.TakeOutput();
  }

  std::int32_t Eval() {
    SelectPhaseTables(E().board, E().tables, E().search);
    return Evaluate(E().board, E().tables, E().search);
  }

  testing::TestEngine T;
};

}  // namespace zandrell::test
