// Hostile input through real pipes against the built engines: endless lines,
// absurd numbers, a status asked for with "analyze", and castling rights that
// the position cannot have.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::BestMoveIn;
using testing::EngineProcess;
using testing::LegalIn;

// A quiet middle game, White to move, out of the book's reach.
constexpr const char* kMiddleGame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8";

using UciEngine = testing::UciProcess;

// "position startpos moves ..." with the knights going out and back: plies moves.
std::string KnightDance(int plies) {
  static const char* const kSteps[] = {" g1f3", " g8f6", " f3g1", " f6g8"};
  std::string line = "position startpos moves";
  for (int i = 0; i < plies; ++i) line += kSteps[i % 4];
  return line + "\n";
}

// What the engine's peak may grow by while it reads a 20 MB line: far less than
// the line. AddressSanitizer holds freed buffers back before reusing them, so a
// sanitized engine's peak grows more for the same reading.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kLineGrowthLimitKb = 16 * 1024;
#else
constexpr long kLineGrowthLimitKb = 8 * 1024;
#endif

TEST(HostileInput, AnEndlessLineDuringAThinkIsCutAndTheLinesAfterItAct) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send(std::string("xboard\nprotover 2\nnew\nforce\nsetboard ") + kMiddleGame +
              "\nst 30\npost\nwhite\ngo\n");
  ASSERT_NE(engine.ReadUntil("\n4 ", 20000).find("\n4 "), std::string::npos);
  const long before = engine.Process().PeakMemoryKb();
  // 20 MB without a line end while the engine thinks.
  const std::string piece(64 * 1024, 'x');
  for (int i = 0; i < 320; ++i) ASSERT_TRUE(engine.Send(piece));
  engine.Send("\nping 5\n?\n");
  const std::string out = engine.ReadThroughMove(10000);
  EXPECT_TRUE(LegalIn(kMiddleGame, testing::LastMoveIn(out))) << out;
  EXPECT_NE(engine.ReadUntil("pong 5").find("pong 5"), std::string::npos);
  const long after = engine.Process().PeakMemoryKb();
  if (before > 0) {
    EXPECT_LT(after - before, kLineGrowthLimitKb) << before << " KiB, then " << after;
  }
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(HostileInput, APositionLineTooLongIsRefusedAndGoSearchesNothingUntilTheNext) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  // About 50 KB of moves are read whole.
  engine.Send(KnightDance(10000) + "go depth 1\n");
  std::string out = engine.ReadThroughBestMove();
  EXPECT_TRUE(LegalIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", BestMoveIn(out)))
      << out;
  // 70 KB are not: told, and no move from the position before.
  engine.Send(KnightDance(14000) + "go depth 1\n");
  out = engine.ReadThroughBestMove();
  EXPECT_NE(out.find("info string line longer than 65536 bytes ignored"), std::string::npos)
      << out.substr(0, 300);
  EXPECT_EQ(BestMoveIn(out), "0000") << out;
  // The same arriving during a think.
  engine.Send("position startpos moves e2e4\ngo infinite\n");
  engine.ReadUntil("info depth 2");
  engine.Send(KnightDance(14000) + "stop\ngo depth 1\n");
  out = engine.ReadThroughBestMove();
  EXPECT_NE(BestMoveIn(out), "0000") << out;
  out = engine.ReadThroughBestMove();
  EXPECT_NE(out.find("info string line longer than"), std::string::npos) << out.substr(0, 300);
  EXPECT_EQ(BestMoveIn(out), "0000") << out;
  // A valid position is searched again.
  engine.Send("position startpos moves e2e4\ngo depth 1\n");
  out = engine.ReadThroughBestMove();
  EXPECT_TRUE(LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", BestMoveIn(out)))
      << out;
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(HostileInput, AbsurdClockNumbersGiveALongThinkNotAnInstantMove) {
  // With the table, whose clock use reads the increment too.
  constexpr const char* kWithTable = "[Engine]\r\nHash=32\r\n";
  UciEngine engine;
  engine.Folder().Write("Zandrell.ini", kWithTable);
  ASSERT_TRUE(engine.Start());
  engine.Send(std::string("position fen ") + kMiddleGame +
              "\ngo wtime 1e300 btime 1e300 winc 1e300 binc 1e300 movestogo 1e300\n");
  std::string out = engine.ReadUntil("bestmove", 1500);
  EXPECT_EQ(out.find("bestmove"), std::string::npos) << out;
  engine.Send("stop\n");
  out += engine.ReadThroughBestMove();
  EXPECT_TRUE(LegalIn(kMiddleGame, BestMoveIn(out))) << out;
  // The same on xboard's clock.
  EngineProcess xboard;
  xboard.Folder().Write("Zandrell.ini", kWithTable);
  ASSERT_TRUE(xboard.Start());
  xboard.Send(std::string("xboard\nprotover 2\nnew\nforce\nsetboard ") + kMiddleGame +
              "\nlevel 1e300 1e300 1e300\ntime 1e300\notim -1e300\nst 1e300\nlevel 0 1e300 "
              "1e300\nwhite\ngo\n");
  out = xboard.ReadUntil("move ", 1500);
  EXPECT_EQ(out.find("move "), std::string::npos) << out;
  xboard.Send("?\n");
  EXPECT_TRUE(LegalIn(kMiddleGame, testing::LastMoveIn(xboard.ReadThroughMove(10000))));
  engine.Send("quit\n");
  xboard.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_EQ(xboard.Wait(), 0);
}

TEST(HostileInput, AStatusAskedWithAnalyzeCountsFromTheAnalysisStart) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\nnew\nforce\npost\nanalyze\n.\n");
  std::string out = engine.ReadUntil("stat01: ");
  ASSERT_NE(out.find("stat01: "), std::string::npos) << out;
  std::istringstream fields(engine.ReadUntil("\n"));
  long long centiseconds = -1;
  fields >> centiseconds;
  EXPECT_GE(centiseconds, 0);
  EXPECT_LT(centiseconds, 1000);
  engine.Send("exit\nquit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(HostileInput, CastlingRightsWithoutTheirRookAreDroppedAndTold) {
  // White's h-rook and Black's a-rook are gone; the record still claims KQkq.
  const std::string fen = "1nbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1 w KQkq - 0 1";
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  const std::string out =
      engine.Session("xboard\nprotover 2\nnew\nforce\nsetboard " + fen + "\nping 1\n");
  EXPECT_NE(out.find("telluser Castling rights dropped, king or rook not at home: Kq\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("tellusererror"), std::string::npos) << out;
  EXPECT_NE(engine.Folder()
                .Read(engine.LogName())
                .find("Castling rights dropped, king or rook not at home: Kq\r\n"),
            std::string::npos);
  // Edit mode claims only what the board allows, and says nothing.
  EngineProcess editing;
  ASSERT_TRUE(editing.Start());
  EXPECT_EQ(
      editing.Session("xboard\nprotover 2\nnew\nforce\nedit\n#\nKe1\nRa1\nc\nKe8\n.\nping 2\n")
          .find("telluser"),
      std::string::npos);

  UciEngine uci;
  ASSERT_TRUE(uci.Start());
  uci.Send("position fen " + fen + " moves e2e4\ngo depth 1\n");
  const std::string answer = uci.ReadThroughBestMove();
  EXPECT_NE(answer.find("info string Castling rights dropped, king or rook not at home: Kq\n"),
            std::string::npos)
      << answer;
  EXPECT_NE(BestMoveIn(answer), "0000");
  uci.Send("quit\n");
  EXPECT_EQ(uci.Wait(), 0);
}

}  // namespace
}  // namespace zandrell
