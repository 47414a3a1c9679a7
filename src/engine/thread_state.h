#pragma once
// The threads of a think with the hash table: how many the interface asked for,
// and the helpers that search beside the engine's own thread, each on an
// engine of its own, kept from one think to the next.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "board/types.h"
#include "engine/limits.h"

namespace zandrell {

struct Engine;

constexpr int kMaxThreads = 256;

// The deepest iteration a helper has finished in a think: its root's best move,
// score and line, kept as the engine's own thread keeps its iterations.
struct FinishedIteration {
  int Depth = 0;  // plies searched; 0: none yet
  std::int32_t Score = 0;
  bool Repeats = false;              // the best move repeats a position of the game a third time
  std::array<Move, kMaxPly> Line{};  // Line[1] is the best move
  int LineLength = 1;
};

// What the threads of one think share besides the table: the order to stop,
// the nodes the helpers have searched so far, the iteration the engine's own
// thread is at (helpers start theirs deeper), and the helpers' deepest finished
// iteration (its depth readable without the lock).
struct SharedThink {
  std::atomic<bool> Stop{false};
  std::atomic<std::int64_t> HelperNodes{0};
  std::atomic<int> OwnIteration{0};
  std::atomic<int> DeepestFinished{0};
  std::mutex FinishedLock;
  FinishedIteration Finished;
};

struct ThreadsState {
  int Count = 1;  // "Threads" (xboard's "cores"): the engine's own thread and Count - 1 helpers
  std::vector<std::unique_ptr<Engine>> Workers;
  std::vector<std::thread> Running;
  SharedThink Shared;
};

}  // namespace zandrell
