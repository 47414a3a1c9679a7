// How much of a line a game can play: up to its first illegal move, and no
// further than the mate, stalemate, third repetition or fiftieth move that ends
// the game.
#include "board/playable_line.h"

#include <cstdint>
#include <string>
#include <vector>

#include "board/legal_move.h"
#include "board/make_move.h"
#include "board_test_support.h"

namespace zandrell::test {
namespace {

// The line's moves as the search would hold them; a text that is not legal
// where it stands keeps the squares it names.
std::vector<Move> Line(BoardState b, const std::vector<std::string>& texts) {
  std::vector<Move> line;
  bool legalSoFar = true;
  for (const std::string& text : texts) {
    Move m{};
    if (legalSoFar && FindLegalMove(b, text, m)) {
      PlayMove(b, m);
    } else {
      legalSoFar = false;
      m.From = static_cast<std::uint8_t>(SquareOf(text[0] - 'a' + 1, text[1] - '0'));
      m.To = static_cast<std::uint8_t>(SquareOf(text[2] - 'a' + 1, text[3] - '0'));
    }
    line.push_back(m);
  }
  return line;
}

int Playable(const BoardState& b, const std::vector<std::string>& texts,
             const std::vector<std::uint64_t>& earlier = {}) {
  const std::vector<Move> line = Line(b, texts);
  return PlayableLength(b, line.data(), static_cast<int>(line.size()), earlier);
}

TEST(PlayableLine, StopsAtTheFirstMoveThatIsNotLegal) {
  const BoardState b = StartBoard();
  EXPECT_EQ(Playable(b, {"e2e4", "e7e5", "g1f3", "b8c6"}), 4);
  // The king that would move from g8 stands elsewhere: a move from another line.
  EXPECT_EQ(Playable(b, {"e2e4", "e7e5", "e4e5"}), 2);
  EXPECT_EQ(Playable(b, {"e7e5"}), 0);
  EXPECT_EQ(Playable(b, {}), 0);
  // Queen takes on g2 with check; the white king stands on h1, not g1 or f1.
  const BoardState q = FenBoard("q5k1/8/8/8/8/8/5PPP/7K b - - 0 1");
  EXPECT_EQ(Playable(q, {"a8g2", "f1g2", "g8g7"}), 1);
}

TEST(PlayableLine, EndsWithTheMoveThatEndsTheGame) {
  // Fool's mate, and a stalemate: whatever follows is cut.
  EXPECT_EQ(Playable(StartBoard(), {"f2f3", "e7e5", "g2g4", "d8h4", "e1f2"}), 4);
  EXPECT_EQ(Playable(FenBoard("7k/8/6K1/8/8/8/8/5Q2 w - - 0 1"), {"f1f7", "h8g8"}), 1);
  // The hundredth half-move without a capture or pawn move; a pawn move resets.
  const BoardState late = FenBoard("7k/8/8/8/8/8/P7/KR6 w - - 97 80");
  EXPECT_EQ(Playable(late, {"b1b2", "h8g8", "b2b3", "g8f8", "b3b4"}), 3);
  EXPECT_EQ(Playable(late, {"a2a3", "h8g8", "b1b2", "g8f8", "b2b3"}), 5);
}

TEST(PlayableLine, EndsAtTheThirdRepetitionCountingTheGame) {
  const BoardState b = StartBoard();
  const std::vector<std::string> dance = {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3",
                                          "g8f6", "f3g1", "f6g8", "e2e4"};
  EXPECT_EQ(Playable(b, dance), 8);
  // The start position stood once before in the game: its third time comes sooner.
  EXPECT_EQ(Playable(b, dance, {b.Key}), 4);
}

}  // namespace
}  // namespace zandrell::test
