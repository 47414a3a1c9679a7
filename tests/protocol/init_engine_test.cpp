#include <gtest/gtest.h>

#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

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
