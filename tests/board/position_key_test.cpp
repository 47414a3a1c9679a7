// The position key: kept by make and unmake at every node of perft trees, equal
// for equal positions however reached, and different where the rules differ.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "board/make_move.h"
#include "board/perft.h"
#include "board/position_key.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

std::uint64_t KeyOf(const BoardState& b) {
  BoardState copy = b;
  return ComputePositionKey(copy);
}

BoardState Played(const char* fen, std::initializer_list<const char*> moves) {
  BoardState b = fen ? test::FenBoard(fen) : test::StartBoard();
  for (const char* text : moves) EXPECT_TRUE(CommitMoveText(b, text)) << text;
  return b;
}

struct KeyWalkCase {
  const char* Name;
  const char* Fen;  // nullptr: the start position
  int Depth;
  std::uint64_t Leaves;
};

// The six usual perft positions, three or four plies deep (zandrell-perft --keys
// walks them to depth 5).
const KeyWalkCase kWalks[] = {
    {"StartPosition", nullptr, 4, 197281},
    {"CastlingAndPins", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3,
     97862},
    {"RookEndgameEnPassant", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 4, 43238},
    {"PromotionsInCheck", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 3, 9467},
    {"PromotionWithCapture", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 3, 62379},
    {"SymmetricMiddleGame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
     3, 89890},
};

TEST(PositionKey, MakeAndUnmakeKeepTheKeyAtEveryNodeOfThePerftTrees) {
  for (const KeyWalkCase& c : kWalks) {
    BoardState b = c.Fen ? test::FenBoard(c.Fen) : test::StartBoard();
    const std::uint64_t key = b.Key;
    EXPECT_EQ(key, KeyOf(b)) << c.Name;
    const KeyWalk walk = PerftCheckingKeys(b, c.Depth);
    EXPECT_EQ(walk.Leaves, c.Leaves) << c.Name;
    EXPECT_EQ(walk.Mismatches, 0u) << c.Name;
    EXPECT_EQ(b.Key, key) << c.Name;
  }
}

TEST(PositionKey, EqualPositionsHaveEqualKeysHoweverReached) {
  // Knights out and back: the start position again (the touched squares are not
  // the kings' or rooks').
  const BoardState start = test::StartBoard();
  EXPECT_EQ(Played(nullptr, {"g1f3", "g8f6", "f3g1", "f6g8"}).Key, start.Key);
  // Two move orders to one position.
  EXPECT_EQ(Played(nullptr, {"e2e4", "e7e5", "g1f3", "b8c6"}).Key,
            Played(nullptr, {"g1f3", "b8c6", "e2e4", "e7e5"}).Key);
  // A double step no pawn can take en passant leaves no trace in the key.
  EXPECT_EQ(Played(nullptr, {"e2e4"}).Key,
            test::FenBoard("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -").Key);
  // Committed moves keep the key the whole position gives.
  const BoardState castled =
      Played("r3k2r/6P1/8/3pP3/8/8/8/R3K2R w KQkq d6 7 30", {"e5d6", "e8c8", "g7h8q", "d8h8"});
  EXPECT_EQ(castled.Key, KeyOf(castled));
}

TEST(PositionKey, SideToMoveCastlingRightsAndEnPassantChangeTheKey) {
  const char* pieces = "r3k2r/8/8/3pP3/8/8/8/R3K2R";
  const std::uint64_t base = test::FenBoard(std::string(pieces) + " w KQkq -").Key;
  EXPECT_NE(test::FenBoard(std::string(pieces) + " b KQkq -").Key, base);
  EXPECT_NE(test::FenBoard(std::string(pieces) + " w Kkq -").Key, base);
  EXPECT_NE(test::FenBoard(std::string(pieces) + " w KQk -").Key, base);
  EXPECT_NE(test::FenBoard(std::string(pieces) + " w KQkq d6").Key, base);
  // A rook out and back has lost its right: not the same position.
  EXPECT_NE(
      Played((std::string(pieces) + " w KQkq -").c_str(), {"h1h2", "a8a7", "h2h1", "a7a8"}).Key,
      base);
}

}  // namespace
}  // namespace zandrell
