// MakeMove/UnmakeMove give back everything but the en-passant markers, and
// CommitMove plays received moves into the game.
#include <algorithm>
#include <string>

#include "board/attacks.h"
#include "board/make_move.h"
#include "board/perft.h"
#include "board/position_text.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

TEST(MakeUnmakeTest, EveryMoveOfRichPositionsIsTakenBackExactly) {
  for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 7",
                          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 3",
                          "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0"}) {
    BoardState b = test::FenBoard(fen);
    b.Ply = 3;
    const std::string before = test::Snapshot(b, true);  // markers are not restored
    MoveList list;
    GenerateMoves(b, list);
    for (int i = 0; i < list.Count; ++i) {
      Move m = list.Moves[i];
      MakeMove(b, m);
      EXPECT_EQ(b.FiftyHistory[3],
                std::stoi(std::string(fen).substr(std::string(fen).rfind(' ') + 1)));
      UnmakeMove(b, m);
      EXPECT_EQ(test::Snapshot(b, true), before) << fen << " " << MoveToText(m);
    }
  }
}

TEST(MakeUnmakeTest, DoubleStepLeavesItsMarkerAndAQuietMoveLosesTheOldOne) {
  BoardState b = test::StartBoard();
  Move m = test::GeneratedMove(b, "e2e4");
  MakeMove(b, m);
  UnmakeMove(b, m);
  EXPECT_EQ(b.Board[SquareOf(5, 3)], kWhiteMarker);
  EXPECT_EQ(b.Board[SquareOf(5, 2)], kWhitePawn);

  b = test::FenBoard("4k3/8/8/3pP3/8/8/8/4K1N1 w - d6");
  m = test::GeneratedMove(b, "g1f3");
  MakeMove(b, m);
  UnmakeMove(b, m);
  EXPECT_EQ(b.Board[SquareOf(4, 6)], kEmpty);
}

TEST(MakeUnmakeTest, FiftyCounterCountsQuietPieceMovesOnly) {
  BoardState b = test::FenBoard("4k3/8/8/2p5/8/1N6/8/R3K3 w - c6 9");
  Move rook = test::GeneratedMove(b, "a1a5");
  MakeMove(b, rook);
  EXPECT_EQ(b.FiftyCount, 10);
  UnmakeMove(b, rook);
  Move capture = test::GeneratedMove(b, "b3c5");
  MakeMove(b, capture);
  EXPECT_EQ(b.FiftyCount, 0);
  UnmakeMove(b, capture);
  EXPECT_EQ(b.FiftyCount, 9);
}

TEST(MakeUnmakeTest, PlyOutsideTheHistoryStaysInsideTheArray) {
  BoardState b = test::StartBoard();
  for (int ply : {-5, kFiftyHistorySize, 30000}) {
    b.Ply = ply;
    b.FiftyCount = 7;
    Move m = test::GeneratedMove(b, "g1f3");
    MakeMove(b, m);
    UnmakeMove(b, m);
    EXPECT_EQ(b.FiftyCount, 7);
  }
}

TEST(CommitMoveTest, EnPassantIsRecognisedByTheMarkerAlone) {
  BoardState b = test::StartBoard();
  for (const char* text : {"e2e4", "a7a6", "e4e5", "d7d5"}) ASSERT_TRUE(CommitMoveText(b, text));
  Move received{};
  received.From = static_cast<std::uint8_t>(SquareOf(5, 5));
  received.To = static_cast<std::uint8_t>(SquareOf(4, 6));  // EnPassant left at 0
  CommitMove(b, received);
  b.WhiteToMove = !b.WhiteToMove;
  EXPECT_EQ(b.Board[SquareOf(4, 5)], kEmpty);
  EXPECT_EQ(b.Board[SquareOf(4, 6)], kWhitePawn);
  EXPECT_EQ(b.TouchCount[SquareOf(4, 5)], 2);  // the double step and the capture
  EXPECT_EQ(b.PieceCount, 31);
  EXPECT_EQ(b.FiftyCount, 0);
}

TEST(CommitMoveTest, GameRecordStopsGrowingAtTheTwentiethPly) {
  BoardState b = test::StartBoard();
  b.BookPly = 0;
  ASSERT_TRUE(CommitMoveText(b, "e2e4"));
  ASSERT_TRUE(CommitMoveText(b, "e7e5"));
  EXPECT_EQ(b.GameMoves, " e2e4e7e5");
  b.BookPly = 19;
  ASSERT_TRUE(CommitMoveText(b, "g1f3"));
  ASSERT_TRUE(CommitMoveText(b, "b8c6"));
  EXPECT_EQ(b.GameMoves, " e2e4e7e5g1f3");
  EXPECT_EQ(b.BookPly, 21);
}

TEST(CommitMoveTest, CommittedGameMatchesItsFen) {
  BoardState b = test::StartBoard();
  for (const char* text : {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6", "e1g1", "f6e4"}) {
    ASSERT_TRUE(CommitMoveText(b, text)) << text;
  }
  EXPECT_EQ(PositionText(b), "r1bqkb1r/pppp1ppp/2n5/4p3/2B1n3/5N2/PPPP1PPP/RNBQ1RK1 w kq -");
  EXPECT_EQ(b.WhiteCastled, 1);
  EXPECT_EQ(b.WhiteKingSquare, SquareOf(7, 1));
  EXPECT_EQ(b.PieceCount, 31);
  EXPECT_TRUE(std::all_of(b.PieceList + 1, b.PieceList + 1 + b.PieceCount,
                          [](std::uint8_t s) { return s != 0; }));
}

}  // namespace
}  // namespace zandrell
