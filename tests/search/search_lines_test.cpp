// The hash table's search reports lines a game can play as they stand: a root
// move back to a position of the game, the fifty-move rule and the nodes that
// end early leave no moves of an earlier line behind.
#include <string>
#include <vector>

#include "board/move_text.h"
#include "board/playable_line.h"
#include "search/hash_table.h"
#include "search/root_search.h"
#include "search/search_interface.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

// Every line the search reports, as move texts.
class LineCollector : public SearchReporter {
 public:
  void NewBest(const SearchReport& r) override { Keep(r); }
  void IterationDone(const SearchReport& r) override { Keep(r); }
  std::vector<std::vector<Move>> Found;
  std::vector<Move> Last;

 private:
  void Keep(const SearchReport& r) {
    Found.emplace_back(r.Pv, r.Pv + r.PvLength);
    Last = Found.back();
  }
};

std::string Text(const std::vector<Move>& line) {
  std::string text;
  for (const Move& m : line) text += MoveToText(m) + " ";
  return text;
}

class SearchLines : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    ResizeHashTable(E(), 1);
  }

  // Searches the game's position to depth and checks that every reported line
  // is playable whole from it; returns the last line.
  std::vector<Move> SearchPlayable(int depth) {
    const BoardState root = E().board;
    std::vector<std::uint64_t> earlier;
    for (const PlayedMove& played : E().record.Played) earlier.push_back(played.Before.Key);
    SearchLimits limits;
    limits.Depth = depth;
    LineCollector lines;
    E().board.Ply = 0;
    Think(E(), limits, lines);
    EXPECT_FALSE(lines.Found.empty());
    for (const auto& line : lines.Found) {
      EXPECT_EQ(PlayableLength(root, line.data(), static_cast<int>(line.size()), earlier),
                static_cast<int>(line.size()))
          << Text(line);
    }
    return lines.Last;
  }
};

// White, a queen down, goes back to the position after its first move for the
// third time: the draw is best, and nothing follows it in the line.
TEST_F(SearchLines, AMoveThatRepeatsAPositionOfTheGameAThirdTimeEndsItsLine) {
  Fen("q5k1/8/8/8/8/8/5PPP/6K1 w - - 0 1");
  Moves("g1h1 g8h8 h1g1 h8g8 g1h1 g8h8 h1g1 h8g8");
  const std::vector<Move> line = SearchPlayable(6);
  ASSERT_EQ(line.size(), 1u) << Text(line);
  EXPECT_EQ(MoveToText(line[0]), "g1h1");
}

// Three half-moves before the hundredth: no line goes on past it.
TEST_F(SearchLines, TheFiftyMoveRuleEndsTheLine) {
  Fen("7k/8/8/8/8/8/1R6/K7 w - - 97 80");
  const std::vector<Move> line = SearchPlayable(7);
  EXPECT_LE(line.size(), 3u) << Text(line);
}

// Positions with captures, checks and repetitions within reach.
TEST_F(SearchLines, EveryReportedLineIsPlayableAsItStands) {
  for (const char* fen :
       {"r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
        "6k1/5ppp/8/8/8/8/q4PPP/1R4K1 w - - 0 1", "8/8/4k3/8/2p5/2P1K3/8/8 w - - 60 70"}) {
    Fen(fen);
    SearchPlayable(7);
  }
}

}  // namespace
}  // namespace zandrell::test
