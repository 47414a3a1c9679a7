// Chess960 on the board: leaf counts against the published values of the
// Chess960 perft suite, the kept key against the computed one, X-FEN and
// Shredder-FEN read alike, and the castling cases the standard game never meets.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

#include "board/legal_move.h"
#include "board/make_move.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

BoardState Board960(std::string_view fen) {
  BoardState b{};
  ResetPosition(b, false);
  EXPECT_TRUE(SetUpFromFen(b, fen, nullptr, true)) << fen;
  return b;
}

struct Perft960Case {
  const char* Name;
  const char* Fen;
  std::vector<std::uint64_t> Leaves;  // depth 1, 2, ...
};

// Depth 5 for one position only: the other published fifth levels (8,146,062
// and 16,253,601 for the first two) cost many seconds under the sanitizers.
const Perft960Case kCases[] = {
    {"Position0",
     "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
     {21, 528, 12189, 326672}},
    {"Position1",
     "2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9",
     {21, 807, 18002, 667366}},
    {"Position2",
     "b1q1rrkb/pppppppp/3nn3/8/P7/1PPP4/4PPPP/BQNNRKRB w GE - 1 9",
     {20, 479, 10471, 273318, 6417013}},
    {"Position3",
     "qbbnnrkr/2pp2pp/p7/1p2pp2/8/P3PP2/1PPP1KPP/QBBNNR1R w hf - 0 9",
     {0, 0, 0, 382958}},
    {"Position5",
     "b1qr1krb/pp1ppppp/n2n4/8/2p5/2P3P1/PP1PPP1P/BNQRNKRB w GDgd - 0 9",
     {28, 707, 19721, 549506}},
};

void PrintTo(const Perft960Case& c, std::ostream* os) { *os << c.Name; }

class Perft960Test : public ::testing::TestWithParam<Perft960Case> {};

TEST_P(Perft960Test, LeafCountsMatchPublishedValues) {
  const Perft960Case& c = GetParam();
  BoardState b = Board960(c.Fen);
  const std::string before(std::begin(b.Board), std::end(b.Board));
  const int levels = static_cast<int>(c.Leaves.size());
  for (int depth = 1; depth <= levels; ++depth) {
    if (c.Leaves[depth - 1] == 0) continue;  // not published
    EXPECT_EQ(Perft(b, depth), c.Leaves[depth - 1]) << c.Name << " depth " << depth;
  }
  EXPECT_EQ(std::string(std::begin(b.Board), std::end(b.Board)), before);
}

TEST_P(Perft960Test, KeptKeyEqualsComputedKey) {
  BoardState b = Board960(GetParam().Fen);
  const KeyWalk walk = PerftCheckingKeys(b, 3);
  EXPECT_GT(walk.Nodes, 0U);
  EXPECT_EQ(walk.Mismatches, 0U);
}

INSTANTIATE_TEST_SUITE_P(Board, Perft960Test, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.Name); });

// The standard start position played as Chess960: the same tree, castling
// written as the king taking its rook.
TEST(Chess960, StandardStartHasTheStandardTree) {
  BoardState b = Board960("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(Perft(b, 4), 197281U);
  BoardState castling = Board960("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const std::vector<std::string> moves = test::MoveTexts(castling);
  EXPECT_NE(std::find(moves.begin(), moves.end(), "e1h1"), moves.end());
  EXPECT_NE(std::find(moves.begin(), moves.end(), "e1a1"), moves.end());
  EXPECT_EQ(std::find(moves.begin(), moves.end(), "e1g1"), moves.end());
}

TEST(Chess960, XFenAndShredderFenGiveTheSamePosition) {
  const BoardState x =
      Board960("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w KQkq - 2 9");
  const BoardState shredder =
      Board960("bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9");
  EXPECT_EQ(x.Key, shredder.Key);
  EXPECT_EQ(PositionText(shredder),
            "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w KQkq -");
  // An inner rook is named by its file, also when written out.
  const BoardState inner = Board960("4k3/8/8/8/8/8/8/4KR1R w F - 0 1");
  EXPECT_EQ(PositionText(inner), "4k3/8/8/8/8/8/8/4KR1R w F -");
  // The rights count in the key with their rooks' files.
  const BoardState outer = Board960("4k3/8/8/8/8/8/8/4KR1R w H - 0 1");
  EXPECT_NE(inner.Key, outer.Key);
}

TEST(Chess960, CastlingWhereKingOrRookStaysOrSwaps) {
  // The king stays on g1, the rook goes from h1 to f1.
  BoardState stay = Board960("4k3/8/8/8/8/8/8/6KR w H - 0 1");
  Move m{};
  ASSERT_TRUE(FindLegalMove(stay, "g1h1", m));
  PlayMove(stay, m);
  EXPECT_EQ(PositionText(stay), "4k3/8/8/8/8/8/8/5RK1 b - -");
  // King f1 and rook g1 swap.
  BoardState swap = Board960("4k3/8/8/8/8/8/8/5KR1 w G - 0 1");
  ASSERT_TRUE(FindLegalMove(swap, "f1g1", m));
  PlayMove(swap, m);
  EXPECT_EQ(PositionText(swap), "4k3/8/8/8/8/8/8/5RK1 b - -");
  // A king in check along the rank may not castle by letting the rook step in between.
  BoardState check = Board960("4k3/8/8/8/8/8/8/r5KR w H - 0 1");
  EXPECT_FALSE(FindLegalMove(check, "g1h1", m));
  // Long castling from b1: the rook on a1 lands on d1, the king on c1. An
  // attack on the rook's destination does not matter, one on the king's does.
  BoardState longSide = Board960("3rk3/8/8/8/8/8/8/RK6 w A - 0 1");
  EXPECT_TRUE(FindLegalMove(longSide, "b1a1", m));
  BoardState blocked = Board960("2r1k3/8/8/8/8/8/8/RK6 w A - 0 1");
  EXPECT_FALSE(FindLegalMove(blocked, "b1a1", m));
}

TEST(Chess960, RightsLostWhenTheRookMovesOrIsTaken) {
  BoardState b = Board960("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  Move m{};
  ASSERT_TRUE(FindLegalMove(b, "h1h2", m));
  PlayMove(b, m);
  EXPECT_EQ(PositionText(b), "4k3/8/8/8/8/8/7R/R3K3 b Q -");
}

}  // namespace
}  // namespace zandrell
