#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "board/move_text.h"
#include "board/movegen.h"
#include "search/alpha_beta.h"
#include "search/root_search.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

using Search = SearchTest;

// Mates, stalemate and the fifty-move rule: the lines sent and the result kept.
TEST_F(Search, GameEndsAreAnnouncedWithTheirResult) {
  struct Case {
    const char* Fen;
    int Depth;
    std::vector<std::string> Lines;
    int Result;
  };
  const std::vector<Case> cases = {
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 2, {"move a1a8", "1-0 {White Mates}"}, 1},
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 1, {"move a1a7"}, 0},  // depth 1 misses it
      {"r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1", 3, {"move a8a1", "0-1 {Black Mates}"}, 2},
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 3, {"1-0 {White Mates}"}, 1},  // mated: no move
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3, {"1/2-1/2 {Draw}"}, 3},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 100 1", 3, {"1/2-1/2 {50 Move Rule}"}, 3},
  };
  for (const Case& c : cases) {
    Fen(c.Fen);
    E().game.GameResult = 0;
    const std::string before = PositionText(E().board);
    EXPECT_EQ(Lines(PlayAtDepth(c.Depth)), c.Lines) << c.Fen << " depth " << c.Depth;
    EXPECT_EQ(E().game.GameResult, c.Result) << c.Fen;
    // A mating move is announced, not played into the game.
    if (c.Result != 0) {
      EXPECT_EQ(PositionText(E().board), before) << c.Fen;
    }
  }
}

TEST_F(Search, ASearchWithoutAnyIterationPlaysNothing) {
  // Depth 0 lets no iteration run: there is no move to play, and none is sent.
  EXPECT_EQ(PlayAtDepth(0), "");
  EXPECT_TRUE(E().board.WhiteToMove);
  EXPECT_TRUE(E().game.PositionCounts.empty());
  EXPECT_EQ(E().game.GameResult, 0);
}

TEST_F(Search, NoMoveAfterAResultInForceModeOrOnTheOpponentsTurn) {
  E().game.ForceMode = true;
  E().game.EngineSide = true;
  const float clock = E().game.OwnTime;
  EngineMove(E());
  E().game.ForceMode = false;
  E().game.EngineSide = false;  // White to move, engine Black
  EngineMove(E());
  E().game.EngineSide = true;
  E().game.GameResult = 4;
  EngineMove(E());
  EXPECT_EQ(T.TakeOutput(), "");
  EXPECT_EQ(E().game.OwnTime, clock);
  EXPECT_TRUE(E().board.WhiteToMove);
}

// After 1.Nf3 the position after 1...Nf6 was seen once: the move scores the
// contempt; seen twice: it is the third occurrence, a draw announced, not played.
TEST_F(Search, RootMoveToASeenPositionScoresContemptOrDraws) {
  for (int seen : {1, 2}) {
    T.Feed("new\n");
    Moves("g1f3");
    E().tables.Contempt = 5000;
    BoardState after = E().board;
    ASSERT_TRUE(CommitMoveText(after, "g8f6"));
    E().game.PositionCounts[PositionText(after)] = seen;
    const std::vector<std::string> lines = Lines(PlayAtDepth(3));
    if (seen == 1) {
      EXPECT_EQ(lines, (std::vector<std::string>{"move g8f6"}));
      EXPECT_EQ(E().search.RootScore, 5000);
      EXPECT_EQ(E().game.GameResult, kGameOn);
    } else {
      EXPECT_EQ(lines, (std::vector<std::string>{"move g8f6", "1/2-1/2 {Draw by repetition}"}));
      EXPECT_EQ(E().game.GameResult, kDrawByRepetition);
      EXPECT_FALSE(E().board.WhiteToMove);  // not played into the game
    }
  }
}

TEST_F(Search, OrdinaryMoveIsCountedAndLoggedWithItsFigures) {
  E().shell.LogEnabled = true;
  Moves("e2e4");
  const std::string out = PlayAtDepth(3);
  const std::string move = Lines(out).back().substr(5);
  EXPECT_TRUE(E().board.WhiteToMove);
  EXPECT_EQ(E().game.PositionCounts[PositionText(E().board)], 1);
  const std::string log = T.Log();
  const std::string expected = "move: " + move + "\r\n(t:";
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  EXPECT_NE(log.find(" n:" + std::to_string(E().search.NodeCount) + " qn:"), std::string::npos);
}

TEST_F(Search, ThinkingLineFormat) {
  SearchState& s = E().search;
  s.IterationDepth = 5;
  s.RootScore = 23;
  s.NodeCount = 48211;
  s.PvLength[1] = 4;
  s.PvTable[1][1] = Move{kE2, kE4, kEmpty, 0, 0, 0, 0};
  s.PvTable[1][2] = Move{kE7, kE5, kEmpty, 0, 0, 0, 0};
  s.PvTable[1][3] = Move{kG1, kF3, kEmpty, 0, 0, 0, 0};
  EXPECT_EQ(ThinkingLine(s, 3.7), "5 23 300 48211 e2e4 e7e5 g1f3");
  s.RootScore = -15;
  EXPECT_EQ(ThinkingLine(s, 0.99), "5 -15 0 48211 e2e4 e7e5 g1f3");
}

TEST_F(Search, MoveLogEntryFormat) {
  EXPECT_EQ(MoveLogEntry("e2e4", 2.5, 15, 12000, 7000, 7000.0 / 12000.0 * 100.0),
            "move: e2e4\r\n(t:2.50 s:15 n:12000 qn:7000 q%:58.33)");
  EXPECT_EQ(MoveLogEntry("a7a8q", 0.0, -99998, 0, 0, 0.0),
            "move: a7a8q\r\n(t:0.00 s:-99998 n:0 qn:0 q%:0.00)");
}

TEST_F(Search, CapturesComeBeforeQuietMovesAndKillers) {
  // The queen can take a knight on d7 or a pawn on e2, the king the pawn.
  Fen("4k3/3n4/8/8/8/8/4p3/3QK3 w - - 0 1");
  E().search.FollowPv = false;
  E().board.Ply = 2;
  E().search.KillerMove1[2] = Move{kD1, kD2, kEmpty, 0, 0, 0, 0};  // d1-d2
  MoveList list;
  GenerateMoves(E().board, list);
  OrderMoves(E(), list.Moves, list.Count);
  EXPECT_EQ(MoveToText(list.Moves[0]), "d1d7");  // 310 - 900
  EXPECT_EQ(MoveToText(list.Moves[1]), "d1e2");  // 100 - 900
  EXPECT_EQ(MoveToText(list.Moves[2]), "e1e2");  // 100 - 5000
  EXPECT_EQ(MoveToText(list.Moves[3]), "d1d2");  // the killer leads the quiet moves
}

}  // namespace
}  // namespace zandrell::test
