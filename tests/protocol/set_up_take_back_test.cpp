// Set-up positions ("setboard", "edit") and take-backs ("undo", "remove"), on an
// engine in this process, where every field of the game can be compared.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "board/board_test_support.h"
#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/perft.h"
#include "board/position_key.h"
#include "board/position_text.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

// Everything a take-back or a set-up must get right; the search's scratch
// (Ply, FiftyHistory) is left out.
struct GameView {
  BoardState Board;
  std::unordered_map<std::string, int> Counts;
  std::int32_t Result;
  std::uint64_t Perft;
};

GameView View(Engine& e) {
  return {e.board, e.game.PositionCounts, e.game.GameResult, Perft(e.board, 3)};
}

void ExpectSameGame(const GameView& a, const GameView& b, const std::string& where) {
  EXPECT_EQ(PositionText(a.Board), PositionText(b.Board)) << where;
  EXPECT_EQ(test::Snapshot(a.Board), test::Snapshot(b.Board)) << where;
  EXPECT_EQ(a.Counts, b.Counts) << where;
  EXPECT_EQ(a.Result, b.Result) << where;
  EXPECT_EQ(a.Perft, b.Perft) << where;
}

class SetUpAndTakeBack : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Init();
    T.TakeOutput();
  }
  TestEngine T;
};

// En passant, castling on both wings, a capture promoting and a recapture.
constexpr const char* kSharpFen = "r3k2r/6P1/8/3pP3/8/8/8/R3K2R w KQkq d6 7 30";
const std::vector<std::string> kSharpMoves = {"e5d6", "e8c8", "g7h8q", "d8h8", "e1g1", "h8h2"};

TEST_F(SetUpAndTakeBack, UndoPutsBackEveryFieldAfterEachKindOfMove) {
  T.Feed("force\nsetboard " + std::string(kSharpFen) + "\n");
  std::vector<GameView> before;
  for (const std::string& move : kSharpMoves) {
    before.push_back(View(*T));
    T.Feed(move + "\n");
  }
  ASSERT_EQ(T.TakeOutput(), "");
  EXPECT_EQ(PositionText(T->board), "2k5/8/3P4/8/8/8/7r/R4RK1 w - -");
  for (std::size_t i = kSharpMoves.size(); i-- > 0;) {
    T.Feed("undo\n");
    ExpectSameGame(View(*T), before[i], "undo of " + kSharpMoves[i]);
  }
  // Nothing left to take back: ignored.
  T.Feed("undo\nremove\n");
  EXPECT_EQ(T.TakeOutput(), "");
  ExpectSameGame(View(*T), before[0], "after the last undo");

  for (const std::string& move : kSharpMoves) T.Feed(move + "\n");
  T.Feed("remove\n");
  ExpectSameGame(View(*T), before[4], "remove");
  T.Feed("remove\nremove\n");
  ExpectSameGame(View(*T), before[0], "three removes");
}

TEST_F(SetUpAndTakeBack, UndoTakesBackTheEnginesMoveAndARepetitionDraw) {
  T.Feed("new\nsd 2\ne2e4\n");
  const GameView afterE4 = View(*T);
  T.Feed("ping 1\n");  // the engine answers before the pong
  std::string out = T.TakeOutput();
  ASSERT_NE(out.find("\nmove "), std::string::npos) << out;
  EXPECT_LT(out.find("\nmove "), out.find("\npong 1\n"));
  T.Feed("force\nundo\n");
  ExpectSameGame(View(*T), afterE4, "undo of the engine's move");

  T.Feed("new\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\n");
  const GameView beforeDraw = View(*T);
  T.Feed("g1f3\n");
  EXPECT_EQ(T.TakeOutput(), "\n1/2-1/2 {Draw by repetition}\n");
  EXPECT_EQ(T->game.GameResult, kDrawByRepetition);
  T.Feed("undo\n");
  ExpectSameGame(View(*T), beforeDraw, "undo of the repeating move");
}

TEST_F(SetUpAndTakeBack, SetboardTakesAllSixFieldsAndLeavesTheBook) {
  T.Feed("force\ne2e4\n");
  for (const char* fen : {kSharpFen, "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b Kq e3 0 3",
                          "4k3/8/8/8/8/8/8/R3K2R b K - 99 120"}) {
    T.Feed("setboard " + std::string(fen) + "\n");
    EXPECT_EQ(T.TakeOutput(), "") << fen;
    BoardState expected{};
    ResetPosition(expected, false);
    ASSERT_TRUE(SetUpFromFen(expected, fen));
    ExpectSameGame(View(*T), {expected, {}, kGameOn, Perft(expected, 3)}, fen);
    EXPECT_EQ(T->board.BookPly, 21) << fen;
    EXPECT_EQ(T->board.GameMoves, " ") << fen;
  }
  EXPECT_EQ(T->board.FiftyCount, 99);
  // A new game is the initial position with the book as before.
  T.Feed("new\n");
  BoardState start{};
  ResetPosition(start, T->book.BookLoaded);
  ExpectSameGame(View(*T), {start, {}, kGameOn, 8902}, "new");
}

TEST_F(SetUpAndTakeBack, ABadPositionIsReportedAndChangesNothing) {
  T.Feed("force\nsetboard " + std::string(kSharpFen) + "\ne5d6\ne8c8\n");
  const GameView before = View(*T);
  const std::vector<std::string> bad = {
      "setboard",
      "setboard ",
      "setboard garbage",
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",                 // fields missing
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 x",  // one too many
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1",     // short rank
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1",      // no white king
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",      // two white kings
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNP w Qkq - 0 1",  // pawn on the first rank
      "setboard rnbqkbnp/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQq - 0 1",  // pawn on the last rank
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR z KQkq - 0 1",   // side
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkz - 0 1",   // castling letter
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e9 0 1",  // en-passant square
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - x 1",   // half-move clock
      "setboard rnbqkbnr/pppppppp/8/8/8/N7/PPPPPPPP/RNBQKBNR w KQkq - 0 1",  // 17 white men
      "setboard 4k3/8/8/8/8/8/8/4K2r b - - 0 1",  // White, not to move, in check
      "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e3 0 1",    // no pawn moved
      "setboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3 0 1",  // wrong side
      "setboard 4k3/8/8/8/8/8/8/4K3 w - - -1 1",                               // negative clock
  };
  for (const std::string& line : bad) {
    T.Feed(line + "\n");
    EXPECT_EQ(T.TakeOutput(), "\ntellusererror Illegal position\n") << line;
    ExpectSameGame(View(*T), before, line);
  }
  // The game goes on from where it was.
  T.Feed("undo\n");
  EXPECT_EQ(PositionText(T->board), "r3k2r/6P1/3P4/8/8/8/8/R3K2R b KQkq -");
}

TEST_F(SetUpAndTakeBack, EditModeGivesTheBoardOfTheEquivalentFen) {
  struct Case {
    std::string Edit;
    const char* Fen;
  };
  const std::vector<Case> cases = {
      // Kings and rooks at home keep their castling; no en-passant square.
      {"new\nforce\nedit\n#\nKe1\nRa1\nRh1\nPe4\nc\nKe8\nRh8\nBa8\n.\n",
       "b3k2r/8/8/8/4P3/8/8/R3K2R w KQk - 0 1"},
      // Black to move the way xboard does it, from the current board, with a square cleared.
      {"new\nforce\na2a3\nedit\nxa3\nPa2\nxg1\nc\nxd7\nPd5\n.\n",
       "rnbqkbnr/ppp1pppp/8/3p4/8/8/PPPPPPPP/RNBQKB1R b KQkq - 0 1"},
  };
  for (const Case& c : cases) {
    T.Feed(c.Edit);
    EXPECT_EQ(T.TakeOutput(), "") << c.Fen;
    BoardState expected{};
    ResetPosition(expected, false);
    ASSERT_TRUE(SetUpFromFen(expected, c.Fen));
    ExpectSameGame(View(*T), {expected, {}, kGameOn, Perft(expected, 3)}, c.Fen);
  }
  // A board without a black king is refused whole; lines after "." are commands again.
  const GameView before = View(*T);
  T.Feed("edit\n#\nKe1\n.\nping 3\n");
  EXPECT_EQ(T.TakeOutput(), "\ntellusererror Illegal position\n\npong 3\n");
  ExpectSameGame(View(*T), before, "edit without a black king");
}

// Random games through the interpreter, with take-backs and set-up positions
// mixed in: after every command the key kept is the key of the whole position.
TEST_F(SetUpAndTakeBack, TheKeyFollowsRandomGamesWithTakeBacksAndSetUps) {
  std::mt19937 random(22);
  const char* const fens[] = {kSharpFen,
                              "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b Kq e3 0 3",
                              "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"};
  T.Feed("force\n");
  int checked = 0;
  for (int step = 0; step < 1500; ++step) {
    const auto roll = random() % 100;
    std::string command;
    if (roll < 8) {
      command = "undo";
    } else if (roll < 12) {
      command = "remove";
    } else if (roll < 14) {
      command = std::string("setboard ") + fens[random() % 3];
    } else if (roll < 15) {
      command = "new\nforce";
    } else {
      MoveList list;
      GenerateMoves(T->board, list);
      std::vector<std::string> legal;
      for (int i = 0; i < list.Count; ++i) {
        if (IsLegalMove(T->board, list.Moves[i])) legal.push_back(MoveToText(list.Moves[i]));
      }
      command = legal.empty() ? std::string("new\nforce") : legal[random() % legal.size()];
    }
    T.Feed(command + "\n");
    BoardState copy = T->board;
    ASSERT_EQ(T->board.Key, ComputePositionKey(copy)) << "step " << step << ": " << command;
    ++checked;
  }
  EXPECT_EQ(checked, 1500);
  T.TakeOutput();
}

}  // namespace
}  // namespace zandrell
