// Text-mode line ends, end of input during a think, and moves on an almost empty
// clock, through real pipes against the built engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "board/legal_move.h"
#include "support/engine_process.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::EngineProcess;
using testing::TestEngine;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(LineEnds, CarriageReturnsBeforeLineFeedsAreNoPartOfTheLine) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Send("xboard\r\nnew\r\nforce\r\ne2e4\r\ne7e5\r\ng1f3\r");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  engine.Send(
      "\nname Fairy Max\r\nrating 1900 1850\r\ncomputer\r\nresult 1-0 {by CR LF}\r\n"
      "new\r\nsd 2\r\ngo\r\n");
  std::string out = engine.ReadThroughMove();
  engine.Send("quit\r\n");
  out += engine.ReadToEnd();
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_EQ(out.find("Illegal move"), std::string::npos) << out;
  EXPECT_NE(out.find("\n1-0 {by CR LF}\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\nmove "), std::string::npos) << out;
  const std::string log = engine.Folder().Read(engine.LogName());
  EXPECT_NE(log.find("move: e2e4\r\nmove: e7e5\r\nmove: g1f3\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("result 1-0 {by CR LF}\r\nFairy Max (1850) True\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find("Program terminated.\r\n====================\r\n"), std::string::npos);
}

TEST(EndOfInput, DuringALongThinkTheEngineEndsAtOnceAndLogsItsEnd) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Send("xboard\nnew\nst 10\npost\ngo\n");
  // Thinking lines show the search is well under way.
  ASSERT_NE(engine.ReadUntil("\n4 ", 10000).find("\n4 "), std::string::npos);
  const Clock::time_point closed = Clock::now();
  engine.CloseInput();
  const int code = engine.Wait(5000);
  const double elapsed = MillisecondsSince(closed);
  EXPECT_EQ(code, 0);
  EXPECT_LT(elapsed, 100.0);
  // As after "quit" sent during the think: the move, then the end.
  const std::string log = engine.Folder().Read(engine.LogName());
  const std::size_t move = log.rfind("move: ");
  const std::size_t end = log.rfind(" - Program terminated.\r\n====================\r\n");
  ASSERT_NE(end, std::string::npos) << log;
  EXPECT_LT(move, end);
  EXPECT_EQ(log.substr(end + 24), "====================\r\n");
}

// An open middle game with captures on both sides; White to move.
constexpr const char* kMiddleGame =
    "e2e4\ne7e5\ng1f3\nb8c6\nf1c4\nf8c5\nc2c3\ng8f6\nd2d4\ne5d4\nc3d4\nc5b4\nb1c3\n"
    "f6e4\ne1g1\ne4c3\nb2c3\nb4c3\nc1a3\nd7d6\n";

// Best of three answers on a clock with centiseconds left: a shared machine may
// hold any one process back for a while.
double FastestAnswer(EngineProcess& engine, int centiseconds, std::string& move) {
  double best = 1e9;
  for (int attempt = 0; attempt < 3; ++attempt) {
    engine.Send(std::string("new\nlevel 0 0:05 0\nforce\n") + kMiddleGame + "time " +
                std::to_string(centiseconds) + "\notim 500\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Clock::time_point sent = Clock::now();
    engine.Send("go\n");
    const std::string out = engine.ReadThroughMove(5000);
    best = std::min(best, MillisecondsSince(sent));
    move = testing::LastMoveIn(out);
    if (move.empty()) return 1e9;
  }
  return best;
}

bool LegalInMiddleGame(const std::string& move) {
  TestEngine t;
  t.Init();
  t.Feed(std::string("force\n") + kMiddleGame);
  Move found;
  return FindLegalMove(t->board, move, found);
}

TEST(AlmostNoTime, TheMoveArrivesBeforeTheClockRunsOut) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  std::string move;
  EXPECT_LE(FastestAnswer(engine, 4, move), 40.0);
  EXPECT_TRUE(LegalInMiddleGame(move)) << move;
  EXPECT_LE(FastestAnswer(engine, 1, move), 10.0);
  EXPECT_TRUE(LegalInMiddleGame(move)) << move;
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

}  // namespace
}  // namespace zandrell
