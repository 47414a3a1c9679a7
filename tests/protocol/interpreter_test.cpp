// The command table and received moves, on an engine in this process.
#include <gtest/gtest.h>

#include "board/fen_setup.h"
#include "board/position_text.h"
#include "engine/limits.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

class Interpreter : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Init();
    t.TakeOutput();
  }
  GameState& game() { return t->game; }
  TestEngine t;
};

TEST_F(Interpreter, OneChunkOfThreeLinesIsHandledInOrder) {
  t.Feed("e2e4\n");
  t.Feed("time 30000\notim 29000\ne7e5\n");
  EXPECT_FLOAT_EQ(game().OwnTime, 300.0f);
  EXPECT_DOUBLE_EQ(game().OpponentTime, 290.0);
  EXPECT_TRUE(t->board.WhiteToMove);
  EXPECT_EQ(PositionText(t->board), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6");
  EXPECT_EQ(t.TakeOutput(), "");
}

TEST_F(Interpreter, AnUnfinishedLineWaitsForItsEnd) {
  t.Feed("otim 12345\ntime 3");
  EXPECT_DOUBLE_EQ(game().OpponentTime, 123.45);
  EXPECT_FLOAT_EQ(game().OwnTime, 300.0f);
  t.Feed("000\n");
  EXPECT_FLOAT_EQ(game().OwnTime, 30.0f);
  t.Feed("time 12000\n");
  EXPECT_FLOAT_EQ(game().OwnTime, 120.0f);
}

TEST_F(Interpreter, AnOverlongUnfinishedLineIsDroppedWhole) {
  t.Feed(std::string(70000, 'x'));
  t.Feed("yyy e2e5\ne2e5\n");
  EXPECT_EQ(t.TakeOutput(), "\nIllegal move: e2e5\n");
}

TEST_F(Interpreter, LevelStAndSdSetTheTimeControl) {
  t.Feed("level 0 2:30 12\n");
  EXPECT_EQ(game().BaseTime, 150);  // minutes:seconds
  EXPECT_EQ(game().Increment, 12);
  t.Feed("sd 4\n");  // a fixed depth drops the clocks
  EXPECT_EQ(game().MaxDepth, 4);
  EXPECT_FLOAT_EQ(game().OwnTime, 0.0f);
  t.Feed("st 10\n");  // one move per ten seconds, and no depth limit
  EXPECT_EQ(game().MovesPerControl, 1);
  EXPECT_FLOAT_EQ(game().OwnTime, 10.0f);
  EXPECT_EQ(game().MaxDepth, 1000);
}

TEST_F(Interpreter, AbsurdTimeControlsAreClampedOrDefaulted) {
  t.Feed("level 7\n");
  EXPECT_EQ(game().MovesPerControl, 7);
  EXPECT_EQ(game().BaseTime, 0);
  EXPECT_EQ(game().Increment, 0);
  t.Feed("level 99999999999 99999999999 -5\n");
  EXPECT_EQ(game().MovesPerControl, 2147483647);
  EXPECT_EQ(game().BaseTime, 2147483647);
  EXPECT_EQ(game().Increment, -5);
  t.Feed("sd 0\n");
  EXPECT_EQ(game().MaxDepth, 1);
  t.Feed("sd -7\n");
  EXPECT_EQ(game().MaxDepth, 1);
  t.Feed("sd 99999\n");
  EXPECT_EQ(game().MaxDepth, kMaxSearchDepth);
  t.Feed("time 1e400\n");
  EXPECT_GT(game().OwnTime, 1e30f);
}

TEST_F(Interpreter, NewKeepsTheTimeControlButEndsPosting) {
  t.Feed("st 10\npost\ne2e4\nnew\n");
  EXPECT_EQ(game().BaseTime, 10);
  EXPECT_EQ(game().MaxDepth, 1000);
  EXPECT_FALSE(game().PostThinking);
  EXPECT_EQ(game().MovesPerControl, 0);
  EXPECT_FLOAT_EQ(game().OwnTime, 300.0f);
  EXPECT_EQ(t->board.GameMoves, " ");
}

TEST_F(Interpreter, SidesForceAndGo) {
  t.Feed("go\n");
  EXPECT_TRUE(game().EngineSide);
  EXPECT_FALSE(game().ForceMode);
  t.Feed("new\nforce\n");
  EXPECT_TRUE(game().ForceMode);
  t.Feed("black\n");
  EXPECT_FALSE(t->board.WhiteToMove);
  EXPECT_TRUE(game().EngineSide);
  t.Feed("white\n");
  EXPECT_TRUE(t->board.WhiteToMove);
  EXPECT_FALSE(game().EngineSide);
  t.Feed("go\n");
  EXPECT_TRUE(game().EngineSide);
  EXPECT_FALSE(game().ForceMode);
}

TEST_F(Interpreter, IllegalAndMalformedMovesAreRefused) {
  t->shell.LogEnabled = true;
  t.Feed("e2e5\nE2E4\ne2e4 \n");
  EXPECT_EQ(t.TakeOutput(), "\nIllegal move: e2e5\n\nIllegal move: E2E4\n\nIllegal move: e2e4 \n");
  EXPECT_EQ(t.Log().find("Illegal move: e2e5\r\nIllegal move: E2E4\r\n") != std::string::npos,
            true);
  t.Feed("e2e4\n");
  EXPECT_FALSE(t->board.WhiteToMove);
  EXPECT_NE(t.Log().find("move: e2e4\r\n"), std::string::npos);
}

TEST_F(Interpreter, EachMoveOfAReplayIsTestedOnItsOwn) {
  t.Feed("force\ne2e4\ne2e4\nd7d5\n");
  EXPECT_EQ(t.TakeOutput(), "\nIllegal move: e2e4\n");
  EXPECT_EQ(t->board.BookPly, 21 + 2);  // two moves committed, without a book
}

TEST_F(Interpreter, TheThirdRepetitionIsDeclaredOnce) {
  const std::string round = "g1f3\ng8f6\nf3g1\nf6g8\n";
  t.Feed(round + round);
  EXPECT_EQ(t.TakeOutput(), "");
  t.Feed("g1f3\n");
  EXPECT_EQ(t.TakeOutput(), "\n1/2-1/2 {Draw by repetition}\n");
  EXPECT_EQ(game().GameResult, 4);
  t.Feed("g8f6\nf3g1\nf6g8\n");  // each of these reaches its own third occurrence
  t.TakeOutput();
  t.Feed("g1f3\n");  // the fourth occurrence says nothing more
  EXPECT_EQ(t.TakeOutput(), "");
}

TEST_F(Interpreter, ARejectedMoveKeepsTheEnPassantMarker) {
  // The d2 knight is pinned; testing it must not wipe the c6 marker.
  ASSERT_TRUE(SetUpFromFen(t->board, "4k3/8/8/2pP4/1b6/8/3N4/4K3 w - c6"));
  t.Feed("d2f3\n");
  EXPECT_EQ(t.TakeOutput(), "\nIllegal move: d2f3\n");
  EXPECT_EQ(PositionText(t->board), "4k3/8/8/2pP4/1b6/8/3N4/4K3 w - c6");
  t.Feed("d5c6\n");
  EXPECT_EQ(t.TakeOutput(), "");
  EXPECT_EQ(PositionText(t->board), "4k3/8/2P5/8/1b6/8/3N4/4K3 b - -");
}

TEST_F(Interpreter, ResultNameRatingAndComputerAreLogged) {
  t->shell.LogEnabled = true;
  t.Feed("name Fairy-Max\nrating 2100 1850\ncomputer\nresult 1-0 {White mates}\n");
  EXPECT_EQ(game().OpponentName, "Fairy-Max");
  EXPECT_EQ(game().OpponentRating, 1850);
  EXPECT_TRUE(game().OpponentIsComputer);
  EXPECT_EQ(t.TakeOutput(), "\n1-0 {White mates}\n");
  EXPECT_NE(t.Log().find("result 1-0 {White mates}\r\nFairy-Max (1850) True\r\n"),
            std::string::npos);
  t.Feed("rating 950 1850\nrating\nresult\n");
  EXPECT_EQ(game().OpponentRating, 0);
  EXPECT_EQ(t.TakeOutput(), "\n\n");
}

TEST_F(Interpreter, DrawOffersAreDeclinedAndSeeksPosted) {
  t.Feed("draw\nallseeks\n");
  EXPECT_EQ(t.TakeOutput(),
            "\ntellics decline\n\ntellics say Sorry, this program does not accept draws yet.\n"
            "\ntellics seek 5 0 f\n\ntellics seek 15 5 f\n");
  t.folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=3 2 r\r\nSeek2=\r\n");
  t.Feed("allseeks\n");
  EXPECT_EQ(t.TakeOutput(), "\ntellics seek 3 2 r\n\ntellics seek \n");
  EXPECT_NE(t.Log().find("Error retrieving setting: Seek2"), std::string::npos);
}

TEST_F(Interpreter, QuitShutsDownAndNothingAfterItRuns) {
  t->shell.LogEnabled = true;
  t.Feed("quit\ne2e5\n");
  EXPECT_TRUE(t.handlesClosed());
  EXPECT_TRUE(t.exited());
  EXPECT_EQ(t.TakeOutput(), "");
  EXPECT_NE(t.Log().find(" - Program terminated.\r\n====================\r\n"), std::string::npos);
}

TEST_F(Interpreter, NewLogsTheGameStart) {
  t->shell.LogEnabled = true;
  t.Feed("new\n");
  EXPECT_NE(t.Log().find("====================\r\n"), std::string::npos);
  EXPECT_NE(t.Log().find(" - New Game\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zandrell
