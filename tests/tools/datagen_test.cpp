// zandrell-datagen as tuners read it: quiet positions, one a line, each with
// its game's result, the same whatever the thread count.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/board_test_support.h"
#include "board/legal_move.h"
#include "board/movegen.h"
#include "engine/engine.h"
#include "platform/child_process.h"
#include "protocol/init_engine.h"
#include "search/static_exchange.h"
#include "support/temp_folder.h"

namespace zandrell::test {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out, Err;
};

Outcome RunDatagen(const std::vector<std::string>& arguments) {
  platform::ChildProcess child;
  Outcome result;
  if (!child.Start(ZANDRELL_DATAGEN_BINARY, arguments, {})) return result;
  child.CloseInput();
  result.Out = child.ReadToEnd(120000);
  // Windows writes its lines with a carriage return.
  std::erase(result.Out, '\r');
  result.Err = child.ReadErrorToEnd(10000);
  result.Status = child.Wait(10000);
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The position of a "FEN [RESULT]" line, checked to be quiet.
void ExpectQuietPosition(const std::string& line, const std::array<int, 17>& value) {
  const std::size_t open = line.rfind(" [");
  ASSERT_NE(open, std::string::npos) << line;
  BoardState b = FenBoard(line.substr(0, open));
  EXPECT_FALSE(InCheck(b)) << line;
  MoveList captures;
  GenerateMoves(b, captures, GenerationMode::kCapturesOnly);
  for (int i = 0; i < captures.Count; ++i) {
    const Move& m = captures.Moves[i];
    if (IsLegalMove(b, m)) {
      EXPECT_LE(StaticExchange(b, m, value), 0) << line;
    }
  }
}

TEST(Datagen, QuietPositionsWithTheirGamesResults) {
  testing::TempFolder folder;
  // White's queen and Black's: the games can only end one way. Then an EPD line
  // of a real opening and a line that is no position at all.
  folder.Write("won.epd", "8/8/8/4k3/8/8/8/3QK3 w - - id \"white wins\"\nnonsense\n");
  folder.Write("lost.epd", "3qk3/8/8/8/8/4K3/8/8 b - - 0 1\n");
  folder.Write("opening.epd",
               "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - id \"qgd\"\n");
  const std::unique_ptr<Engine> engine = NewSilentEngine(0);
  for (const auto& [file, result] : {std::pair{"won.epd", " [1.0]"}, {"lost.epd", " [0.0]"}}) {
    const Outcome run = RunDatagen({"--openings", folder.File(file), "--games", "1", "--nodes",
                                    "3000", "--random-plies", "0"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    EXPECT_GT(lines.size(), 3u) << run.Out;
    for (const std::string& line : lines) {
      EXPECT_TRUE(line.ends_with(result)) << line;
      ExpectQuietPosition(line, engine->tables.PieceValue);
    }
  }
  const Outcome run =
      RunDatagen({"--openings", folder.File("opening.epd"), "--games", "2", "--nodes", "1500"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_NE(run.Err.find("2/2 games"), std::string::npos) << run.Err;
  for (const std::string& line : Lines(run.Out)) {
    ASSERT_TRUE(line.ends_with(" [1.0]") || line.ends_with(" [0.5]") || line.ends_with(" [0.0]"))
        << line;
    ExpectQuietPosition(line, engine->tables.PieceValue);
  }
}

TEST(Datagen, TheSameGamesOnOneThreadOrThreeAndTheFileGrows) {
  testing::TempFolder folder;
  folder.Write("openings.epd",
               "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -\n"
               "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -\n");
  const std::vector<std::string> common = {
      "--openings", folder.File("openings.epd"), "--games", "4", "--nodes", "1000", "--seed", "7"};
  std::vector<std::string> oneThread = common;
  oneThread.insert(oneThread.end(), {"--out", folder.File("one.txt")});
  std::vector<std::string> threeThreads = common;
  threeThreads.insert(threeThreads.end(), {"--threads", "3", "--out", folder.File("three.txt")});
  ASSERT_EQ(RunDatagen(oneThread).Status, 0);
  ASSERT_EQ(RunDatagen(threeThreads).Status, 0);
  std::vector<std::string> one = Lines(folder.Read("one.txt"));
  std::vector<std::string> three = Lines(folder.Read("three.txt"));
  ASSERT_FALSE(one.empty());
  std::sort(one.begin(), one.end());
  std::sort(three.begin(), three.end());
  EXPECT_EQ(one, three);

  // A second run appends; another seed plays other games.
  ASSERT_EQ(RunDatagen(oneThread).Status, 0);
  EXPECT_EQ(Lines(folder.Read("one.txt")).size(), 2 * one.size());
  std::vector<std::string> otherSeed = oneThread;
  otherSeed[7] = "8";
  otherSeed.back() = folder.File("other.txt");
  ASSERT_EQ(RunDatagen(otherSeed).Status, 0);
  EXPECT_NE(Lines(folder.Read("other.txt")), Lines(folder.Read("one.txt")));
}

TEST(Datagen, WrongArgumentsAreRefusedWithTheUsage) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"--games", "3"},
                                                    {"--openings", "x", "--nodes", "0"},
                                                    {"--openings"},
                                                    {"--openings", "x", "--threads", "0"},
                                                    {"--openings", "x", "--random-plies", "-1"},
                                                    {"--hash", "99999999", "--openings", "x"}}) {
    const Outcome run = RunDatagen(arguments);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("usage: zandrell-datagen"), std::string::npos) << run.Err;
  }
  testing::TempFolder folder;
  folder.Write("empty.epd", "\n");
  Outcome run = RunDatagen({"--openings", folder.File("empty.epd")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("no position"), std::string::npos) << run.Err;
  folder.Write("one.epd", "8/8/8/4k3/8/8/8/3QK3 w - -\n");
  run = RunDatagen({"--openings", folder.File("one.epd"), "--out", folder.File("no/such/file")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("cannot write"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace zandrell::test
