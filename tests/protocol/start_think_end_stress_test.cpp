// Many short lives of the built engine with input arriving while it starts,
// while it thinks and while it ends: no hang, and the log's last entry written
// every time. Under wine this runs the Windows program and its input reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "support/engine_process.h"

namespace zandrell {
namespace {

using testing::EngineProcess;

constexpr const char* kLastEntry = " - Program terminated.\r\n====================\r\n";

// How one life ends.
enum class Ending { kQuitAtStart, kQuitWhileThinking, kInputEndsWhileThinking, kQuitInAThinkBurst };

// One life; true when the engine ended in time with its log complete.
::testing::AssertionResult OneLife(Ending ending, int round) {
  EngineProcess engine;
  if (!engine.Start({"-xboard", "-log"})) return ::testing::AssertionFailure() << "no start";
  const std::string opening = "xboard\nprotover 2\nnew\nst 1\npost\ngo\n";
  switch (ending) {
    case Ending::kQuitAtStart:
      // Everything before the engine has even read its settings.
      engine.Send(opening + "ping 1\n?\nping 2\nquit\nping 3\n");
      break;
    case Ending::kQuitWhileThinking:
      engine.Send(opening);
      engine.ReadUntil("\n3 ", 20000);
      engine.Send("ping 1\nhint\nquit\nping 2\nforce\n");
      break;
    case Ending::kInputEndsWhileThinking:
      engine.Send(opening);
      engine.ReadUntil("\n3 ", 20000);
      engine.Send("ping 1\notim 100\n");
      engine.CloseInput();
      break;
    case Ending::kQuitInAThinkBurst:
      // Lines keep coming as the think starts, the move goes out and the engine ends.
      engine.Send(opening + "ping 1\n");
      std::this_thread::sleep_for(std::chrono::milliseconds(5 * (round % 7)));
      engine.Send("?\nping 2\nnew\nst 1\ngo\nping 3\n?\nquit\nping 4\n");
      break;
  }
  const int code = engine.Wait(30000);
  if (code != 0) {
    engine.Process().Kill();
    return ::testing::AssertionFailure() << "exit code " << code << " (-1: still running)";
  }
  const std::string log = engine.Folder().Read(engine.LogName());
  const std::size_t end = log.rfind(kLastEntry);
  if (end == std::string::npos || end + std::string(kLastEntry).size() != log.size()) {
    return ::testing::AssertionFailure() << "log ends: " << log.substr(log.size() - 120);
  }
  return ::testing::AssertionSuccess();
}

TEST(StartThinkEndStress, InputWhileStartingThinkingAndEndingNeverHangsOrLosesTheLastEntry) {
  constexpr int kRounds = 48;
  const Ending endings[] = {Ending::kQuitAtStart, Ending::kQuitWhileThinking,
                            Ending::kInputEndsWhileThinking, Ending::kQuitInAThinkBurst};
  double longestMs = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(OneLife(endings[round % 4], round)) << "round " << round;
    const std::chrono::duration<double, std::milli> life = std::chrono::steady_clock::now() - start;
    longestMs = std::max(longestMs, life.count());
  }
  std::printf("%d lives, the longest %.0f ms\n", kRounds, longestMs);
}

}  // namespace
}  // namespace zandrell
