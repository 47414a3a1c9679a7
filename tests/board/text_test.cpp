// Coordinate move text, position text and the new-game position.
#include "board/board_tables.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

Move MakeRecord(int from, int to, int promotion = 0, int castle = 0) {
  Move m{};
  m.From = static_cast<std::uint8_t>(from);
  m.To = static_cast<std::uint8_t>(to);
  m.Promotion = static_cast<std::uint8_t>(promotion);
  m.Castle = static_cast<std::uint8_t>(castle);
  return m;
}

TEST(MoveTextTest, CoordinateTexts) {
  EXPECT_EQ(MoveToText(MakeRecord(42, 66)), "e2e4");
  EXPECT_EQ(MoveToText(MakeRecord(kE8, kC8, 0, 4)), "e8c8");
  EXPECT_EQ(MoveToText(MakeRecord(SquareOf(7, 7), SquareOf(8, 8), kWhiteQueen)), "g7h8q");
  EXPECT_EQ(MoveToText(MakeRecord(SquareOf(2, 2), SquareOf(2, 1), kBlackBishop)), "b2b1b");
  EXPECT_EQ(MoveToText(MakeRecord(SquareOf(2, 2), SquareOf(2, 1), kBlackKnight)), "b2b1n");
  EXPECT_EQ(MoveToText(MakeRecord(SquareOf(2, 2), SquareOf(2, 1), kBlackRook)), "b2b1r");
  EXPECT_EQ(MoveToText(kNoMove), "_-1_-1");
}

TEST(PositionTextTest, StartAndAfterDoubleStep) {
  BoardState b = test::StartBoard();
  EXPECT_EQ(PositionText(b), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  ASSERT_TRUE(CommitMoveText(b, "e2e4"));
  EXPECT_EQ(PositionText(b), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  ASSERT_TRUE(CommitMoveText(b, "c7c5"));
  ASSERT_TRUE(CommitMoveText(b, "g1f3"));
  EXPECT_EQ(PositionText(b), "rnbqkbnr/pp1ppppp/8/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -");
}

TEST(PositionTextTest, KnightsReturningHomeKeepTheCastlingField) {
  BoardState b = test::StartBoard();
  const std::string start = PositionText(b);
  for (const char* text : {"g1f3", "g8f6", "f3g1", "f6g8"}) ASSERT_TRUE(CommitMoveText(b, text));
  EXPECT_EQ(PositionText(b), start);
}

TEST(PositionTextTest, CastlingFieldFollowsTouchedSquares) {
  BoardState b = test::FenBoard("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  EXPECT_EQ(PositionText(b), "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  for (const char* text : {"h1h2", "a8a7", "h2h1", "a7a8"}) ASSERT_TRUE(CommitMoveText(b, text));
  EXPECT_EQ(PositionText(b), "r3k2r/8/8/8/8/8/8/R3K2R w Qk -");
  ASSERT_TRUE(CommitMoveText(b, "e1c1"));
  EXPECT_EQ(PositionText(b), "r3k2r/8/8/8/8/8/8/2KR3R b k -");
  EXPECT_EQ(PieceChar(13), ".");
  EXPECT_EQ(PieceChar(0), ".");
  EXPECT_EQ(PieceChar(kBlackBishop), "b");
}

}  // namespace
}  // namespace zandrell
