// Playing levels through real pipes: UCI's UCI_LimitStrength and UCI_Elo, the
// settings file's "Elo", and xboard's options with the hash table's search.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "search/playing_level.h"
#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::EngineProcess;
using testing::LegalIn;
using testing::ThinkingLines;
using Clock = std::chrono::steady_clock;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* kMiddleGame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9";

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<std::string> LinesOf(const std::string& out) {
  std::istringstream in(out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct UciThink {
  std::string BestMove;
  std::string LastPvMove;  // the first move of the last "info ... pv" line
  int DeepestDepth = 0;
  long long TookMs = 0;
};

UciThink ThinkOnce(testing::UciProcess& engine, const std::string& go) {
  engine.Send("position startpos\nisready\n");
  engine.ReadUntil("readyok\n");
  const Clock::time_point start = Clock::now();
  engine.Send(go + "\n");
  const std::string out = engine.ReadThroughBestMove();
  UciThink think;
  think.TookMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  for (const std::string& line : LinesOf(out)) {
    const std::vector<std::string> words = Words(line);
    if (words.size() >= 2 && words[0] == "bestmove") think.BestMove = words[1];
    if (words.empty() || words[0] != "info") continue;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
      if (words[i] == "depth")
        think.DeepestDepth = std::max(think.DeepestDepth, std::stoi(words[i + 1]));
      if (words[i] == "pv") think.LastPvMove = words[i + 1];
    }
  }
  return think;
}

// The lowest level sees one ply and errs by up to a piece: over a dozen moves
// from the same position it plays more than one move, each legal, each at once,
// and each the first move of the line it showed last. With and without the table.
TEST(LevelSession, TheLowestUciLevelPlaysLegalVariedMovesQuickly) {
  for (const char* hash : {"0", "16"}) {
    testing::UciProcess engine;
    ASSERT_TRUE(engine.Start());
    engine.Send(std::string("uci\nsetoption name Hash value ") + hash +
                "\nsetoption name OwnBook value false\n"
                "setoption name UCI_LimitStrength value true\nsetoption name UCI_Elo value 800\n");
    std::set<std::string> played;
    for (int i = 0; i < 12; ++i) {
      const UciThink think = ThinkOnce(engine, "go wtime 60000 btime 60000");
      ASSERT_TRUE(LegalIn(kStart, think.BestMove)) << hash << " " << think.BestMove;
      EXPECT_EQ(think.BestMove, think.LastPvMove) << hash;
      EXPECT_EQ(think.DeepestDepth, 1) << hash;
      EXPECT_LT(think.TookMs, 5000) << hash;  // a minute's clock, not a long think
      played.insert(think.BestMove);
    }
    EXPECT_GE(played.size(), 2u) << hash;
    // Back to full strength: deeper than the level went.
    engine.Send("setoption name UCI_LimitStrength value false\n");
    EXPECT_GT(ThinkOnce(engine, "go depth 4").DeepestDepth, 1) << hash;
    engine.Send("quit\n");
    EXPECT_EQ(engine.Wait(), 0);
  }
}

// "Elo" in the settings file sets the level both protocols start with; xboard
// offers it as options with the table's search, and refuses values out of range.
TEST(LevelSession, TheSettingsFileSetsTheLevelAndXboardOffersIt) {
  {
    testing::UciProcess engine;
    engine.Folder().Write("Zandrell.ini", "[Engine]\nHash=16\nElo=1200\n");
    ASSERT_TRUE(engine.Start());
    const std::string out = engine.Session("uci\n");
    EXPECT_NE(out.find("option name UCI_LimitStrength type check default true\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("option name UCI_Elo type spin default 1200 min 800 max 1950\n"),
              std::string::npos)
        << out;
  }
  {
    EngineProcess engine;
    engine.Folder().Write("Zandrell.ini", "[Engine]\nHash=16\nElo=1200\n");
    ASSERT_TRUE(engine.Start());
    engine.Send("xboard\nprotover 2\n");
    const std::string features = engine.ReadUntil("feature done=1\n");
    EXPECT_NE(features.find("feature option=\"Limit strength -check 1\"\n"), std::string::npos)
        << features;
    EXPECT_NE(features.find("feature option=\"Elo -spin 1200 800 1950\"\n"), std::string::npos)
        << features;
    engine.Send("option Elo=5\noption Colour=red\noption Elo=1100\nnew\nforce\nsetboard " +
                std::string(kMiddleGame) + "\npost\nsd 8\ngo\n");
    const std::string out = engine.ReadThroughMove();
    EXPECT_NE(out.find("Error (bad option): option Elo=5\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Error (bad option): option Colour=red\n"), std::string::npos) << out;
    const auto lines = ThinkingLines(out);
    ASSERT_FALSE(lines.empty()) << out;
    // Level 1100 searches to its plan's depth and no deeper.
    const int depth = PlanLevel(1100).MaxDepth;
    for (const auto& line : lines) EXPECT_LE(std::stoi(line[0]), depth) << out;
    EXPECT_EQ(std::stoi(lines.back()[0]), depth) << out;
    EXPECT_TRUE(LegalIn(kMiddleGame, testing::LastMoveIn(out))) << out;
  }
  {
    // The plain search's handshake is as it always was.
    EngineProcess engine;
    engine.Folder().Write("Zandrell.ini", "[Engine]\nHash=0\nElo=1200\n");
    ASSERT_TRUE(engine.Start());
    const std::string out = engine.Session("xboard\nprotover 2\n");
    EXPECT_EQ(out.find("option"), std::string::npos) << out;
  }
}

}  // namespace
}  // namespace zandrell
