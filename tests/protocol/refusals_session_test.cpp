// What the engine refuses, in whole sessions against the built engine through real
// pipes: a book that is no file (it starts and plays without it), a position where
// a king could be taken; and "go" as protocol 2 defines it.
#include <gtest/gtest.h>

#include "support/engine_process.h"
#include "support/non_regular_files.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

TEST(RefusalsSession, ABookThatIsNoFileIsLoggedByNameAndTheEngineAnswersAtOnce) {
  for (const bool fifo : {true, false}) {
    EngineProcess engine;
    const std::string book = engine.Folder().File("special.txt");
    if (!(fifo ? testing::MakeFifo(book) : testing::MakeLinkLoop(book))) continue;  // none here
    engine.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=special.txt\r\n");
    ASSERT_TRUE(engine.Start());
    EXPECT_EQ(engine.Session("ping 1\n", 10000), "\npong 1\n");
    EXPECT_EQ(engine.Wait(), 0);
    EXPECT_EQ(engine.Folder().Read(engine.LogName()),
              "Opening book error: " + book + " is " +
                  (fifo ? "a FIFO (named pipe)" : "a loop of symbolic links") +
                  ", not a book file\r\n");
  }
}

TEST(RefusalsSession, ALogThatIsAFifoIsNotWaitedOn) {
  EngineProcess engine;
  if (!testing::MakeFifo(engine.Folder().File(engine.LogName()))) GTEST_SKIP() << "no FIFOs";
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  EXPECT_EQ(engine.Session("new\nping 1\n", 10000), "\npong 1\n");
  EXPECT_EQ(engine.Wait(), 0);
}

// Black's king is in check with White to move: nothing is searched or played, the
// interface hears it once, and play resumes when the position is legal again.
TEST(RefusalsSession, APositionWhereAKingCanBeTakenIsRefusedUntilItIsLegal) {
  const std::string fen = "4k3/8/8/8/8/8/8/4R1K1 b - - 0 1";
  for (const bool later : {false, true}) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    if (later) {
      engine.Send("xboard\nprotover 2\n");
      engine.ReadUntil("done=1\n", 5000);
    }
    std::string out = engine.Session("new\nforce\nsetboard " + fen +
                                     "\nwhite\nsd 2\ngo\nping 1\nping 2\nblack\ngo\nping 3\n");
    const std::string move = testing::LastMoveIn(out);
    EXPECT_TRUE(testing::LegalIn(fen, move)) << out;
    EXPECT_EQ(out, "\ntellusererror Illegal position\n\npong 1\n\npong 2\n\nmove " + move +
                       "\n\npong 3\n");
  }
}

TEST(RefusalsSession, GoPutsTheEngineOnTheSideToMoveOnlyUnderProtocolTwo) {
  EngineProcess later;
  ASSERT_TRUE(later.Start());
  later.Send("xboard\nprotover 2\nnew\nforce\ne2e4\nsd 2\ngo\n");
  const std::string move = testing::LastMoveIn(later.ReadThroughMove());
  EXPECT_TRUE(testing::LegalIn("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", move))
      << move;

  // Protocol 1 keeps "go" turning the engine to the other side: it waits for White.
  EngineProcess first;
  ASSERT_TRUE(first.Start());
  EXPECT_EQ(first.Session("new\nforce\ne2e4\nsd 2\ngo\nping 1\n"), "\npong 1\n");
}

}  // namespace
}  // namespace zandrell
