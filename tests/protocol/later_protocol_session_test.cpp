// The version-2 handshake, ping, set-up positions and take-backs, in whole
// sessions against the built engine through real pipes.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "support/engine_process.h"
#include "support/feature_reply.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

// What a session wrote, with the seconds taken out of the thinking lines
// ("depth score time nodes pv") so that two runs compare equal.
std::string WithoutTimes(const std::string& out) {
  std::istringstream lines(out);
  std::string line;
  std::string kept;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    if (words.size() >= 4 && std::isdigit(static_cast<unsigned char>(words[0][0])))
      words.erase(words.begin() + 2);
    for (const std::string& word : words) kept += word + " ";
    kept += "\n";
  }
  return kept;
}

// Sets up with the given lines, then lets the engine think to depth 4 as the
// side to move; the ping waits for its move.
std::string ThinkAfter(const std::string& setUp, bool whiteToMove) {
  EngineProcess engine;
  EXPECT_TRUE(engine.Start());
  const std::string out = engine.Session(
      "new\nforce\n" + setUp + (whiteToMove ? "white\n" : "black\n") + "post\nsd 4\ngo\nping 1\n",
      60000);
  EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
  EXPECT_NE(out.find("\nmove "), std::string::npos) << out;
  return WithoutTimes(out);
}

TEST(LaterProtocolSession, HandshakeAnswersAtOnceAndTakesRepliesSilently) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nprotover 2\n");
  // No other line is needed for the reply: the interface waits for done=1.
  EXPECT_EQ(engine.ReadUntil("done=1\n", 5000), testing::kFeatureReply);
  EXPECT_EQ(
      engine.Session("accepted setboard\naccepted done\nrejected usermove\nprotover 1\nping 42\n"),
      "\npong 42\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(LaterProtocolSession, PongFollowsTheMoveThatWasDue) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("new\nsd 3\ne2e4\nping 7\n");
  const std::string out = engine.ReadUntil("pong 7\n", 30000);
  const std::string move = testing::LastMoveIn(out);
  ASSERT_FALSE(move.empty()) << out;
  EXPECT_TRUE(testing::LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", move))
      << move;
  EXPECT_EQ(out.substr(out.find("\nmove ")), "\nmove " + move + "\n\npong 7\n");
  // Nothing due: the answer comes at once, and nothing else.
  EXPECT_EQ(engine.Session("force\nping 8\n"), "\npong 8\n");
}

TEST(LaterProtocolSession, SetboardPlaysOnFromThePositionWithItsRightsMarkerAndClock) {
  struct Case {
    const char* Fen;
    bool WhiteToMove;
  };
  for (const Case& c :
       {Case{"r3k2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 4 9", true},
        Case{"rnbqkbnr/pp2pppp/8/2ppP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", true},
        Case{"r3k2r/8/8/8/4pP2/8/8/R3K2R b Qk f3 0 30", false},
        Case{"8/5k2/8/8/8/8/1R6/4K3 w - - 97 150", true}}) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    const std::string out =
        engine.Session(std::string("new\nforce\nsetboard ") + c.Fen + "\n" +
                       (c.WhiteToMove ? "white\n" : "black\n") + "sd 3\ngo\nping 1\n");
    EXPECT_TRUE(testing::LegalIn(c.Fen, testing::LastMoveIn(out))) << c.Fen << "\n" << out;
    EXPECT_EQ(out.find("Illegal"), std::string::npos) << out;
  }
  // The same search as in the game that reached the position by moves.
  EXPECT_EQ(
      ThinkAfter("setboard rnbqkbnr/pp2pppp/8/2ppP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3\n", true),
      ThinkAfter("e2e4\nc7c5\ne4e5\nd7d5\n", true));
}

TEST(LaterProtocolSession, UndoAndRemoveLeaveTheGameAsBeforeTheMoves) {
  const std::string played = "e2e4\nd7d5\ne4d5\ng8f6\n";
  // A capture taken back one move at a time; then an en-passant capture,
  // castling and a promotion that captures, taken back two at a time.
  std::string takenBack =
      played + "d5d6\nc7d6\nundo\nundo\n" +
      "g1f3\ne7e5\nd5e6\nb8c6\nf1e2\na7a6\ne1g1\na6a5\ne6f7\ne8e7\nd2d3\nh8g8\nf7g8q\na5a4\n";
  for (int i = 0; i < 7; ++i) takenBack += "remove\n";
  EXPECT_EQ(ThinkAfter(takenBack, true), ThinkAfter(played, true));
}

}  // namespace
}  // namespace zandrell
