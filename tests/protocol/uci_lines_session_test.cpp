// The lines zandrell-uci sends through real pipes are lines the game can play,
// with either search: each info pv replays move by move from the position, the
// bestmove is the last line's first move and the ponder move is legal after it.
#include <gtest/gtest.h>

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

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Plays texts on b; false at the first that is not legal there.
bool PlayTexts(BoardState& b, const std::vector<std::string>& texts, std::size_t from = 0) {
  for (std::size_t k = from; k < texts.size(); ++k) {
    Move m{};
    if (!FindLegalMove(b, texts[k], m)) return false;
    PlayMove(b, m);
  }
  return true;
}

// White, a queen down, goes back to the position after its first move: the
// plain search keeps below that move the line another root move left.
TEST(UciLines, EveryLineReplaysAndTheBestMoveLeadsTheLastLine) {
  const std::string fen = "q5k1/8/8/8/8/8/5PPP/6K1 w - - 0 1";
  const std::vector<std::string> game = {"g1h1", "g8h8", "h1g1", "h8g8"};
  for (const char* hash : {"0", "1"}) {
    testing::EngineProcess engine({}, ZANDRELL_UCI_BINARY);
    ASSERT_TRUE(engine.Start({}));
    engine.Send(std::string("setoption name Hash value ") + hash + "\nposition fen " + fen +
                " moves g1h1 g8h8 h1g1 h8g8\ngo depth 5\n");
    std::string out = engine.ReadUntil("bestmove ", 60000);
    out += engine.ReadUntil("\n", 5000);
    engine.Session("");

    BoardState root{};
    ResetPosition(root, false);
    ASSERT_TRUE(SetUpFromFen(root, fen));
    ASSERT_TRUE(PlayTexts(root, game));
    std::vector<std::string> last;
    std::istringstream lines(out);
    int shown = 0;
    for (std::string line; std::getline(lines, line);) {
      const std::size_t at = line.find(" pv ");
      if (line.rfind("info ", 0) == 0 && at != std::string::npos) {
        last = Words(line.substr(at + 4));
        BoardState b = root;
        EXPECT_TRUE(PlayTexts(b, last)) << "Hash " << hash << ": " << line;
        ++shown;
      }
      if (line.rfind("bestmove ", 0) == 0) {
        const std::vector<std::string> words = Words(line);
        ASSERT_FALSE(last.empty()) << out;
        EXPECT_EQ(words[1], last[0]) << line;
        BoardState b = root;
        EXPECT_TRUE(PlayTexts(b, {words[1]})) << line;
        if (words.size() == 4) {
          EXPECT_TRUE(PlayTexts(b, {words[3]})) << line;
        }
      }
    }
    EXPECT_GE(shown, 5) << out;
  }
}

}  // namespace
}  // namespace zandrell
