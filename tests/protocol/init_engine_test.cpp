#include <gtest/gtest.h>

#include "engine/search_state.h"
#include "support/test_engine.h"
#include "tables/constants.h"

namespace zandrell {
namespace {

using testing::TestEngine;

TEST(InitEngine, DefaultPieceValuesAndContempt) {
  TestEngine t;
  t.Init();
  const std::array<int, 17> expected = {0,   100, 100, 310, 310, 5000, 5000, 500, 500,
                                        900, 900, 313, 313, 0,   0,    100,  100};
  EXPECT_EQ(t->tables.PieceValue, expected);
  EXPECT_EQ(t->tables.Contempt, 0);
  EXPECT_EQ(t->board.PieceCount, 32);
  EXPECT_TRUE(t->board.WhiteToMove);
}

TEST(InitEngine, SettingsAreReadAsNumbers) {
  TestEngine t;
  t.folder().Write("Zandrell.ini",
                   "[Engine]\r\nPawnValue=120abc\r\nKnightValue=3.5\r\nBishopValue=2.5\r\n"
                   "RookValue=rook\r\nQueenValue=99999\r\nContempt=-40000\r\n");
  t.Init();
  EXPECT_EQ(t->tables.PawnValue, 120);
  EXPECT_EQ(t->tables.KnightValue, 4);
  EXPECT_EQ(t->tables.BishopValue, 2);
  EXPECT_EQ(t->tables.RookValue, 0);
  EXPECT_EQ(t->tables.QueenValue, 32767);
  EXPECT_EQ(t->tables.Contempt, -32768);
  EXPECT_EQ(t->tables.PieceValue[15], 120);
  EXPECT_EQ(t->tables.PieceValue[4], 4);
}

TEST(ConstantTables, BlackTablesMirrorWhiteAndTheBorderIsZero) {
  const std::pair<const SquareTable*, const SquareTable*> pairs[] = {
      {&PawnTableWhite, &PawnTableBlack},
      {&KingMiddleTableWhite, &KingMiddleTableBlack},
      {&BishopTableWhite, &BishopTableBlack},
      {&KnightTableWhite, &KnightTableBlack}};
  for (auto [white, black] : pairs) {
    for (int rank = 1; rank <= 8; ++rank) {
      for (int file = 1; file <= 8; ++file) {
        EXPECT_EQ((*black)[SquareOf(file, rank)], (*white)[SquareOf(file, 9 - rank)]);
        EXPECT_EQ(KingEndTable[SquareOf(file, rank)], KingEndTable[SquareOf(9 - file, rank)]);
        EXPECT_EQ(KingEndTable[SquareOf(file, rank)], KingEndTable[SquareOf(file, 9 - rank)]);
      }
    }
  }
  for (int square = 0; square < 144; ++square) {
    int file = square % 12, rank = square / 12;
    if (file >= 2 && file <= 9 && rank >= 2 && rank <= 9) continue;
    for (const SquareTable* table : {&InitialBoard, &PawnTableWhite, &KingEndTable,
                                     &BishopTableBlack, &KnightTableWhite}) {
      EXPECT_EQ((*table)[square], 0);
    }
  }
  EXPECT_EQ(PawnTableBlack[SquareOf(4, 7)], -4);
  EXPECT_EQ(PawnTableBlack[SquareOf(5, 2)], 20);
  EXPECT_EQ(KingMiddleTableBlack[SquareOf(2, 8)], 10);
  EXPECT_EQ(KnightTableBlack[SquareOf(5, 7)], 1);
  EXPECT_EQ(DirectionOffsets[4], 13);
  EXPECT_EQ(DirectionOffsets[6], 11);
  for (std::int32_t score : KillerScoreReset) EXPECT_EQ(score, -100000);
}

}  // namespace
}  // namespace zandrell
