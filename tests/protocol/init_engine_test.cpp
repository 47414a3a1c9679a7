#include <gtest/gtest.h>

#include <string>

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

// The thread count stays within 1..kMaxThreads whatever the file says.
TEST(InitEngine, ThreadsAreBroughtWithinRange) {
  const struct {
    const char* Text;
    int Threads;
  } cases[] = {{"4", 4}, {"100000", kMaxThreads}, {"-3", 1}, {"0", 1}, {"many", 1}, {"", 1}};
  for (const auto& c : cases) {
    TestEngine t;
    t.Folder().Write("Zandrell.ini", std::string("[Engine]\nThreads=") + c.Text + "\n");
    t.Init();
    EXPECT_EQ(t->threads.Count, c.Threads) << c.Text;
  }
}

}  // namespace
}  // namespace zandrell
