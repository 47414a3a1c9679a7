// Chess960, "go mate" and UCI_ShowWDL in whole sessions through real pipes: the
// UCI program with UCI_Chess960 and the xboard engine with "variant fischerandom".
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/make_move.h"
#include "protocol/castling_text.h"
#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::BestMoveIn;
using testing::EngineProcess;
using testing::UciProcess;

// Plays the moves (coordinates, or O-O and O-O-O) from the Chess960 position;
// false at the first one that is not legal.
bool PlayIn960(BoardState& b, const std::string& fen, const std::vector<std::string>& moves) {
  ResetPosition(b, false);
  if (!SetUpFromFen(b, fen, nullptr, true)) return false;
  for (const std::string& text : moves) {
    Move m{};
    if (!FindCastlingMove(b, text, m) && !FindLegalMove(b, text, m)) return false;
    PlayMove(b, m);
  }
  return true;
}

bool LegalIn960(const std::string& fen, std::vector<std::string> moves, const std::string& move) {
  BoardState b{};
  moves.push_back(move);
  return PlayIn960(b, fen, moves);
}

// White mates at once only by castling short: the king stays on g1 and the rook
// comes to f1, with nothing of Black's able to step between.
constexpr char kMateByCastling[] = "4rkr1/ppp1p1p1/8/8/8/8/PPP5/6KR w K - 0 1";

TEST(Chess960Session, UciPlaysAChess960GameWithLegalMovesAndCastlesAsKingTakesRook) {
  UciProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("uci\nsetoption name UCI_Chess960 value true\nucinewgame\nisready\n");
  const std::string handshake = engine.ReadUntil("readyok\n");
  EXPECT_NE(handshake.find("option name UCI_Chess960 type check default false"), std::string::npos);

  // A start position of Chess960, a few moves each side, every one legal.
  const std::string start = "nrbbqkrn/pppppppp/8/8/8/8/PPPPPPPP/NRBBQKRN w KQkq - 0 1";
  std::vector<std::string> moves;
  for (int ply = 0; ply < 8; ++ply) {
    std::string position = "position fen " + start;
    if (!moves.empty()) {
      position += " moves";
      for (const std::string& m : moves) position += " " + m;
    }
    engine.Send(position + "\ngo depth 4\n");
    const std::string out = engine.ReadThroughBestMove();
    EXPECT_EQ(out.find("illegal"), std::string::npos) << out;
    const std::string best = BestMoveIn(out);
    ASSERT_TRUE(LegalIn960(start, moves, best)) << "ply " << ply << ": " << best;
    moves.push_back(best);
  }

  // Castling is read and sent as the king taking its own rook.
  engine.Send(std::string("position fen ") + kMateByCastling + "\ngo depth 3\n");
  std::string out = engine.ReadThroughBestMove();
  EXPECT_EQ(BestMoveIn(out), "g1h1") << out;
  engine.Send(std::string("position fen ") + kMateByCastling + " moves g1h1\ngo depth 2\n");
  out = engine.ReadThroughBestMove();
  EXPECT_EQ(out.find("illegal"), std::string::npos) << out;
  EXPECT_NE(out.find("score mate 0"), std::string::npos) << out;  // mated
  EXPECT_EQ(BestMoveIn(out), "0000") << out;
  EXPECT_EQ(engine.Session(""), "");
  EXPECT_EQ(engine.Wait(), 0);
}

// The variant is offered with the hash table's search (the plain engine's
// handshake keeps its bytes, and lists the normal game alone).
TEST(Chess960Session, XboardVariantFischerandomReadsAndSendsCastlingSigns) {
  EngineProcess engine;
  engine.Folder().Write("Zandrell.ini", "[Engine]\nHash=16\n");
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\n");
  const std::string features = engine.ReadUntil("feature done=1\n");
  EXPECT_NE(features.find("variants=\"normal,fischerandom\""), std::string::npos) << features;

  // The interface's castling, then the engine's reply, legal after it.
  const std::string start = "rk5r/pppppppp/8/8/8/8/PPPPPPPP/RK5R w KQkq - 0 1";
  engine.Send("new\nvariant fischerandom\nsetboard " + start + "\nforce\nO-O\nsd 3\ngo\n");
  std::string out = engine.ReadThroughMove();
  EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
  EXPECT_TRUE(LegalIn960(start, {"O-O"}, testing::LastMoveIn(out))) << out;

  // Thinking lines write castling with the same signs.
  engine.Send(std::string("new\nvariant fischerandom\nsetboard ") + kMateByCastling +
              "\npost\nsd 3\ngo\n");
  out = engine.ReadThroughMove();
  EXPECT_EQ(testing::LastMoveIn(out), "O-O") << out;
  EXPECT_NE(out.find(" O-O\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("g1h1"), std::string::npos) << out;

  // An edited board claims the rights of the outermost rooks beside a king on
  // its back rank, wherever the king stands; a king off that rank has none.
  const std::string edited = "new\nvariant fischerandom\nforce\nedit\n#\nRa1\nKb1\nRh1\nPa2\nc\n";
  engine.Send(edited + "Kg8\nRa8\nRh8\nPg7\n.\nO-O-O\nO-O\nping 7\n");
  out = engine.ReadUntil("pong 7\n");
  EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
  engine.Send(edited + "Kg7\nRa8\nRh8\n.\nb1c1\nO-O\nping 8\n");
  out = engine.ReadUntil("pong 8\n");
  EXPECT_NE(out.find("Illegal move: O-O"), std::string::npos) << out;
  out = engine.Session("");
  EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
  EXPECT_EQ(engine.Wait(), 0);
}

// The values of every "info" line that has wdl: win, draw and loss.
std::vector<std::vector<int>> WdlValues(const std::string& out) {
  std::vector<std::vector<int>> values;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      if (word != "wdl") continue;
      std::vector<int> v(3);
      words >> v[0] >> v[1] >> v[2];
      values.push_back(v);
    }
  }
  return values;
}

TEST(UciSessionMateAndWdl, GoMateFindsTheMateAndShowWdlAddsUpToAThousand) {
  UciProcess engine;
  ASSERT_TRUE(engine.Start());
  // Mate in two: the rook cuts the king off on the seventh rank, the other mates.
  engine.Send("uci\nsetoption name Hash value 16\nposition startpos\ngo depth 1\n");
  engine.ReadThroughBestMove();
  engine.Send("position fen 7k/8/8/8/8/8/R5PP/1R4K1 w - - 0 1\ngo mate 2\n");
  std::string out = engine.ReadThroughBestMove();
  EXPECT_NE(out.find("score mate 2"), std::string::npos) << out;
  EXPECT_EQ(out.find("wdl"), std::string::npos) << out;  // off unless asked for

  engine.Send("setoption name UCI_ShowWDL value true\nposition startpos moves e2e4\ngo depth 4\n");
  out = engine.ReadThroughBestMove();
  const std::vector<std::vector<int>> values = WdlValues(out);
  ASSERT_FALSE(values.empty()) << out;
  for (const std::vector<int>& v : values) {
    EXPECT_EQ(v[0] + v[1] + v[2], 1000) << out;
    EXPECT_GE(v[1], 0);
  }
  engine.Send("position fen 7k/8/8/8/8/8/R5PP/1R4K1 w - - 0 1\ngo mate 2\n");
  out = engine.ReadThroughBestMove();
  EXPECT_NE(out.find("score mate 2 wdl 1000 0 0"), std::string::npos) << out;
  EXPECT_EQ(engine.Session(""), "");
  EXPECT_EQ(engine.Wait(), 0);
}

}  // namespace
}  // namespace zandrell
