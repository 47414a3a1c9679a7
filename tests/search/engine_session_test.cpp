// The engine's thinking and moves through real pipes, as a chess interface sees them.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

TEST(EngineSession, ThinkingLinesAndMoveUnderAFixedDepth) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Send("xboard\nnew\nsd 4\npost\ngo\n");
  const std::string out = engine.ReadThroughMove();
  EXPECT_EQ(out.rfind("\n3 ", 0), 0u) << out;  // the first line comes from depth 3
  EXPECT_NE(out.find("\n4 "), std::string::npos) << out;
  EXPECT_EQ(out.find("\n5 "), std::string::npos) << out;
  engine.Send("quit\n");
  EXPECT_EQ(engine.Wait(), 0);
  const std::string log = engine.Folder().Read(engine.LogName());
  EXPECT_NE(log.find("\r\n(t:"), std::string::npos) << log;
  EXPECT_NE(log.find(" q%:"), std::string::npos) << log;
}

// A polite termination request is a signal here; on Windows it is a console event,
// which a headless wine cannot deliver.
#ifndef _WIN32
TEST(EngineSession, TerminationRequestEndsALongThinkPromptly) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start());
  engine.Send("xboard\nnew\nst 120\npost\ngo\n");
  engine.ReadUntil("\n4 ", 30000);  // well inside the search
  const double start = platform::MonotonicSeconds();
  engine.Process().SendTerminate();
  EXPECT_EQ(engine.Wait(10000), 0);  // an orderly shutdown, not a kill
  EXPECT_LT(platform::MonotonicSeconds() - start, 5.0);
}
#endif

}  // namespace
}  // namespace zandrell
