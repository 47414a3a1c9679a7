// Whole UCI sessions against the built zandrell-uci through real pipes, as an
// interface that starts its engine without arguments drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::BestMoveIn;
using testing::EngineProcess;
using Clock = std::chrono::steady_clock;

// Limits of the timing cases: the engine's own aims are far below them (see
// the cases), the rest is room for a busy machine.
constexpr int kGenerousMs = 1500;

using UciEngine = testing::UciProcess;

std::vector<std::string> LinesOf(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value after key in the last line that starts with prefix and holds key.
std::string FieldOfLast(const std::string& out, const std::string& prefix, const std::string& key) {
  std::string value;
  for (const std::string& line : LinesOf(out)) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      if (word == key && words >> word) value = word;
    }
  }
  return value;
}

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(UciSession, HandshakeListsTheOptionsAndSetoptionTellsWhatItRefuses) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("uci\n");
  const std::vector<std::string> lines = LinesOf(engine.ReadUntil("uciok\n", 10000));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("id name Zandrell ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "id author The Zandrell developers");
  EXPECT_EQ(lines.back(), "uciok");
  const std::vector<std::string> expected = {
      "option name Hash type spin default 0 min 0 max 4096",
      "option name Clear Hash type button",
      "option name Threads type spin default 1 min 1 max 256",
      "option name Ponder type check default false",
      "option name OwnBook type check default true",
      "option name Log type check default false",
      "option name UCI_LimitStrength type check default false",
      "option name UCI_Chess960 type check default false",
      "option name UCI_ShowWDL type check default false",
      "option name BookFile type string default <empty>",
      "option name MultiPV type spin default 1 min 1 max 8",
      "option name Move Overhead type spin default 10 min 0 max 5000",
      "option name Contempt type spin default 0 min -1000 max 1000",
      "option name PawnValue type spin default 100 min 1 max 1000",
      "option name KnightValue type spin default 310 min 1 max 2000",
      "option name BishopValue type spin default 313 min 1 max 2000",
      "option name RookValue type spin default 500 min 1 max 3000",
      "option name QueenValue type spin default 900 min 1 max 4000",
      "option name UCI_Elo type spin default 1950 min 800 max 1950",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end() - 1), expected);

  // Names without regard to case; refusals told and nothing else changed.
  const std::string out = engine.Session(
      "setoption name multipv value 3\nsetoption name Hash value 16\n"
      "setoption name clear hash\nsetoption name Ponder value TRUE\n"
      "setoption name MultiPV value 9\nsetoption name Ponder value maybe\n"
      "setoption name Nonsense value 1\nsetoption value 3\nisready\n");
  EXPECT_EQ(out,
            "info string MultiPV takes a whole number from 1 to 8, not \"9\"\n"
            "info string Ponder takes true or false, not \"maybe\"\n"
            "info string no option named \"Nonsense\"\n"
            "info string setoption needs: name <name> [value <value>]\n"
            "readyok\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(UciSession, TheEngineStartsInUciWithEachFormOfTheSwitch) {
  for (const char* uciSwitch : {"-uci", "/uci", "UCI"}) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start({uciSwitch}));
    const std::string out = engine.Session("uci\nisready\n");
    EXPECT_EQ(out.rfind("id name Zandrell ", 0), 0u) << uciSwitch << ": " << out;
    EXPECT_NE(out.find("\nuciok\nreadyok\n"), std::string::npos) << out;
    EXPECT_EQ(engine.Wait(), 0);
  }
}

// The position reached by replaying castling, en passant and a promotion is
// the one its FEN record describes: the same search, node for node.
TEST(UciSession, PositionReplaysCastlingEnPassantAndPromotion) {
  const std::string replayed =
      "position fen r3k2r/1P6/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1 moves e5d6 e8g8 b7b8q\n";
  const std::string described = "position fen rQ3rk1/8/3P4/8/8/8/8/R3K2R b KQ - 0 2\n";
  std::string moves[2];
  std::string nodes[2];
  for (int i = 0; i < 2; ++i) {
    UciEngine engine;
    ASSERT_TRUE(engine.Start());
    engine.Send((i == 0 ? replayed : described) + "go depth 4\n");
    const std::string out = engine.ReadThroughBestMove();
    EXPECT_EQ(out.find("info string"), std::string::npos) << out;
    moves[i] = BestMoveIn(out);
    nodes[i] = FieldOfLast(out, "info depth 4", "nodes");
    engine.Session("");
  }
  EXPECT_FALSE(moves[0].empty());
  EXPECT_EQ(moves[0], moves[1]);
  EXPECT_EQ(nodes[0], nodes[1]);

  // A promotion is written with its piece in lower case.
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position fen 3r2k1/4P3/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\n");
  EXPECT_EQ(BestMoveIn(engine.ReadThroughBestMove()), "e7d8q");
  engine.Session("");
}

TEST(UciSession, DepthFiveMatchesXboardsFixedDepthMoveAndNodes) {
  const std::string fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
  EngineProcess xboard;
  ASSERT_TRUE(xboard.Start());
  xboard.Send("new\nsetboard " + fen + "\npost\nsd 5\ngo\n");
  const std::string thought = xboard.ReadThroughMove(60000);
  xboard.Session("");
  std::string xboardNodes;
  for (const std::string& line : LinesOf(thought)) {
    std::istringstream words(line);
    std::string depth, score, time, nodes;
    if (words >> depth >> score >> time >> nodes && depth == "5") xboardNodes = nodes;
  }
  const std::string xboardMove = testing::LastMoveIn(thought);

  UciEngine uci;
  ASSERT_TRUE(uci.Start());
  uci.Send("position fen " + fen + "\ngo depth 5\n");
  const std::string out = uci.ReadThroughBestMove(60000);
  uci.Session("");
  ASSERT_FALSE(xboardNodes.empty()) << thought;
  EXPECT_EQ(BestMoveIn(out), xboardMove) << out;
  EXPECT_EQ(FieldOfLast(out, "info depth 5", "nodes"), xboardNodes) << out;
}

// Hash sizes the table the search uses: the same depth takes far fewer nodes
// with it, a second search starts from what the first left in the table (its
// count differs; fewer or more, as the table's moves lead it), Clear Hash makes
// the next search start cold again, and Hash 0 is the plain search once more.
TEST(UciSession, HashAndClearHashReachTheTable) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  auto nodesAtDepth6 = [&] {
    engine.Send("position startpos moves e2e4 e7e5 g1f3 b8c6\ngo depth 6\n");
    return FieldOfLast(engine.ReadThroughBestMove(60000), "info depth 6", "nodes");
  };
  const std::string plain = nodesAtDepth6();
  engine.Send("setoption name Hash value 16\n");
  const std::string cold = nodesAtDepth6();
  const std::string warm = nodesAtDepth6();
  engine.Send("setoption name Clear Hash\n");
  const std::string cleared = nodesAtDepth6();
  engine.Send("setoption name hash value 0\n");
  const std::string plainAgain = nodesAtDepth6();
  engine.Session("");
  ASSERT_FALSE(plain.empty());
  EXPECT_LT(std::stoll(cold) * 2, std::stoll(plain)) << cold << " vs " << plain;
  EXPECT_NE(warm, cold);
  EXPECT_EQ(cleared, cold);
  EXPECT_EQ(plainAgain, plain);
}

// The engine aims at 290 ms (the move overhead kept back) and answers within a
// few milliseconds of it.
TEST(UciSession, MovetimeIsKept) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position startpos moves e2e4 c7c5 g1f3 d7d6\nisready\n");
  engine.ReadUntil("readyok\n", 10000);
  const Clock::time_point start = Clock::now();
  engine.Send("go movetime 300\n");
  const std::string out = engine.ReadThroughBestMove();
  const long long took = MillisecondsSince(start);
  EXPECT_TRUE(testing::LegalIn("rnbqkbnr/pp2pppp/3p4/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 3",
                               BestMoveIn(out)))
      << out;
  EXPECT_GE(took, 250);
  EXPECT_LE(took, 300 + kGenerousMs) << out;
  engine.Session("");
}

TEST(UciSession, InfiniteAnswersIsreadyAndGivesItsMoveOnlyAtStop) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position startpos\ngo infinite\n");
  EXPECT_EQ(engine.ReadUntil("bestmove", 400).find("bestmove"), std::string::npos);
  engine.Send("isready\n");
  EXPECT_NE(engine.ReadUntil("readyok\n", kGenerousMs).find("readyok\n"), std::string::npos);
  const Clock::time_point start = Clock::now();
  engine.Send("stop\n");
  const std::string out = engine.ReadThroughBestMove(10000);
  EXPECT_LE(MillisecondsSince(start), kGenerousMs);
  EXPECT_TRUE(
      testing::LegalIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", BestMoveIn(out)))
      << out;
  // The last info comes just before the move; a stop while idle is ignored.
  const std::vector<std::string> lines = LinesOf(out);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2].rfind("info depth ", 0), 0u) << out;
  EXPECT_EQ(engine.Session("stop\nisready\n"), "readyok\n");
}

// An interface may send stop, position and go at once without waiting for the
// move: the new think is on the new position.
TEST(UciSession, CommandsDuringAThinkAreHandledInOrder) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position startpos\ngo infinite\n");
  engine.ReadUntil("info depth 3", 10000);
  engine.Send("stop\nposition startpos moves e2e4\ngo depth 3\nisready\n");
  const std::string stopped = engine.ReadThroughBestMove(kGenerousMs);
  EXPECT_TRUE(
      testing::LegalIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", BestMoveIn(stopped)))
      << stopped;
  const std::string next = engine.ReadThroughBestMove();
  // During the short think or just after it.
  const std::string ready = next + engine.ReadUntil("readyok\n", kGenerousMs);
  EXPECT_NE(ready.find("readyok\n"), std::string::npos) << ready;
  EXPECT_TRUE(
      testing::LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", BestMoveIn(next)))
      << next;
  engine.Session("");
}

// A search that ends by itself still holds its move until stop.
TEST(UciSession, FinishedInfiniteSearchWaitsForStop) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position startpos\ngo infinite depth 2\n");
  EXPECT_NE(engine.ReadUntil("info depth 2", 10000).find("info depth 2"), std::string::npos);
  EXPECT_EQ(engine.ReadUntil("bestmove", 300).find("bestmove"), std::string::npos);
  engine.Send("isready\n");
  EXPECT_NE(engine.ReadUntil("readyok\n", kGenerousMs).find("readyok"), std::string::npos);
  engine.Send("stop\n");
  EXPECT_FALSE(BestMoveIn(engine.ReadThroughBestMove(kGenerousMs)).empty());
  engine.Session("");
}

TEST(UciSession, PonderhitTurnsThePonderSearchIntoATimedOne) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send(
      "setoption name Ponder value true\nposition startpos moves e2e4 e7e5\n"
      "go ponder wtime 2000 btime 2000\n");
  EXPECT_EQ(engine.ReadUntil("bestmove", 500).find("bestmove"), std::string::npos);
  engine.Send("ponderhit\n");
  // Two seconds on the clock: a second at most for this move.
  const std::string out = engine.ReadThroughBestMove(kGenerousMs + 1000);
  EXPECT_TRUE(
      testing::LegalIn("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -", BestMoveIn(out)))
      << out;

  // A ponder miss: stop, and the move given is thrown away.
  engine.Send("position startpos moves e2e4 e7e5 g1f3\ngo ponder wtime 2000 btime 2000\n");
  EXPECT_EQ(engine.ReadUntil("bestmove", 500).find("bestmove"), std::string::npos);
  engine.Send("stop\n");
  EXPECT_FALSE(BestMoveIn(engine.ReadThroughBestMove(kGenerousMs)).empty());
  engine.Session("");
}

TEST(UciSession, MultiPvTwoReportsTwoLinesPerDepth) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("setoption name MultiPV value 2\nposition startpos\ngo depth 4\n");
  const std::string out = engine.ReadThroughBestMove();
  for (int depth = 1; depth <= 4; ++depth) {
    const std::string prefix = "info depth " + std::to_string(depth) + " ";
    std::string moves[3];
    for (const std::string& line : LinesOf(out)) {
      if (line.rfind(prefix, 0) != 0) continue;
      std::istringstream words(line);
      std::string word, line1or2, pvMove;
      while (words >> word && word != "multipv") {}
      words >> line1or2;
      while (words >> word && word != "pv") {}
      words >> pvMove;
      if (line1or2 == "1" || line1or2 == "2") moves[std::stoi(line1or2)] = pvMove;
    }
    EXPECT_FALSE(moves[1].empty()) << depth << "\n" << out;
    EXPECT_FALSE(moves[2].empty()) << depth << "\n" << out;
    EXPECT_NE(moves[1], moves[2]) << depth << "\n" << out;
  }
  engine.Session("");
}

TEST(UciSession, MatedOrStalematedSideAnswersNullMove) {
  struct Case {
    const char* Fen;
    const char* Info;
  };
  for (const Case& c : {Case{"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "info depth 0 score mate 0"},
                        Case{"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "info depth 0 score cp 0"}}) {
    UciEngine engine;
    ASSERT_TRUE(engine.Start());
    const std::string out =
        engine.Session("position fen " + std::string(c.Fen) + "\ngo wtime 1000 btime 1000\n");
    EXPECT_EQ(out, std::string(c.Info) + "\nbestmove 0000\n") << c.Fen;
  }
}

// Mates are counted in moves: plus for the side that mates, minus for the mated.
TEST(UciSession, MateScoresCountMoves) {
  struct Case {
    const char* Fen;
    const char* Score;
  };
  for (const Case& c : {Case{"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "mate 1"},
                        Case{"r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1", "mate 1"},
                        Case{"3q4/8/8/p7/P7/8/5k2/7K w - - 0 1", "mate -1"}}) {
    UciEngine engine;
    ASSERT_TRUE(engine.Start());
    engine.Send("position fen " + std::string(c.Fen) + "\ngo depth 4\n");
    const std::string out = engine.ReadThroughBestMove();
    engine.Session("");
    const std::vector<std::string> lines = LinesOf(out);
    ASSERT_GE(lines.size(), 2u) << out;
    EXPECT_NE(lines[lines.size() - 2].find(" score " + std::string(c.Score) + " "),
              std::string::npos)
        << c.Fen << "\n"
        << out;
  }
}

TEST(UciSession, SearchmovesChoosesAmongTheGivenMoves) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("position startpos\ngo depth 3 searchmoves a2a3 h2h3\n");
  const std::string best = BestMoveIn(engine.ReadThroughBestMove());
  EXPECT_TRUE(best == "a2a3" || best == "h2h3") << best;
  engine.Session("");
}

TEST(UciSession, BadCommandsAreAnsweredAndTheGameStaysAsItWas) {
  UciEngine engine;
  ASSERT_TRUE(engine.Start());
  engine.Send(
      "position startpos moves e2e4\n"
      "position fen rnbqkbnr/pppppppp/8/8 w KQkq - 0 1\n"
      "position startpos moves e7e5\n"
      "position sideways\n"
      "flip the board\n"
      "go depth 2\n");
  const std::string out = engine.ReadThroughBestMove();
  engine.Session("");
  const std::vector<std::string> lines = LinesOf(out);
  ASSERT_GE(lines.size(), 5u) << out;
  EXPECT_EQ(lines[0], "info string illegal position: rnbqkbnr/pppppppp/8/8 w KQkq - 0 1");
  EXPECT_EQ(lines[1], "info string illegal move e7e5 after 0 moves");
  EXPECT_EQ(lines[2], "info string position needs startpos or fen");
  EXPECT_EQ(lines[3], "info string unknown command: flip the board");
  // Still the position after 1. e4: Black moves.
  EXPECT_TRUE(
      testing::LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", BestMoveIn(out)))
      << out;
}

// The UCI program reads the engine's settings and writes the engine's log.
TEST(UciSession, LogRecordsTheGameInTheEnginesLog) {
  UciEngine engine;
  engine.Folder().Write("Zandrell.ini", "[Engine]\nContempt=7\n");
  ASSERT_TRUE(engine.Start());
  engine.Send(
      "uci\nsetoption name Log value true\nucinewgame\nposition startpos moves e2e4\n"
      "go depth 2\n");
  std::string out = engine.ReadThroughBestMove();
  const std::string reply = BestMoveIn(out);
  out += engine.Session("position startpos moves e2e4 " + reply + " g1f3\ngo depth 2\n");
  EXPECT_NE(out.find("option name Contempt type spin default 7 "), std::string::npos) << out;
  EXPECT_EQ(engine.Wait(), 0);
  EXPECT_FALSE(engine.Folder().Exists(engine.LogName()));
  const std::string log = engine.Folder().Read("zandrell.log");
  const std::size_t newGame = log.find("New Game\r\n");
  const std::size_t first = log.find("move: e2e4\r\n");
  const std::size_t replied = log.find("move: " + reply + "\r\n(t:");
  const std::size_t second = log.find("move: g1f3\r\n");
  const std::size_t end = log.find("Program terminated.\r\n");
  EXPECT_LT(newGame, first) << log;
  EXPECT_LT(first, replied) << log;
  EXPECT_LT(replied, second) << log;
  EXPECT_LT(second, end) << log;
  EXPECT_EQ(log.find("move: " + reply + "\r\n", replied + 1), std::string::npos) << log;
  EXPECT_EQ(log.find("New Game", newGame + 1), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 22), std::string(20, '=') + "\r\n");
}

}  // namespace
}  // namespace zandrell
