// The attack test and the legality rule, castling through attacked squares included.
#include "board/attacks.h"
#include "board/make_move.h"
#include "board_test_support.h"

namespace zandrell {
namespace {

TEST(AttackTest, PawnsAttackForwardDiagonallyOnly) {
  BoardState b = test::FenBoard("4k3/8/8/3p4/3P4/8/8/4K3 w - -");
  EXPECT_TRUE(IsAttacked(b, SquareOf(5, 4), Side::kBlack));   // d5 takes e4
  EXPECT_TRUE(IsAttacked(b, SquareOf(3, 4), Side::kBlack));   // and c4
  EXPECT_FALSE(IsAttacked(b, SquareOf(4, 4), Side::kBlack));  // not d4 ahead of it
  EXPECT_TRUE(IsAttacked(b, SquareOf(5, 5), Side::kWhite));   // d4 takes e5
  EXPECT_FALSE(IsAttacked(b, SquareOf(4, 5), Side::kWhite));
  EXPECT_FALSE(IsAttacked(b, SquareOf(5, 6), Side::kBlack));  // a pawn does not attack backwards
}

TEST(AttackTest, RaysPassMarkersAndStopAtPieces) {
  BoardState b = test::FenBoard("4k3/8/8/8/8/8/8/R3K3 w - -");
  EXPECT_TRUE(IsAttacked(b, SquareOf(3, 1), Side::kWhite));
  EXPECT_FALSE(IsAttacked(b, SquareOf(8, 1), Side::kWhite));  // the king blocks the rook
  b.Board[SquareOf(1, 3)] = kWhiteMarker;
  EXPECT_TRUE(IsAttacked(b, SquareOf(1, 6), Side::kWhite));
  b.Board[SquareOf(1, 4)] = kBlackKnight;
  EXPECT_FALSE(IsAttacked(b, SquareOf(1, 6), Side::kWhite));
  EXPECT_TRUE(IsAttacked(b, SquareOf(4, 2), Side::kWhite));   // the king next door
  EXPECT_FALSE(IsAttacked(b, SquareOf(5, 3), Side::kWhite));  // a king two squares away
  EXPECT_TRUE(IsAttacked(b, SquareOf(3, 3), Side::kBlack));   // the knight
}

bool CastleIsLegal(const char* fen, const char* text) {
  BoardState b = test::FenBoard(fen);
  Move m = test::GeneratedMove(b, text);
  MakeMove(b, m);
  const bool legal = IsLegal(b, m);
  UnmakeMove(b, m);
  return legal;
}

TEST(LegalityTest, CastlingMayNotCrossAnAttackedSquare) {
  EXPECT_FALSE(CastleIsLegal("4k3/8/8/8/8/8/6b1/R3K2R w KQ -", "e1g1"));  // f1 attacked
  EXPECT_TRUE(CastleIsLegal("4k3/8/8/8/8/8/6b1/R3K2R w KQ -", "e1c1"));
  EXPECT_TRUE(CastleIsLegal("1r2k3/8/8/8/8/8/8/R3K2R w KQ -", "e1c1"));  // only b1 attacked
  EXPECT_FALSE(CastleIsLegal("4k3/8/8/8/8/8/8/R3K1rR w Q -", "e1c1"));   // out of check
  EXPECT_FALSE(CastleIsLegal("r3k2r/8/8/8/8/8/8/4KR2 b kq -", "e8g8"));  // f8 attacked
  EXPECT_TRUE(CastleIsLegal("r3k2r/8/8/8/8/8/8/4KR2 b kq -", "e8c8"));
}

TEST(LegalityTest, OnlyTheMoversKingCounts) {
  // Moving the pinned knight exposes the white king; the black king in check
  // after a white move does not make that move illegal.
  BoardState b = test::FenBoard("4k3/8/8/8/4r3/8/4N3/4K3 w - -");
  Move pinned = test::GeneratedMove(b, "e2c3");
  MakeMove(b, pinned);
  EXPECT_FALSE(IsLegal(b, pinned));
  UnmakeMove(b, pinned);
  Move check = test::GeneratedMove(b, "e2d4");
  MakeMove(b, check);
  EXPECT_FALSE(IsLegal(b, check));
  UnmakeMove(b, check);
  b = test::FenBoard("4k3/8/8/8/8/8/8/R3K3 w - -");
  Move rook = test::GeneratedMove(b, "a1a8");
  MakeMove(b, rook);
  EXPECT_TRUE(IsLegal(b, rook));
  EXPECT_TRUE(InCheck(b));
  UnmakeMove(b, rook);
}

}  // namespace
}  // namespace zandrell
