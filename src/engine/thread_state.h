#pragma once
// The threads of a think with the hash table: how many the interface asked for,
// and the helpers that search beside the engine's own thread, each on an
// engine of its own, kept from one think to the next.
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace zandrell {

struct Engine;

constexpr int kMaxThreads = 256;

// What the threads of one think share besides the table: the order to stop,
// and the nodes the helpers have searched so far.
struct SharedThink {
  std::atomic<bool> Stop{false};
  std::atomic<std::int64_t> HelperNodes{0};
};

struct ThreadsState {
  int Count = 1;  // "Threads" (xboard's "cores"): the engine's own thread and Count - 1 helpers
  std::vector<std::unique_ptr<Engine>> Workers;
  std::vector<std::thread> Running;
  SharedThink Shared;
};

}  // namespace zandrell
