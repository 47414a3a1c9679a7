// A think on several threads through real pipes: every line it shows is
// playable and its move legal, "stop" and "quit" end every thread, and the
// thread count and table size the interface sets take effect, under UCI and
// under xboard.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_state.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "support/engine_process.h"

namespace zandrell {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kMiddlegame[] = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 9";

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool Playable(const std::string& fen, const std::vector<std::string>& texts, std::size_t from) {
  BoardState b{};
  ResetPosition(b, false);
  if (!SetUpFromFen(b, fen)) return false;
  for (std::size_t k = from; k < texts.size(); ++k) {
    Move m{};
    if (!FindLegalMove(b, texts[k], m)) return false;
    PlayMove(b, m);
  }
  return true;
}

// The nodes of the last "info depth N" line.
long long NodesAtDepth(const std::string& out, int depth) {
  long long nodes = -1;
  std::istringstream lines(out);
  const std::string prefix = "info depth " + std::to_string(depth) + " ";
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) != 0) continue;
    const std::vector<std::string> words = Words(line);
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
      if (words[i] == "nodes") nodes = std::stoll(words[i + 1]);
    }
  }
  return nodes;
}

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(ThreadsSession, UciLinesArePlayableAndTheMoveLegalOnTwoAndThreeThreads) {
  for (const char* threads : {"2", "3"}) {
    testing::UciProcess engine;
    ASSERT_TRUE(engine.Start());
    engine.Send(std::string("setoption name Hash value 8\nsetoption name Threads value ") +
                threads + "\nposition fen " + kMiddlegame + "\ngo depth 9\n");
    const std::string out = engine.ReadThroughBestMove(120000);
    engine.Session("");
    int shown = 0;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t at = line.find(" pv ");
      if (line.rfind("info ", 0) != 0 || at == std::string::npos) continue;
      EXPECT_TRUE(Playable(kMiddlegame, Words(line.substr(at + 4)), 0)) << threads << ": " << line;
      ++shown;
    }
    // Depths a helper finished first have no line of their own: not one a depth.
    EXPECT_GT(shown, 0) << out;
    EXPECT_TRUE(testing::LegalIn(kMiddlegame, testing::BestMoveIn(out))) << out;
    EXPECT_GT(NodesAtDepth(out, 9), 0) << out;
  }
}

// One thread is the single search it always was: the same nodes at the same
// depth, before and after a search on three threads; three count more.
TEST(ThreadsSession, UciThreadsChangedBetweenSearchesTakeEffect) {
  testing::UciProcess engine;
  ASSERT_TRUE(engine.Start());
  auto search = [&](const char* threads) {
    engine.Send(std::string("setoption name Threads value ") + threads +
                "\nucinewgame\nsetoption name Clear Hash\nposition fen " + kMiddlegame +
                "\ngo depth 8\n");
    return NodesAtDepth(engine.ReadThroughBestMove(120000), 8);
  };
  engine.Send("setoption name Hash value 8\n");
  const long long one = search("1");
  const long long three = search("3");
  const long long oneAgain = search("1");
  engine.Session("");
  ASSERT_GT(one, 0);
  EXPECT_EQ(oneAgain, one);
  EXPECT_NE(three, one);
}

// "stop" and "quit" end every thread at once; a new table size sent during the
// think takes effect after it.
TEST(ThreadsSession, UciStopAndQuitEndEveryThread) {
  testing::UciProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send(std::string("setoption name Hash value 8\nsetoption name Threads value 3\n") +
              "position fen " + kMiddlegame + "\ngo infinite\n");
  engine.ReadUntil("info depth 5", 60000);
  // A new table size during the think waits for its end: the threads never
  // see their table go.
  engine.Send("setoption name Hash value 2\nsetoption name Clear Hash\n");
  Clock::time_point start = Clock::now();
  engine.Send("stop\n");
  const std::string out = engine.ReadThroughBestMove(10000);
  EXPECT_LT(MillisecondsSince(start), 5000);
  EXPECT_TRUE(testing::LegalIn(kMiddlegame, testing::BestMoveIn(out))) << out;
  engine.Send("go depth 6\n");
  const std::string resized = engine.ReadThroughBestMove(60000);
  EXPECT_TRUE(testing::LegalIn(kMiddlegame, testing::BestMoveIn(resized))) << resized;

  engine.Send("go infinite\n");
  engine.ReadUntil("info depth 5", 60000);
  start = Clock::now();
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(10000), 0);
  EXPECT_LT(MillisecondsSince(start), 5000);
}

// Without the table the handshake offers neither; with it, "cores" and
// "memory" set the threads and the table of the next think.
TEST(ThreadsSession, XboardOffersCoresAndMemoryWithTheTableOnly) {
  {
    testing::EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    const std::string out = engine.Session("xboard\nprotover 2\ncores 4\nmemory 64\n");
    EXPECT_EQ(out.find("smp="), std::string::npos) << out;
    EXPECT_EQ(out.find("Error"), std::string::npos) << out;
  }
  testing::EngineProcess engine;
  engine.Folder().Write("Zandrell.ini", "[Engine]\nHash=16\n");
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\n");
  const std::string features = engine.ReadUntil("done=1", 10000);
  EXPECT_NE(features.find("feature smp=1 memory=1\n"), std::string::npos) << features;
  engine.Send(std::string("cores 3\nmemory 4\nnew\npost\nsetboard ") + kMiddlegame +
              "\nsd 8\ngo\n");
  const std::string out = engine.ReadThroughMove(120000);
  engine.Send("cores 0\nmemory -3\n");
  const std::string refused = engine.Session("");
  EXPECT_NE(refused.find("Error (bad value): cores 0"), std::string::npos) << refused;
  EXPECT_NE(refused.find("Error (bad value): memory -3"), std::string::npos) << refused;
  const std::vector<std::vector<std::string>> lines = testing::ThinkingLines(out);
  // The search reached the depth asked for and no deeper (a depth a helper
  // finished first may have no line of its own).
  ASSERT_FALSE(lines.empty()) << out;
  EXPECT_EQ(lines.back()[0], "8") << out;
  for (const auto& line : lines) {
    ASSERT_GE(line.size(), 5u);
    EXPECT_TRUE(Playable(kMiddlegame, line, 4)) << out;
  }
  const std::string move = testing::LastMoveIn(out);
  EXPECT_TRUE(testing::LegalIn(kMiddlegame, move)) << out;
}

}  // namespace
}  // namespace zandrell
