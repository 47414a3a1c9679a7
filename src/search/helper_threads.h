#pragma once
// The helper threads of a think with the hash table (the field's "lazy SMP"):
// each searches the same root on its own copy of the position and search
// state, sharing only the table, so that what one thread stores the others
// find. The engine's own thread alone decides the move, keeps the clock and
// reports; when it ends its iterations every helper stops.
#include <cstdint>

#include "engine/engine.h"

namespace zandrell {

// The thread count a think runs with: 1 unless the hash table is on.
int ThinkThreads(const Engine& e);

// Starts Count - 1 helpers on the think set up in e, whose iterations are
// about to begin; stops and joins them when it goes, adding their nodes to
// the think's counts.
class HelperThreads {
 public:
  explicit HelperThreads(Engine& e);
  ~HelperThreads();
  HelperThreads(const HelperThreads&) = delete;
  HelperThreads& operator=(const HelperThreads&) = delete;

 private:
  Engine& e_;
};

}  // namespace zandrell
