#pragma once
// An engine in this process set up from a position, for the search tests.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "board/fen_setup.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "engine/engine.h"
#include "search/engine_move.h"
#include "search/evaluate.h"
#include "support/test_engine.h"

namespace zandrell::test {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override { engine_.Init(); }

  Engine& e() { return *engine_; }

  void Fen(std::string_view fen) { ASSERT_TRUE(SetUpFromFen(e().board, fen)) << fen; }

  // Replays moves from the start as received from the interface.
  void Moves(std::string_view texts) {
    std::string word;
    for (std::size_t i = 0; i <= texts.size(); ++i) {
      if (i == texts.size() || texts[i] == ' ') {
        if (!word.empty()) {
          ASSERT_TRUE(CommitMoveText(e().board, word)) << word;
          ++e().game.PositionCounts[PositionText(e().board)];
        }
        word.clear();
      } else {
        word += texts[i];
      }
    }
  }

  // The engine takes the side to move and plays one move at a fixed depth.
  std::string PlayAtDepth(int depth) {
    e().game.MaxDepth = depth;
    e().game.EngineSide = e().board.WhiteToMove;
    EngineMove(e());
    return engine_.TakeOutput();
  }

  std::int32_t Eval() {
    SelectPhaseTables(e().board, e().tables, e().search);
    return Evaluate(e().board, e().tables, e().search);
  }

  testing::TestEngine engine_;
};

}  // namespace zandrell::test
