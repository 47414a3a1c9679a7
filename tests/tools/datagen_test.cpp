// zandrell-datagen as the tuner reads it: a line a game, every move legal from
// the game's start, and a result the final position bears out.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/board_test_support.h"
#include "board/legal_move.h"
#include "board/perft.h"
#include "platform/child_process.h"
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

TEST(Datagen, EachGameIsALineOfLegalMovesWithAResultItsEndBearsOut) {
  testing::TempFolder folder;
  // An EPD line, a FEN with counters, a position one move from mate, and a line
  // that is no position at all.
  folder.Write("openings.epd",
               "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - id \"two knights\"\n"
               "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4\n"
               "nonsense\n");
  const Outcome run =
      RunDatagen({"--openings", folder.File("openings.epd"), "--games", "3", "--nodes", "2000"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  std::istringstream lines(run.Out);
  int games = 0;
  for (std::string line; std::getline(lines, line);) {
    ++games;
    const std::size_t first = line.find(';');
    const std::size_t second = line.find(';', first + 1);
    ASSERT_NE(second, std::string::npos) << line;
    const std::string fen = line.substr(0, first);
    const std::string result = line.substr(first + 1, second - first - 1);
    BoardState b = FenBoard(fen);
    std::istringstream moves(line.substr(second + 1));
    int plies = 0;
    for (std::string move; moves >> move; ++plies) {
      ASSERT_TRUE(CommitMoveText(b, move)) << line << ": " << move;
    }
    EXPECT_GT(plies, 0) << line;
    ASSERT_TRUE(result == "1-0" || result == "0-1" || result == "1/2-1/2") << line;
    if (!HasLegalMove(b)) {
      const std::string mated = b.WhiteToMove ? "0-1" : "1-0";
      EXPECT_EQ(result, InCheck(b) ? mated : "1/2-1/2") << line;
    }
  }
  // Qxf7 mates at once from the second opening.
  EXPECT_NE(run.Out.find("w KQkq - 0 1;1-0;h5f7\n"), std::string::npos) << run.Out;
  EXPECT_EQ(games, 3) << run.Out;  // the nonsense line is no opening; the first comes again
}

TEST(Datagen, WrongArgumentsAreRefusedWithTheUsage) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"--games", "3"},
                                                    {"--openings", "x", "--nodes", "0"},
                                                    {"--openings"},
                                                    {"--hash", "99999999", "--openings", "x"}}) {
    const Outcome run = RunDatagen(arguments);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("usage: zandrell-datagen"), std::string::npos) << run.Err;
  }
  testing::TempFolder folder;
  folder.Write("empty.epd", "\n");
  const Outcome run = RunDatagen({"--openings", folder.File("empty.epd")});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("no position"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace zandrell::test
