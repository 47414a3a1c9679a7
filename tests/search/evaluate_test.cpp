#include "search/evaluate.h"

#include "search_test_support.h"

namespace zandrell::test {
namespace {

using Evaluation = SearchTest;

TEST_F(Evaluation, StartPositionIsLevelForBothSides) {
  EXPECT_EQ(Eval(), 0);
  EXPECT_TRUE(E().search.Middlegame);
  E().board.WhiteToMove = false;
  EXPECT_EQ(Eval(), 0);
}

// Pawn structure, the endgame king and rooks, from White's side.
TEST_F(Evaluation, EndgameTerms) {
  struct Case {
    const char* Fen;
    int Score;
  };
  for (const Case& c : {
           // a2: 100, isolated on a file without enemy pawns -30, passed alone +8.
           Case{"4k3/8/8/8/8/8/P7/4K3 w - - 0 1", 78},
           // Doubled: a2 100 - 30 - 3 + 8; a3 (table 2) 102 - 30 - 3 + 14.
           Case{"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", 158},
           // Passed pawns with a friendly neighbour: +30 more each.
           Case{"4k3/8/8/8/8/8/PP6/4K3 w - - 0 1", 2 * (100 + 8 + 30)},
           // White d4 (table 16) with a black pawn on e7: +4 only; Black e7 (table -8)
           // sees a white pawn on the d-file: +6 for Black. Both isolated.
           Case{"4k3/4p3/8/8/3P4/8/8/4K3 w - - 0 1", (100 + 16 - 30 + 4) - (100 - 8 - 30 + 6)},
           Case{"4k3/8/8/8/4K3/8/8/8 w - - 0 1", 15},  // the endgame king table
           // Rook a7: 500 + 10 (seventh) + 11 (fully open file).
           Case{"4k3/R7/8/8/8/8/8/4K3 w - - 0 1", 521},
       }) {
    Fen(c.Fen);
    EXPECT_FALSE(E().search.Middlegame) << c.Fen;
    EXPECT_EQ(Eval(), c.Score) << c.Fen;
    E().board.WhiteToMove = false;
    EXPECT_EQ(Eval(), -c.Score) << c.Fen;
  }
}

// Eight pieces other than pawns: middle game. White: Kg1 Rf1 Qd1 Nb1, pawns
// f2 g2 h2; Black: Ke8 Rh8 Qd8 Nb8, pawns f7 g7 h7.
constexpr char kShieldPosition[] = "1n1qk2r/5ppp/8/8/8/8/5PPP/1N1Q1RK1 w - - 0 1";

TEST_F(Evaluation, KingShieldAndOpenFilesInTheMiddleGame) {
  // White king 10 + 24 shield; black king 0 + 8 shield - 30 for the open d- and
  // e-files; everything else cancels.
  Fen(kShieldPosition);
  EXPECT_EQ(Eval(), 56);
  EXPECT_TRUE(E().search.Middlegame);
}

TEST_F(Evaluation, CastlingBonusOnlyInTheMiddleGame) {
  Fen(kShieldPosition);
  E().board.WhiteCastled = 1;
  EXPECT_EQ(Eval(), 96);
  Fen("4k3/8/8/8/8/8/5PPP/6K1 w - - 0 1");
  const int before = Eval();
  E().board.WhiteCastled = 1;
  EXPECT_EQ(Eval(), before);
}

TEST_F(Evaluation, ShieldPawnOneStepFurtherCountsHalf) {
  // g3 instead of g2: the pawn's own table +1, shield 8 -> 4.
  Fen("1n1qk2r/5ppp/8/8/8/6P1/5P1P/1N1Q1RK1 w - - 0 1");
  EXPECT_EQ(Eval(), 53);
}

TEST_F(Evaluation, FileWithoutEnemyPawnNextToTheKing) {
  // No black g-pawn: +100 material, black f7 and h7 isolated +10 each, white g2
  // passed beside an enemy h-pawn +4, open g-file next to the white king -15.
  Fen("1n1qk2r/5p1p/8/8/8/8/5PPP/1N1Q1RK1 w - - 0 1");
  EXPECT_EQ(Eval(), 56 + 100 + 10 + 10 + 4 - 15);
}

TEST_F(Evaluation, EarlyQueenUntilTheBackRankMinorsHaveMoved) {
  Fen(kShieldPosition);
  const int home = Eval();
  Fen("1n1qk2r/5ppp/8/8/8/3Q4/5PPP/1N3RK1 w - - 0 1");
  EXPECT_EQ(Eval(), home - 7);
  for (int square : {kB1, kC1, kF1, kG1}) E().board.TouchCount[square] = 1;
  // b1 touched: the knight there is no longer undeveloped either (+18).
  EXPECT_EQ(Eval(), home + 18);
}

}  // namespace
}  // namespace zandrell::test
