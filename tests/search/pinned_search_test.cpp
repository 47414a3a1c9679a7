// Fixed-depth searches whose node counts and best moves are pinned: any change
// to move generation order, ordering, pruning or evaluation shows up here.
#include <ostream>
#include <string>
#include <vector>

#include "board/move_text.h"
#include "search/root_search.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

struct Pinned {
  const char* Moves;
  int Depth;
  const char* Best;
  std::int64_t Nodes;
  std::int64_t QNodes;
};

void PrintTo(const Pinned& p, std::ostream* out) {
  *out << "moves \"" << p.Moves << "\" depth " << p.Depth;
}

class PinnedSearch : public SearchTest, public ::testing::WithParamInterface<Pinned> {};

TEST_P(PinnedSearch, NodeCountsAndBestMove) {
  const Pinned& p = GetParam();
  Moves(p.Moves);
  E().game.MaxDepth = p.Depth;
  E().search.NodeCount = 0;
  E().search.QNodeCount = 0;
  E().search.MoveStartTime = 0;
  SearchLimits clock;
  clock.GameClock = true;
  SearchReporter quiet;
  const Move best = Think(E(), clock, quiet);
  EXPECT_EQ(MoveToText(best), p.Best);
  EXPECT_EQ(E().search.NodeCount, p.Nodes);
  EXPECT_EQ(E().search.QNodeCount, p.QNodes);
}

// A depth asked for directly (as analysis and UCI ask) searches the same tree as
// the game's fixed depth, and reports every iteration with its line.
TEST_P(PinnedSearch, DepthLimitSearchesTheSameTree) {
  struct Recorder : SearchReporter {
    std::vector<int> Depths;
    std::string LastLine;
    void IterationDone(const SearchReport& r) override {
      Depths.push_back(r.Depth);
      LastLine = ThinkingLine(r);
    }
  };
  const Pinned& p = GetParam();
  Moves(p.Moves);
  E().search.NodeCount = 0;
  E().search.QNodeCount = 0;
  SearchLimits depth;
  depth.Depth = p.Depth;
  Recorder recorder;
  const Move best = Think(E(), depth, recorder);
  EXPECT_EQ(MoveToText(best), p.Best);
  EXPECT_EQ(E().search.NodeCount, p.Nodes);
  ASSERT_EQ(recorder.Depths.size(), static_cast<std::size_t>(p.Depth));
  EXPECT_EQ(recorder.Depths.back(), p.Depth);
  EXPECT_NE(recorder.LastLine.find(" " + std::to_string(p.Nodes) + " " + p.Best), std::string::npos)
      << recorder.LastLine;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PinnedSearch,
    ::testing::Values(Pinned{"", 4, "g1f3", 2168, 128},
                      Pinned{"e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 c2c3 g8f6 d2d4 e5d4 c3d4 c5b4 b1c3 "
                             "f6e4 e1g1 e4c3 b2c3 b4c3",
                             4, "c4f7", 36776, 17825},
                      Pinned{"e2e4 e7e5 g1f3 f7f6 f3e5 f6e5 d1h5 e8e7", 4, "h5e5", 26296, 4881},
                      Pinned{"d2d4 d7d5 c2c4 e7e6 b1c3 g8f6 c1g5 f8e7 e2e3 e8g8 g1f3 b8d7", 5,
                             "d1b3", 182424, 88033}));

}  // namespace
}  // namespace zandrell::test
