// Whole protocol sessions against the built engine, through real pipes.
#include <gtest/gtest.h>

#include <random>

#include "support/engine_process.h"
#include "support/feature_reply.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

TEST(ProtocolSession, ReplayRepetitionDrawsSeeksAndResult) {
  EngineProcess engine;
  engine.Folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=3 0 u\r\nSeek2=\r\n");
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  std::string out = engine.Session(
      "xboard\nprotover 2\nnew\nrandom\nlevel 40 5 0\npost\nhard\nforce\n"
      "e2e4\ne2e4\ne7e5\n"
      "g1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\n"
      "draw\nallseeks\nname gnu\nrating 2000 1700\ncomputer\nresult 1/2-1/2 {Repetition}\n");
  EXPECT_EQ(out,
            testing::kFeatureReply +
                "\nIllegal move: e2e4\n"
                "\n1/2-1/2 {Draw by repetition}\n"
                "\n1/2-1/2 {Draw by repetition}\n"
                "\ntellics decline\n\ntellics say Sorry, this program does not accept draws yet.\n"
                "\ntellics seek 3 0 u\n\ntellics seek \n"  // an empty setting is sent as it is
                "\n1/2-1/2 {Repetition}\n");
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.Folder().Read(engine.LogName());
  EXPECT_NE(log.find("====================\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - New Game\r\nmove: e2e4\r\nIllegal move: e2e4\r\nmove: e7e5\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("result 1/2-1/2 {Repetition}\r\ngnu (1700) True\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - Error retrieving setting: Seek2\r\n"), std::string::npos);
}

TEST(ProtocolSession, TheEngineAnswersAMoveAndPlaysWhiteAfterGo) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("new\nsd 2\ne2e4\n");
  EXPECT_TRUE(testing::LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
                               testing::LastMoveIn(engine.ReadThroughMove())));
  engine.Send("new\nsd 2\ngo\n");
  EXPECT_TRUE(testing::LegalIn("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                               testing::LastMoveIn(engine.ReadThroughMove())));
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

TEST(ProtocolSession, HostileInputNeitherCrashesNorCorruptsTheGame) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("force\n");
  std::mt19937 random(12345);
  std::string noise;
  for (int i = 0; i < 20000; ++i) {
    char c = static_cast<char>(random() % 256);
    // Keep the noise from ending the session or starting the engine's clock.
    noise += c;
  }
  for (const char* word : {"quit", "go", "white", "black", "new"}) {
    for (std::size_t at = noise.find(word); at != std::string::npos; at = noise.find(word)) {
      noise[at] = 'x';
    }
  }
  engine.Send(noise + "\n");
  engine.Send(std::string(200000, 'y') + "\n");
  engine.Send(std::string("e2\0e4\n\0\0\0\n", 11));
  engine.Send("1234\n99999999999999999999\n0000\n12\n");
  engine.Send(
      "level\nlevel x y z\nlevel 99999999999 9999999:99999999 -5\nlevel 1 :\n"
      "time\ntime -1e400\notim nan\notim 1e999\nst\nst 1e30\nsd\nsd -5\nsd 100000\n"
      "rating\nrating x\nrating 1 99999999\nname\nresult\nst -3\nlevel 0 -5 -5\n");
  engine.Send("new\nforce\ne2e4\ne7e5\ng1f3\nb8c6\nf1b5\ne2e5\n");
  std::string out = engine.ReadUntil("Illegal move: e2e5\n", 20000);
  EXPECT_EQ(out.find("Illegal move: e2e4"), std::string::npos);
  EXPECT_EQ(out.find("Illegal move: f1b5"), std::string::npos);
  EXPECT_NE(out.find("Illegal move: e2e5\n"), std::string::npos);
  // The game goes on normally afterwards.
  engine.Send("sd 1\nblack\ngo\n");
  EXPECT_NE(testing::LastMoveIn(engine.ReadThroughMove()), "");
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
}

}  // namespace
}  // namespace zandrell
