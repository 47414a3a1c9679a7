// Input read while the engine thinks: move now, analysis, hint and the book's
// moves, through real pipes against the built engine.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::EngineProcess;
using testing::LastMoveIn;
using testing::LegalIn;
using testing::ThinkingLines;
using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A quiet middle game, White to move, out of the book's reach.
constexpr const char* kMiddleGame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";

// The first move of every thinking line is legal in the position.
void ExpectLinesStartLegally(const std::string& out, const std::string& fen) {
  const auto lines = ThinkingLines(out);
  ASSERT_FALSE(lines.empty()) << out;
  for (const auto& words : lines) EXPECT_TRUE(LegalIn(fen, words[4])) << fen << ": " << words[4];
}

// The analysis's lines from its restart (depth 1) through depth 4.
std::string LinesAfterRestart(EngineProcess& engine) {
  std::string out = engine.ReadUntil("\n1 ", 20000);
  if (out.find("\n1 ") == std::string::npos) return {};
  return "\n1 " + engine.ReadUntil("\n4 ", 20000);
}

TEST(MoveNow, AQuestionMarkDuringALongThinkPlaysALegalMoveAtOnce) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send(std::string("xboard\nprotover 2\nnew\nforce\nsetboard ") + kMiddleGame +
              "\nst 30\npost\nwhite\ngo\n");
  ASSERT_NE(engine.ReadUntil("\n4 ", 20000).find("\n4 "), std::string::npos);
  const Clock::time_point sent = Clock::now();
  engine.Send("?\n");
  const std::string out = engine.ReadThroughMove(10000);
  const double elapsed = MillisecondsSince(sent);
  const std::string move = LastMoveIn(out);
  EXPECT_TRUE(LegalIn(kMiddleGame, move)) << out;
  EXPECT_LT(elapsed, 1000.0) << "measured " << elapsed << " ms";
  std::printf("move now: the move came %.1f ms after \"?\"\n", elapsed);
  // The engine goes on as usual: the "?" was no command after the move.
  engine.Send("ping 7\n");
  EXPECT_NE(engine.ReadUntil("pong 7").find("pong 7"), std::string::npos);
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(MoveNow, LinesArrivingDuringAThinkWaitForTheMoveAndAChunkWithGoAndQuitEndsAtOnce) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  // A command and a move sent while the engine thinks act after its move.
  engine.Send("xboard\nnew\nst 30\npost\ne2e4\n");
  ASSERT_NE(engine.ReadUntil("\n4 ", 20000).find("\n4 "), std::string::npos);
  engine.Send("force\nb1c3\n?\n");
  std::string out = engine.ReadThroughMove(20000);
  const std::string reply = LastMoveIn(out);
  ASSERT_FALSE(reply.empty()) << out;
  engine.Send("ping 1\n");
  out += engine.ReadUntil("pong 1");
  EXPECT_EQ(out.find("Illegal move"), std::string::npos) << out;
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);

  EngineProcess quitting;
  ASSERT_TRUE(quitting.Start());
  const Clock::time_point sent = Clock::now();
  quitting.Send("xboard\nnew\nst 30\npost\ngo\nquit\n");
  const std::string ended = quitting.ReadToEnd(10000);
  EXPECT_EQ(quitting.Wait(), 0);
  EXPECT_EQ(ended.find("move"), std::string::npos) << ended;
  EXPECT_LT(MillisecondsSince(sent), 5000.0);
}

TEST(Analysis, DeepensRestartsOnEachNewPositionAndStopsAtExit) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\nnew\nforce\npost\nanalyze\n");
  std::string out = engine.ReadUntil("\n5 ", 20000);
  ASSERT_NE(out.find("\n5 "), std::string::npos) << out;
  EXPECT_EQ(out.find("move "), std::string::npos);
  ExpectLinesStartLegally(out, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");

  // "." is answered, never with an error, and the analysis goes on.
  engine.Send(".\n");
  out = engine.ReadUntil("stat01: ");
  out += engine.ReadUntil("\n");
  EXPECT_NE(out.find("stat01: "), std::string::npos) << out;

  // A move: the lines that follow are Black's.
  engine.Send("e2e4\n");
  ExpectLinesStartLegally(LinesAfterRestart(engine),
                          "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
  // undo: White's again.
  engine.Send("undo\n");
  ExpectLinesStartLegally(LinesAfterRestart(engine),
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  // A set-up position.
  engine.Send(std::string("setboard ") + kMiddleGame + "\n");
  ExpectLinesStartLegally(LinesAfterRestart(engine), kMiddleGame);

  // exit: nothing more is thought, and no move is ever played.
  engine.Send("exit\nping 3\n");
  out = engine.ReadUntil("pong 3");
  ASSERT_NE(out.find("pong 3"), std::string::npos) << out;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  engine.Send("ping 4\n");
  out = engine.ReadUntil("pong 4");
  EXPECT_TRUE(ThinkingLines(out).empty()) << out;
  engine.Send("quit\n");
  out = engine.ReadToEnd();
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_EQ(out.find("move "), std::string::npos) << out;
  EXPECT_EQ(out.find("Error"), std::string::npos) << out;
}

TEST(Analysis, EndOfInputOrQuitEndsTheEngineAtOnce) {
  for (const bool closeInput : {true, false}) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    engine.Send("xboard\nprotover 2\nnew\nforce\npost\nanalyze\n");
    ASSERT_NE(engine.ReadUntil("\n4 ", 20000).find("\n4 "), std::string::npos);
    const Clock::time_point sent = Clock::now();
    if (closeInput) {
      engine.CloseInput();
    } else {
      engine.Send("quit\n");
    }
    EXPECT_EQ(engine.Wait(5000), 0);
    const double elapsed = MillisecondsSince(sent);
    EXPECT_LT(elapsed, 1000.0);
    std::printf("analysis: the engine ended %.1f ms after %s\n", elapsed,
                closeInput ? "the end of input" : "\"quit\"");
  }
}

TEST(Advice, HintNamesALegalReplyAndBkListsTheBooksMoves) {
  EngineProcess engine;
  const std::filesystem::path dist(ZANDRELL_DIST_DIR);
  for (const char* name : {"Zandrell.ini", "book.txt", "book.opi"}) {
    std::filesystem::copy_file(dist / name, engine.Folder().Path() / name);
  }
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\nnew\nbk\nping 1\n");
  std::string out = engine.ReadUntil("pong 1");
  // Several moves, each on a line of its own starting with a blank, then an
  // empty line.
  const std::size_t first = out.find("\n e4 ");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_NE(out.find("\n d4 "), std::string::npos) << out;
  EXPECT_NE(out.find(" lines\n\n"), std::string::npos) << out;

  // No think yet: no hint.
  engine.Send("hint\nping 2\n");
  EXPECT_EQ(engine.ReadUntil("pong 2").find("Hint"), std::string::npos);

  // After a searched move the hint is a legal reply in the new position.
  engine.Send(std::string("force\nsetboard ") + kMiddleGame + "\nsd 4\nwhite\ngo\n");
  out = engine.ReadThroughMove(20000);
  const std::string move = LastMoveIn(out);
  ASSERT_TRUE(LegalIn(kMiddleGame, move)) << out;
  engine.Send("hint\nping 3\n");
  out = engine.ReadUntil("pong 3");
  const std::size_t hint = out.find("\nHint: ");
  ASSERT_NE(hint, std::string::npos) << out;
  const std::string reply = out.substr(hint + 7, out.find('\n', hint + 7) - hint - 7);
  engine.Send("force\n" + reply + "\nping 4\n");
  out = engine.ReadUntil("pong 4");
  EXPECT_EQ(out.find("Illegal"), std::string::npos) << "hint " << reply << ": " << out;

  // Out of the book: bk answers an empty line alone.
  engine.Send("bk\nping 5\n");
  out = engine.ReadUntil("pong 5");
  EXPECT_EQ(out.find_first_not_of('\n'), out.find("pong 5")) << out;
  EXPECT_GE(out.find("pong 5"), 3u) << out;
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

}  // namespace
}  // namespace zandrell
