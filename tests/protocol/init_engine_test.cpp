#include <gtest/gtest.h>

#include "support/test_engine.h"

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
  t.Folder().Write("Zandrell.ini",
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

}  // namespace
}  // namespace zandrell
