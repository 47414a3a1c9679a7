// Leaf counts of the legal move tree against the published values: the check that
// generation, make/unmake, the attack test and en passant, castling and promotion
// all follow the rules.
#include <cstdint>
#include <ostream>
#include <string>

#include "board/perft.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

struct PerftCase {
  const char* Name;
  const char* Fen;                    // nullptr: the start position
  std::vector<std::uint64_t> Leaves;  // depth 1, 2, ...
};

// The deepest level of each case costs up to five million leaves: about a
// second in a release build and a few seconds with the sanitizers.
const PerftCase kCases[] = {
    {"StartPosition", nullptr, {20, 400, 8902, 197281, 4865609}},
    {"CastlingAndPins",
     "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
     {48, 2039, 97862, 4085603}},
    {"RookEndgameEnPassant",
     "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
     {14, 191, 2812, 43238, 674624}},
    {"PromotionsInCheck",
     "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
     {6, 264, 9467, 422333}},
    {"PromotionWithCapture",
     "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
     {44, 1486, 62379, 2103487}},
    {"SymmetricMiddleGame",
     "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
     {46, 2079, 89890, 3894594}},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PerftCase& c, std::ostream* os) { *os << c.Name; }

class PerftTest : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PerftTest, LeafCountsMatchPublishedValues) {
  const PerftCase& c = GetParam();
  BoardState b = c.Fen ? test::FenBoard(c.Fen) : test::StartBoard();
  const std::string before(std::begin(b.Board), std::end(b.Board));
  const int levels = static_cast<int>(c.Leaves.size());
  for (int depth = 1; depth <= levels; ++depth) {
    EXPECT_EQ(Perft(b, depth), c.Leaves[depth - 1]) << c.Name << " depth " << depth;
  }
  // The counting leaves the board as it found it, markers included.
  EXPECT_EQ(std::string(std::begin(b.Board), std::end(b.Board)), before);
}

INSTANTIATE_TEST_SUITE_P(Board, PerftTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST(PerftDivideTest, SplitsTheCountOverTheLegalRootMovesInGenerationOrder) {
  BoardState b = test::StartBoard();
  const auto entries = PerftDivide(b, 3);
  ASSERT_EQ(entries.size(), 20u);
  EXPECT_EQ(MoveToText(entries.front().RootMove), "b1a3");
  EXPECT_EQ(MoveToText(entries.back().RootMove), "h2h3");
  std::uint64_t total = 0;
  for (const auto& e : entries) total += e.Leaves;
  EXPECT_EQ(total, 8902u);
}

TEST(PerftDivideTest, CountsFromAPositionReachedByCommittedMoves) {
  // After 1.e4 d5 2.e5 f5 White may take en passant on f6: the marker left by
  // the committed double step is what makes the capture possible.
  BoardState b = test::StartBoard();
  for (const char* text : {"e2e4", "d7d5", "e4e5", "f7f5"})
    ASSERT_TRUE(CommitMoveText(b, text)) << text;
  BoardState fen = test::FenBoard("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6");
  EXPECT_EQ(Perft(b, 3), Perft(fen, 3));
  EXPECT_EQ(Perft(b, 1), 31u);
  // The chance on d6 went with Black's next move; a decorated text matches nothing.
  EXPECT_FALSE(CommitMoveText(b, "e5d6"));
  EXPECT_FALSE(CommitMoveText(b, "e5f6 "));
  EXPECT_TRUE(CommitMoveText(b, "e5f6"));
}

}  // namespace
}  // namespace zandrell
