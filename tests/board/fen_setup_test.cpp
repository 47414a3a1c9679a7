// Setting up positions from FEN records for tools and tests.
#include "board/fen_setup.h"
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
  // The caller may learn which: here White's short right, and Black's two (no king at home).
  std::string dropped = "stale";
  ASSERT_TRUE(SetUpFromFen(b, "3k4/8/8/8/8/8/8/R3K3 w KQkq -", &dropped));
  EXPECT_EQ(dropped, "Kkq");
  ASSERT_TRUE(SetUpFromFen(b, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", &dropped));
  EXPECT_EQ(dropped, "");
}

}  // namespace
}  // namespace zandrell
