// zandrell-tune: fits the weights to the positions and games it is given and
// writes them as the table the engine compiles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_test_support.h"
#include "platform/child_process.h"
#include "search/tapered_eval.h"
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

// The weights of a written table, in term order.
std::vector<TermWeight> TableOf(const std::string& source) {
  std::vector<TermWeight> table;
  for (std::size_t at = source.find("\n    {"); at != std::string::npos;
       at = source.find("\n    {", at + 1)) {
    TermWeight w;
    w.Mg = static_cast<std::int16_t>(std::atoi(source.c_str() + at + 6));
    w.Eg = static_cast<std::int16_t>(std::atoi(source.c_str() + source.find(", ", at) + 2));
    table.push_back(w);
  }
  return table;
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
  // Positions, a whole game and damaged lines of either kind.
  folder.Write("positions.txt", games.Out + "damaged line\n8/8/8/8/8/8/8/8 w - - [1.0]\n" +
                                    "4k3/8/8/8/8/8/8/4K3 w - - [2.0]\nx;1-0;e2e4\n");
  folder.Write("game.txt",
               "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1;1-0;e2e4 e7e5 g1f3 "
               "b8c6 f1c4 g8f6 d2d3 f8c5 c2c3 d7d6 b1d2 a7a6 b2b4 c5a7 a2a4 c8e6\n");
  const Outcome tune =
      RunTool(ZANDRELL_TUNE_BINARY,
              {"--data", folder.File("positions.txt"), "--data", folder.File("game.txt"),
               "--epochs", "60", "--min-presence", "0", "--out", folder.File("weights.cpp")});
  ASSERT_EQ(tune.Status, 0) << tune.Err;
  const std::size_t positions = std::count(games.Out.begin(), games.Out.end(), '\n');
  EXPECT_NE(tune.Err.find(std::to_string(positions + 5) + " lines, 4 damaged, " +
                          std::to_string(positions + 8) + " positions"),
            std::string::npos)
      << tune.Err;
  const double before = ErrorAfter(tune.Err, "K ");
  const double after = ErrorAfter(tune.Err, "final error");
  EXPECT_GT(before, 0.0) << tune.Err;
  EXPECT_LT(after, before) << tune.Err;
  const std::string table = folder.Read("weights.cpp");
  EXPECT_NE(table.find("const TaperedWeights kTaperedWeights = {{"), std::string::npos);
  EXPECT_NE(table.find("--epochs 60"), std::string::npos);  // how the table was made
  EXPECT_EQ(TableOf(table).size(), static_cast<std::size_t>(kTermCount));
}

// Positions labelled by a hidden evaluation (the engine's weights with a few
// changed): the tuner, starting from the engine's weights, finds the changes.
TEST(Tune, RecoversWeightsPlantedInTheLabels) {
  testing::TempFolder folder;
  folder.Write("openings.epd",
               "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -\n"
               "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ -\n"
               "r2qkb1r/pp2pppp/2n2n2/3p1b2/3P4/2N1PN2/PP3PPP/R1BQKB1R w KQkq -\n"
               "rnbqk2r/ppp1ppbp/3p1np1/8/2PPP3/2N5/PP3PPP/R1BQKBNR w KQkq -\n");
  const Outcome games = RunTool(ZANDRELL_DATAGEN_BINARY, {"--openings", folder.File("openings.epd"),
                                                          "--games", "16", "--nodes", "1000"});
  ASSERT_EQ(games.Status, 0) << games.Err;
  TaperedWeights hidden = kTaperedWeights;
  const auto plant = [&](int term, int mg, int eg) {
    hidden[term].Mg = static_cast<std::int16_t>(hidden[term].Mg + mg);
    hidden[term].Eg = static_cast<std::int16_t>(hidden[term].Eg + eg);
  };
  plant(kTermTempo, 30, 30);
  plant(kTermIsolatedPawn, -30, -30);
  plant(kTermDoubledPawn, -30, -30);
  std::string labelled;
  std::istringstream lines(games.Out);
  for (std::string line; std::getline(lines, line);) {
    const std::string fen = line.substr(0, line.rfind(" ["));
    TermCounts counts;
    CountTerms(FenBoard(fen), counts);
    const double expected = 1.0 / (1.0 + std::pow(10.0, -BlendCounts(counts, hidden) / 400.0));
    labelled += fen + " [" + std::to_string(expected) + "]\n";
  }
  folder.Write("labelled.txt", labelled);
  const Outcome tune =
      RunTool(ZANDRELL_TUNE_BINARY, {"--data", folder.File("labelled.txt"), "--epochs", "400",
                                     "--min-presence", "20", "--out", folder.File("weights.cpp")});
  ASSERT_EQ(tune.Status, 0) << tune.Err;
  const std::vector<TermWeight> found = TableOf(folder.Read("weights.cpp"));
  ASSERT_EQ(found.size(), static_cast<std::size_t>(kTermCount));
  // Each planted change is found at least half way, in the right direction.
  for (const int term : {kTermTempo, kTermIsolatedPawn, kTermDoubledPawn}) {
    for (const bool middle : {true, false}) {
      const int start = middle ? kTaperedWeights[term].Mg : kTaperedWeights[term].Eg;
      const int planted = middle ? hidden[term].Mg : hidden[term].Eg;
      const int fitted = middle ? found[term].Mg : found[term].Eg;
      if (planted == start) continue;
      EXPECT_LE(std::abs(fitted - planted), std::abs(planted - start) / 2)
          << "term " << term << (middle ? " mg" : " eg") << ": start " << start << ", planted "
          << planted << ", fitted " << fitted;
    }
  }

  // Terms held by too few positions keep their weights: here, all of them.
  const Outcome held =
      RunTool(ZANDRELL_TUNE_BINARY, {"--data", folder.File("labelled.txt"), "--epochs", "50",
                                     "--min-presence", "1e9", "--out", folder.File("held.cpp")});
  ASSERT_EQ(held.Status, 0) << held.Err;
  const std::vector<TermWeight> kept = TableOf(folder.Read("held.cpp"));
  ASSERT_EQ(kept.size(), static_cast<std::size_t>(kTermCount));
  for (int term = 0; term < kTermCount; ++term) {
    EXPECT_EQ(kept[term].Mg, kTaperedWeights[term].Mg) << term;
    EXPECT_EQ(kept[term].Eg, kTaperedWeights[term].Eg) << term;
  }
}

TEST(Tune, NoGamesNoTable) {
  testing::TempFolder folder;
  folder.Write("games.txt", "nonsense\n");
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {"--data", folder.File("games.txt")}).Status, 1);
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {"--data", folder.File("missing.txt")}).Status, 1);
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {}).Status, 2);
  EXPECT_EQ(RunTool(ZANDRELL_TUNE_BINARY, {folder.File("games.txt")}).Status, 2);
}

}  // namespace
}  // namespace zandrell::test
