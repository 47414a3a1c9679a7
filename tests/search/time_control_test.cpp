#include "search/time_control.h"

#include <gtest/gtest.h>

#include <limits>

#include "search/hash_table.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

GameState Clocks(int movesPerControl, int baseTime, int increment, float own, double opponent) {
  GameState g;
  g.MovesPerControl = movesPerControl;
  g.BaseTime = baseTime;
  g.Increment = increment;
  g.OwnTime = own;
  g.OpponentTime = opponent;
  return g;
}

TEST(AllotTime, FixedTimePerMoveIgnoresTheBank) {
  GameState g = Clocks(1, 5, 0, 5, 5);
  g.TimeBank = 10;
  EXPECT_EQ(AllotTime(g), 5.0f);
  EXPECT_EQ(g.TimeBank, 10.0);
}

TEST(AllotTime, MovesPerControlDrawOnTheBank) {
  GameState g = Clocks(40, 300, 0, 300, 300);
  EXPECT_FLOAT_EQ(AllotTime(g), 6.5f);
  g.TimeBank = 0.9;  // below one second: untouched
  EXPECT_FLOAT_EQ(AllotTime(g), 6.5f);
  EXPECT_DOUBLE_EQ(g.TimeBank, 0.9);
  g.TimeBank = 3;
  EXPECT_FLOAT_EQ(AllotTime(g), static_cast<float>(6.5 + 0.666 * 3));
  EXPECT_NEAR(g.TimeBank, 3 - 0.666 * 3, 1e-9);
}

// Sudden death: a divisor that follows the lag behind the opponent's clock, one
// second plus the increment on a short clock, half of what is left under two.
TEST(AllotTime, SuddenDeathAllotments) {
  struct Case {
    int Increment;
    float Own;
    double Opponent;
    float Allotted;
  };
  for (const Case& c : {
           Case{0, 300, 300, 10.0f}, Case{0, 100, 200, 2.5f},    // lag 100 > 20
           Case{0, 190, 200, 190.0f / 30.0f},                    // lag 10, not above 10
           Case{0, 185, 200, 185.0f / 35.0f},                    // lag 15: above 10, not above 20
           Case{12, 300, 300, 22.0f},                            // plus the increment
           Case{0, 60, 300, 1.0f},                               // short clock
           Case{2, 30, 300, 3.0f},                               // short clock with increment
           Case{2, 3.5f, 300, 1.0f},                             // 3.5 - 1 - 2 is not above 1
           Case{0, 1.5f, 300, 0.75f},                            // under two seconds
           Case{0, 2.0f, 300, 1.0f}, Case{0, -0.5f, 300, 0.0f},  // flagged
       }) {
    GameState g = Clocks(0, 300, c.Increment, c.Own, c.Opponent);
    EXPECT_FLOAT_EQ(AllotTime(g), c.Allotted) << c.Own << " vs " << c.Opponent;
  }
}

// A control of several moves: the allotment stays as it was wherever the clock
// can pay for it, a control of under a second a move still thinks, and a
// clock nearly spent is not given to one move.
TEST(AllotTime, SeveralMovesPerControlStayWithinWhatTheClockCanPay) {
  GameState g = Clocks(40, 300, 0, 300, 300);
  EXPECT_FLOAT_EQ(AllotTime(g, 40), 6.5f);
  EXPECT_FLOAT_EQ(AllotTime(g, 20), 6.5f);
  EXPECT_FLOAT_EQ(AllotTime(g, 10), 7.5f);  // far ahead of the clock: a quarter of 30 s
  g = Clocks(40, 30, 0, 30, 30);            // 30/40 - 1 < 0 before
  EXPECT_FLOAT_EQ(AllotTime(g, 40), 0.25f * 30 / 40);
  g = Clocks(40, 300, 0, 1, 300);  // one second left, 40 moves to go: not 6.5 s
  EXPECT_FLOAT_EQ(AllotTime(g, 40), 2.0f / 41);
  g = Clocks(40, 300, 0, 1, 300);  // the control's last move may use what is left
  EXPECT_FLOAT_EQ(AllotTime(g, 1), 1.0f);
}

TEST(MoveTimeLimit, TheClockLessItsReserveBindsOnlyWhereAClockRunsOut) {
  // 5% of the clock, at least 30 ms, and 5 ms to send the move.
  EXPECT_NEAR(MoveTimeLimit(Clocks(0, 5, 0, 5, 5)), 5 - 0.25 - 0.005, 1e-6);
  EXPECT_NEAR(MoveTimeLimit(Clocks(0, 5, 0, 0.04f, 5)), 0.04 - 0.03 - 0.005, 1e-6);
  EXPECT_EQ(MoveTimeLimit(Clocks(0, 5, 0, 0.01f, 5)), 0.0);
  EXPECT_EQ(MoveTimeLimit(Clocks(0, 5, 0, -3, 5)), 0.0);
  EXPECT_NEAR(MoveTimeLimit(Clocks(40, 300, 0, 2, 300)), 2 - 0.1 - 0.005, 1e-6);
  // "st" is its own limit; a clock of one move per control keeps the reserve of
  // every other clock; a fixed depth has none.
  GameState fixedTime = Clocks(1, 5, 0, 0.01f, 5);
  fixedTime.FixedTimePerMove = true;
  EXPECT_EQ(MoveTimeLimit(fixedTime), std::numeric_limits<double>::infinity());
  EXPECT_NEAR(MoveTimeLimit(Clocks(1, 2, 0, 2, 2)), 2 - 0.1 - 0.005, 1e-6);
  GameState depth = Clocks(0, 0, 0, 0, 0);
  depth.MaxDepth = 4;
  EXPECT_EQ(MoveTimeLimit(depth), std::numeric_limits<double>::infinity());
}

TEST(TimeBank, UnusedAllotmentAndIncrementGoToTheBank) {
  GameState g = Clocks(40, 300, 2, 300, 300);
  UpdateTimeBank(g, 6.5, 4.0);
  EXPECT_DOUBLE_EQ(g.TimeBank, 4.5);
  GameState suddenDeath = Clocks(0, 300, 2, 300, 300);
  UpdateTimeBank(suddenDeath, 1.0, 3.0);
  EXPECT_DOUBLE_EQ(suddenDeath.TimeBank, -2.0);
}

using ShortClock = SearchTest;

TEST_F(ShortClock, OneSecondOrLessWithTenSecondsLeftStopsAfterDepthThree) {
  for (const char* clock : {"level 0 0:10 0\n", "level 0 0:05 0\ntime 150\n"}) {  // 1, 0.75 s
    T.Feed(std::string("new\n") + clock);
    E().game.EngineSide = true;
    EngineMove(E());
    EXPECT_EQ(E().search.IterationDepth, 4) << clock;  // depths 1..3 only
    EXPECT_NE(T.TakeOutput().find("move "), std::string::npos) << clock;
  }
}

// With the hash table on: the increment counts with its fractions, the clock is
// shared out on a budget, and a short clock is no reason to stop at depth 3.
TEST_F(ShortClock, TheHashTablesClockKeepsFractionsAndHasNoDepthCap) {
  T.Feed("new\nlevel 0 0:10 0.5\n");
  EXPECT_EQ(E().game.Increment, 0);  // the integer, halves to even
  EXPECT_DOUBLE_EQ(E().game.IncrementSeconds, 0.5);
  EXPECT_DOUBLE_EQ(GameClockReading(E()).Increment, 0.5);

  ResizeHashTable(E(), 1);
  T.Feed("new\nlevel 0 0:10 0.1\n");
  E().game.EngineSide = true;
  EngineMove(E());
  EXPECT_GT(E().search.IterationDepth, 4);
  EXPECT_NE(T.TakeOutput().find("move "), std::string::npos);
}

TEST_F(ShortClock, WithNothingLeftTheFirstIterationIsCutAndALegalMovePlayed) {
  T.Feed("level 0 0:05 0\ntime 1\n");
  Moves("e2e4 e7e5 g1f3 b8c6");
  E().game.EngineSide = true;
  EngineMove(E());
  EXPECT_EQ(E().search.IterationDepth, 2);  // no iteration after the first
  EXPECT_TRUE(E().search.TimeUp);
  const std::string out = T.TakeOutput();
  ASSERT_EQ(out.rfind("\nmove ", 0), 0u) << out;
  EXPECT_EQ(E().game.GameResult, kGameOn);
  EXPECT_FALSE(E().board.WhiteToMove);  // played into the game
}

TEST_F(ShortClock, FixedDepthIgnoresAnEmptyClock) {
  T.Feed("sd 4\ntime 1\n");
  E().game.EngineSide = true;
  EngineMove(E());
  EXPECT_EQ(E().search.IterationDepth, 5);
  EXPECT_FALSE(E().search.TimeUp);
}

using BookMove = SearchTest;

TEST_F(BookMove, BookMoveIsAnnouncedPlayedAndCharged) {
  T.Folder().Write("book.txt", " e2e4e7e5\r\n");
  T.Folder().Write("Zandrell.ini",
                   "[Engine]\r\nOpeningBook=" + T.Folder().File("book.txt") + "\r\n");
  T.Init();
  ASSERT_TRUE(E().book.BookLoaded);
  ASSERT_EQ(E().board.BookPly, 0);
  T.Feed("level 0 5 3\ne2e4\n");
  const float clock = E().game.OwnTime;
  EngineMove(E());
  EXPECT_EQ(T.TakeOutput(), "\n0 0 0 0 (Book Move)\n\nmove e7e5\n");
  EXPECT_EQ(E().search.RootScore, 0);
  EXPECT_EQ(E().search.NodeCount, 0);
  EXPECT_NEAR(E().game.OwnTime, clock - E().search.MoveElapsed + 3, 1e-3);
  EXPECT_TRUE(E().board.WhiteToMove);
}

}  // namespace
}  // namespace zandrell::test
