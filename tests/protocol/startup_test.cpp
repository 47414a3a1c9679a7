// Start-up, shutdown and the log, seen from outside through the built executable.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

constexpr const char* kTwentyEquals = "====================";

TEST(StartUp, SwitchesInAnyCaseWithOrWithoutDashAndBlankPieces) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"-XBOARD", "-Log"}, {"xboard", "", "log"}}) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start(arguments));
    EXPECT_EQ(engine.Session("e2e5\n"), "\nIllegal move: e2e5\n");
    EXPECT_EQ(engine.ReadErrorToEnd(), "");
    EXPECT_EQ(engine.Wait(), 0);
    EXPECT_NE(engine.Folder().Read(engine.LogName()).find("Program terminated."),
              std::string::npos);
  }
}

TEST(StartUp, UnsupportedArgumentWarnsWithTheWholeLineAndStillRuns) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-debug"}));
  EXPECT_EQ(engine.Session("e2e5\n"), "\nIllegal move: e2e5\n");
  EXPECT_EQ(engine.ReadErrorToEnd(),
            "Warning: Unsupported command line argument: -xboard -debug\n");
}

// The log is named after the executable in lower case and ends with the
// termination entries; a hostile LogPV value changes nothing.
TEST(StartUp, QuitWithTheLogSwitchEndsTheLogWithTheTerminationEntries) {
  EngineProcess engine("ZandrellCase");
  engine.Folder().Write("Zandrell.ini", "[Engine]\r\nLogPV=abc\r\n");
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Session("");
  ASSERT_EQ(engine.Wait(), 0);
  ASSERT_EQ(engine.LogName(), "zandrellcase.log");
#ifndef _WIN32  // file names compare without case on Windows
  EXPECT_FALSE(engine.Folder().Exists("ZandrellCase.log"));
#endif
  std::string log = engine.Folder().Read("zandrellcase.log");
  const std::string ending = std::string(" - Program terminated.\r\n") + kTwentyEquals + "\r\n";
  ASSERT_GE(log.size(), ending.size());
  EXPECT_EQ(log.substr(log.size() - ending.size()), ending);
  // The missing book setting is logged at every start, forced and time-stamped.
  EXPECT_NE(log.find(" - Error retrieving setting: OpeningBook\r\n"), std::string::npos);
}

TEST(StartUp, WithoutTheLogSwitchOnlyForcedEntriesAreWritten) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard"}));
  engine.Session("new\ne2e4\n");
  std::string log = engine.Folder().Read(engine.LogName());
  EXPECT_NE(log.find("Error retrieving setting: OpeningBook"), std::string::npos);
  EXPECT_EQ(log.find("Program terminated."), std::string::npos);
  EXPECT_EQ(log.find("move: e2e4"), std::string::npos);
}

TEST(Wire, EndOfInputEndsTheEngineAsQuitDoes) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Send("new\n");
  engine.CloseInput();
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.Folder().Read(engine.LogName());
  EXPECT_NE(log.find("Program terminated."), std::string::npos);
}

TEST(Wire, InputLongerThanOneReadArrivesWhole) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  std::string chunk;
  while (chunk.size() < 5000) chunk += "xboard\nrandom\n";
  chunk += "e2e5\n";
  EXPECT_EQ(engine.Session(chunk), "\nIllegal move: e2e5\n");
}

TEST(Wire, ALineCutBetweenTwoWritesIsNotLost) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("e2");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  engine.Send("e5\nE2");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(engine.Session("E4\n"), "\nIllegal move: e2e5\n\nIllegal move: E2E4\n");
}

#ifndef _WIN32
TEST(Signals, InterruptIsIgnoredAndTerminateShutsDownInOrder) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Send("e2e5\n");
  ASSERT_EQ(engine.ReadUntil("e2e5\n"), "\nIllegal move: e2e5\n");
  engine.Process().SendInterrupt();
  engine.Send("e2e6\n");
  EXPECT_EQ(engine.ReadUntil("e2e6\n"), "\nIllegal move: e2e6\n");
  engine.Process().SendTerminate();
  EXPECT_EQ(engine.Wait(), 0);
  std::string log = engine.Folder().Read(engine.LogName());
  const std::string ending = std::string(" - Program terminated.\r\n") + kTwentyEquals + "\r\n";
  ASSERT_GE(log.size(), ending.size());
  EXPECT_EQ(log.substr(log.size() - ending.size()), ending);
}
#endif

}  // namespace
}  // namespace zandrell
