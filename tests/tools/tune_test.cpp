// zandrell-tune: fits the weights to the games it is given and writes them as
// the table the engine compiles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "search/tapered_terms.h"
#include "support/temp_folder.h"

namespace zandrell::test {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out, Err;
};

Outcome RunTool(const char* program, const std::vector<std::string>& arguments) {
  platform::ChildProcess child;
  Outcome result;
  if (!child.Start(program, arguments, {})) return result;
  child.CloseInput();
  result.Out = child.ReadToEnd(120000);
  result.Err = child.ReadErrorToEnd(10000);
  result.Status = child.Wait(10000);
  return result;
}

// The error after "error " at the position given by the last occurrence of key.
double ErrorAfter(const std::string& text, const std::string& key) {
  const std::size_t at = text.rfind(key);
  if (at == std::string::npos) return -1.0;
  const std::size_t error = text.find("error ", at);
  return error == std::string::npos ? -1.0 : std::atof(text.c_str() + error + 6);
}

TEST(Tune, FitsTheWeightsToTheGamesAndWritesTheTable) {
  testing::TempFolder folder;
  folder.Write("openings.epd",
               "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -\n"
               "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -\n"
               "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -\n");
  const Outcome games = RunTool(ZANDRELL_DATAGEN_BINARY, {"--openings", folder.File("openings.epd"),
                                                          "--games", "6", "--nodes", "1500"});
  ASSERT_EQ(games.Status, 0) << games.Err;
  folder.Write("games.txt", games.Out + "damaged line\nx;1-0;e2e4\n");
  const Outcome tune = RunTool(ZANDRELL_TUNE_BINARY, {folder.File("games.txt"), "--iterations",
                                                      "60", "--out", folder.File("weights.cpp")});
  ASSERT_EQ(tune.Status, 0) << tune.Err;
  EXPECT_NE(tune.Err.find("8 games, 2 damaged"), std::string::npos) << tune.Err;
  const double before = ErrorAfter(tune.Err, "K ");
  const double after = ErrorAfter(tune.Err, "iteration 60:");
  EXPECT_GT(before, 0.0) << tune.Err;
  EXPECT_LT(after, before) << tune.Err;
  const std::string table = folder.Read("weights.cpp");
  EXPECT_NE(table.find("const TaperedWeights kTaperedWeights = {{"), std::string::npos);
  std::size_t entries = 0;
  for (std::size_t at = table.find("\n    {"); at != std::string::npos;
       at = table.find("\n    {", at + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, static_cast<std::size_t>(kTermCount));
}

TEST(Tune, NoGamesNoTable) {
  testing::TempFolder folder;
  folder.Write("games.txt", "nonsense\n");
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {folder.File("games.txt")}).Status, 1);
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {folder.File("missing.txt")}).Status, 1);
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {}).Status, 2);
}

}  // namespace
}  // namespace zandrell::test
