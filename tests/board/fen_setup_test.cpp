// Setting up positions from FEN records for tools and tests.
#include "board/position_text.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

TEST(FenSetupTest, PositionTextReadsBackTheRecord) {
  for (const char* fen :
       {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", "r3k2r/8/8/8/8/8/8/R3K2R w Kq -",
        "r3k2r/8/8/8/8/8/8/R3K2R b Qk -", "4k3/8/8/3pP3/8/8/8/4K3 w - d6"}) {
    BoardState b = test::FenBoard(fen);
    EXPECT_EQ(PositionText(b), fen);
  }
}

TEST(FenSetupTest, LostRightsBecomeTouchedHomeSquares) {
  BoardState b = test::FenBoard("r3k2r/8/8/8/8/8/8/R3K2R w Qk - 12 40");
  EXPECT_EQ(b.TouchCount[kE1], 0);
  EXPECT_EQ(b.TouchCount[kH1], 1);
  EXPECT_EQ(b.TouchCount[kA1], 0);
  EXPECT_EQ(b.TouchCount[kE8], 0);
  EXPECT_EQ(b.TouchCount[kA8], 1);
  EXPECT_EQ(b.FiftyCount, 12);
  // A right the board cannot have (no rook at home) is dropped.
  b = test::FenBoard("4k3/8/8/8/8/8/8/R3K3 w KQ -");
  EXPECT_EQ(PositionText(b), "4k3/8/8/8/8/8/8/R3K3 w Q -");
}

TEST(FenSetupTest, BadRecordsAreRefusedAndLeaveThePosition) {
  BoardState b = test::StartBoard();
  const std::string before = PositionText(b);
  for (const char* fen :
       {"", "8/8/8/8/8/8/8/8 w - -", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq -",
        "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e3",    // no pawn has moved
        "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3",  // wrong side
        "4k3/8/8/8/8/8/8/4K2r b - -",                               // White in check, Black to move
        "QQQQkQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/8/8/4K3 w - -",  // too many pieces
        "rnbqkbnr/pppppppp/8/8/8/N7/PPPPPPPP/RNBQKBNR w KQkq -",       // 17 white men
        "4k3/8/8/8/8/8/8/4K2P w - -",                                  // pawn on rank 1
        "4k2p/8/8/8/8/8/8/4K3 w - -",                                  // pawn on rank 8
        "4k3/8/8/8/8/8/8/4K3 w - - -1"}) {
    EXPECT_FALSE(SetUpFromFen(b, fen)) << fen;
    EXPECT_EQ(PositionText(b), before) << fen;
  }
}

}  // namespace
}  // namespace zandrell
