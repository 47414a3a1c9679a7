// The command table and received moves, on an engine in this process.
#include <gtest/gtest.h>

#include "board/fen_setup.h"
#include "board/position_text.h"
#include "engine/limits.h"
#include "search/hash_table.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

class Interpreter : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Init();
    T.TakeOutput();
  }
  GameState& Game() { return T->game; }
  TestEngine T;
};

TEST_F(Interpreter, LinesOfOneChunkInOrderAndAnOverlongUnfinishedLineDroppedWhole) {
  T.Feed("e2e4\n");
  T.Feed("time 30000\notim 29000\ne7e5\n");
  EXPECT_FLOAT_EQ(Game().OwnTime, 300.0f);
  EXPECT_DOUBLE_EQ(Game().OpponentTime, 290.0);
  EXPECT_EQ(PositionText(T->board), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6");
  EXPECT_EQ(T.TakeOutput(), "");
  T.Feed(std::string(70000, 'x'));
  T.Feed("yyy e2e5\ne2e5\n");
  EXPECT_EQ(T.TakeOutput(), "\nIllegal move: e2e5\n");
}

TEST_F(Interpreter, TimeControlsSidesAndNew) {
  T.Feed("level 0 2:30 12\n");
  EXPECT_EQ(Game().BaseTime, 150);  // minutes:seconds
  EXPECT_EQ(Game().Increment, 12);
  T.Feed("sd 4\n");  // a fixed depth drops the clocks
  EXPECT_EQ(Game().MaxDepth, 4);
  EXPECT_FLOAT_EQ(Game().OwnTime, 0.0f);
  T.Feed("st 10\npost\ne2e4\n");  // one move per ten seconds, and no depth limit
  EXPECT_EQ(Game().MovesPerControl, 1);
  EXPECT_EQ(Game().MaxDepth, 1000);
  T.Feed("new\n");  // keeps the time control, ends posting and the game
  EXPECT_EQ(Game().BaseTime, 10);
  EXPECT_FALSE(Game().PostThinking);
  EXPECT_EQ(Game().MovesPerControl, 0);
  EXPECT_FLOAT_EQ(Game().OwnTime, 300.0f);
  EXPECT_EQ(T->board.GameMoves, " ");

  T.Feed("force\nblack\n");
  EXPECT_FALSE(T->board.WhiteToMove);
  EXPECT_TRUE(Game().EngineSide);
  T.Feed("white\n");
  EXPECT_TRUE(T->board.WhiteToMove);
  EXPECT_FALSE(Game().EngineSide);
  EXPECT_TRUE(Game().ForceMode);
  T.Feed("sd 1\ngo\n");
  EXPECT_TRUE(Game().EngineSide);
  EXPECT_FALSE(Game().ForceMode);
}

TEST_F(Interpreter, AbsurdTimeControlsAreClampedOrDefaulted) {
  T.Feed("level 7\n");
  EXPECT_EQ(Game().MovesPerControl, 7);
  EXPECT_EQ(Game().BaseTime, 0);
  T.Feed("level 99999999999 99999999999 -5\n");
  EXPECT_EQ(Game().MovesPerControl, 2147483647);
  // Clock numbers are read within a million seconds either way.
  EXPECT_EQ(Game().BaseTime, 1000000);
  EXPECT_EQ(Game().Increment, -5);
  T.Feed("sd -7\n");
  EXPECT_EQ(Game().MaxDepth, 1);
  T.Feed("sd 99999\n");
  EXPECT_EQ(Game().MaxDepth, kMaxSearchDepth);
  T.Feed("time 1e400\n");
  EXPECT_EQ(Game().OwnTime, 1e6f);
  T.Feed("st 1e300\notim -1e400\n");
  EXPECT_EQ(Game().BaseTime, 1000000);
  EXPECT_EQ(Game().OpponentTime, -1e6);
}

TEST_F(Interpreter, IllegalAndMalformedMovesAreRefusedEachOnItsOwn) {
  T->shell.LogEnabled = true;
  T.Feed("e2e5\nE2E4\ne2e4 \n");
  EXPECT_EQ(T.TakeOutput(), "\nIllegal move: e2e5\n\nIllegal move: E2E4\n\nIllegal move: e2e4 \n");
  EXPECT_NE(T.Log().find("Illegal move: e2e5\r\nIllegal move: E2E4\r\n"), std::string::npos);
  T.Feed("force\ne2e4\ne2e4\nd7d5\n");  // in a replay too: the second e2e4 alone
  EXPECT_EQ(T.TakeOutput(), "\nIllegal move: e2e4\n");
  EXPECT_EQ(T->board.BookPly, 21 + 2);  // two moves committed, without a book
  EXPECT_NE(T.Log().find("move: e2e4\r\n"), std::string::npos);
}

TEST_F(Interpreter, TheThirdRepetitionIsDeclaredOnce) {
  const std::string round = "g1f3\ng8f6\nf3g1\nf6g8\n";
  T.Feed(round + round);
  EXPECT_EQ(T.TakeOutput(), "");
  T.Feed("g1f3\n");
  EXPECT_EQ(T.TakeOutput(), "\n1/2-1/2 {Draw by repetition}\n");
  EXPECT_EQ(Game().GameResult, 4);
  T.Feed("g8f6\nf3g1\nf6g8\n");  // each of these reaches its own third occurrence
  T.TakeOutput();
  T.Feed("g1f3\n");  // the fourth occurrence says nothing more
  EXPECT_EQ(T.TakeOutput(), "");
}

TEST_F(Interpreter, ARejectedMoveKeepsTheEnPassantMarker) {
  // The d2 knight is pinned; testing it must not wipe the c6 marker.
  ASSERT_TRUE(SetUpFromFen(T->board, "4k3/8/8/2pP4/1b6/8/3N4/4K3 w - c6"));
  T.Feed("d2f3\n");
  EXPECT_EQ(T.TakeOutput(), "\nIllegal move: d2f3\n");
  EXPECT_EQ(PositionText(T->board), "4k3/8/8/2pP4/1b6/8/3N4/4K3 w - c6");
  T.Feed("d5c6\n");
  EXPECT_EQ(T.TakeOutput(), "");
  EXPECT_EQ(PositionText(T->board), "4k3/8/2P5/8/1b6/8/3N4/4K3 b - -");
}

// Offered with the table only: without it both lines are ignored as before.
TEST_F(Interpreter, CoresAndMemorySetTheThreadsAndTheTableWithTheTableOn) {
  T.Feed("cores 4\nmemory 8\n");
  EXPECT_EQ(T.TakeOutput(), "");
  EXPECT_EQ(T->threads.Count, 1);
  EXPECT_EQ(T->search.Hash.SizeMb, 0);
  ResizeHashTable(*T, 16);
  T.Feed("cores 4\nmemory 8\n");
  EXPECT_EQ(T->threads.Count, 4);
  EXPECT_EQ(T->search.Hash.SizeMb, 8);
  EXPECT_EQ(T->uci.HashMegabytes, 8);
  T.Feed("cores 100000\nmemory 0\ncores two\n");
  EXPECT_EQ(T->threads.Count, kMaxThreads);
  EXPECT_EQ(T->search.Hash.SizeMb, 8);
  EXPECT_EQ(T.TakeOutput(), "\nError (bad value): memory 0\n\nError (bad value): cores two\n");
}

TEST_F(Interpreter, QuitShutsDownAndNothingAfterItRuns) {
  T->shell.LogEnabled = true;
  T.Feed("quit\ne2e5\n");
  EXPECT_TRUE(T.HandlesClosed());
  EXPECT_TRUE(T.Exited());
  EXPECT_EQ(T.TakeOutput(), "");
  EXPECT_NE(T.Log().find(" - Program terminated.\r\n====================\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zandrell
