// The search the hash table enables, with its pruning, reductions and ordering:
// mates come out at the distance the full-width plain search finds, from a cold
// table and from one warm with the same search, and every draw in the tree
// scores as the root scores a draw; clearing the table forgets all it learnt.
#include <cstdint>
#include <string>

#include "search/hash_table.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

class StrongSearch : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    ResizeHashTable(E(), 1);
  }
  // The root score of a fresh think on fen at depth, with the table as it is.
  std::int32_t ScoreAt(const char* fen, int depth) {
    T.Feed(std::string("new\nforce\nsetboard ") + fen + "\n");
    T.TakeOutput();
    E().game.ForceMode = false;
    E().game.GameResult = 0;
    PlayAtDepth(depth);
    return E().search.RootScore;
  }
};

TEST_F(StrongSearch, MatesComeOutAtTheDistanceOfTheFullWidthSearch) {
  const char* const fens[] = {
      "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",  // back rank, one move
      "k7/8/2K5/8/8/8/8/7R w - - 0 1",          // rook and king, two moves
      "k7/8/1K6/8/8/8/8/7R b - - 0 1",          // the side to be mated next move
      "4k3/8/3K4/8/8/8/8/7R w - - 0 1",         // rook and king, three moves
  };
  for (const char* fen : fens) {
    ResizeHashTable(E(), 0);
    const std::int32_t plain = ScoreAt(fen, 6);
    ASSERT_GT(plain < 0 ? -plain : plain, kMateBound) << fen << ": no mate within six plies";
    ResizeHashTable(E(), 1);
    EXPECT_EQ(ScoreAt(fen, 6), plain) << fen << " cold";
    EXPECT_EQ(ScoreAt(fen, 6), plain) << fen << " warm";
    EXPECT_EQ(ScoreAt(fen, 9), plain) << fen << " deeper, warm";
  }
}

// Contempt far beyond any evaluation: a draw anywhere in the tree must come out
// at the root as exactly that, whichever side is to move where it happens.
TEST_F(StrongSearch, EveryDrawInTheTreeScoresAsTheRootScoresADraw) {
  E().tables.Contempt = 5000;
  // Any waiting move stalemates Black (ply 2).
  EXPECT_EQ(ScoreAt("k7/2Q5/8/1K6/8/8/8/8 w - - 0 1", 3), 5000);
  // The fifty-move rule ends every line at ply 4, with Black to move.
  EXPECT_EQ(ScoreAt("k7/8/8/8/8/8/8/K6R w - - 98 1", 5), 5000);
  // And at ply 3 with White to move; no line takes the rook in time.
  EXPECT_EQ(ScoreAt("k7/8/8/8/8/8/8/K6R w - - 99 1", 4), 5000);
  // Contempt of the other sign: the side to move at the root avoids the draw.
  E().tables.Contempt = -5000;
  EXPECT_GT(ScoreAt("k7/2Q5/8/1K6/8/8/8/8 w - - 0 1", 3), -5000);
}

// What a think learns beside the table (histories, counter-moves, and the
// evaluation's correction when it is switched on) goes with it: after other
// positions and a clear, a position is searched node for node as by an engine
// that never searched.
TEST_F(StrongSearch, AClearedTableSearchesAsAFreshOne) {
  const char* const middlegame =
      "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";
  auto nodesAt = [&](const char* fen) {
    ScoreAt(fen, 8);
    return E().search.NodeCount;
  };
  const std::int64_t fresh = nodesAt(middlegame);
  nodesAt("2r3k1/pp3ppp/4p3/3pP3/3P4/P4N2/1P3PPP/2R3K1 w - - 0 25");
  nodesAt("8/5pk1/6p1/3P4/4K3/6P1/5P2/8 w - - 0 40");
  ClearHashTable(E());
  EXPECT_EQ(nodesAt(middlegame), fresh);
}

}  // namespace
}  // namespace zandrell::test
