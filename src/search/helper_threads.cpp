#include "search/helper_threads.h"

#include <cstring>
#include <limits>
#include <system_error>

#include "engine/limits.h"
#include "search/hash_table.h"
#include "search/search_interface.h"
#include "search/strong_root.h"

namespace zandrell {

namespace {

// A helper's only listener: it passes the helper's node count on now and
// then, and ends its think when the engine's own thread has ended.
class HelperReporter final : public SearchReporter {
 public:
  HelperReporter(SearchState& s, SharedThink& shared) : s_(s), shared_(shared) {}
  void CheckInput() override {
    Publish();
    if (shared_.Stop.load(std::memory_order_relaxed)) RequestStop(s_);
  }
  void Publish() {
    shared_.HelperNodes.fetch_add(s_.NodeCount - published_, std::memory_order_relaxed);
    published_ = s_.NodeCount;
  }

 private:
  SearchState& s_;
  SharedThink& shared_;
  std::int64_t published_ = 0;
};

// The helper's copy of the think: the position, the game and the search state
// as the engine's own thread has them just before its iterations, the table's
// slots shared. It keeps no clock: it searches until told to stop.
void CopyThink(const Engine& from, Engine& to, int index) {
  to.board = from.board;
  to.game = from.game;
  to.tables = from.tables;
  to.record = from.record;
  to.search = from.search;
  SearchState& s = to.search;
  s.Reporter = nullptr;
  s.HelperNodes = nullptr;
  s.Overtaking = nullptr;
  s.Overtaken = false;
  s.StopRequested = false;
  s.InputCheckCountdown = 0;
  s.NodeCount = 0;
  s.QNodeCount = 0;
  s.FixedDepth = true;
  s.NodeLimit = 0;
  s.OnBudget = false;
  s.Allotment = std::numeric_limits<float>::infinity();
  s.SoftDeadline = std::numeric_limits<double>::infinity();
  s.HardDeadline = std::numeric_limits<double>::infinity();
  // Every other helper one ply ahead of the engine's own thread.
  s.DepthOffset = index % 2 == 1 ? 1 : 0;
  s.MaxIterations = kMaxSearchDepth - s.DepthOffset;
}

void RunHelper(Engine& h, SharedThink& shared) {
  SearchState& s = h.search;
  HelperReporter reporter(s, shared);
  s.Reporter = &reporter;
  std::uint8_t saved[kSquareCount];
  std::memcpy(saved, h.board.Board, sizeof saved);
  DeepenStrong(h, 1, reporter, saved);
  reporter.Publish();
  s.Reporter = nullptr;
}

}  // namespace

int ThinkThreads(const Engine& e) { return HashEnabled(e.search) ? e.threads.Count : 1; }

HelperThreads::HelperThreads(Engine& e) : e_(e) {
  ThreadsState& t = e.threads;
  const int helpers = ThinkThreads(e) - 1;
  if (helpers <= 0) return;
  t.Shared.Stop.store(false);
  t.Shared.HelperNodes.store(0);
  t.Shared.OwnIteration.store(0);
  t.Shared.DeepestFinished.store(0);
  t.Shared.Finished.Depth = 0;
  if (static_cast<int>(t.Workers.size()) > helpers) t.Workers.resize(helpers);
  while (static_cast<int>(t.Workers.size()) < helpers)
    t.Workers.push_back(std::make_unique<Engine>());
  for (int i = 0; i < helpers; ++i) {
    CopyThink(e, *t.Workers[i], i + 1);
    t.Workers[i]->search.FinishedTo = &t.Shared;
  }
  e.search.HelperNodes = &t.Shared.HelperNodes;
  e.search.Overtaking = &t.Shared;
  for (int i = 0; i < helpers; ++i) {
    Engine& h = *t.Workers[i];
    try {
      t.Running.emplace_back([&h, &t] { RunHelper(h, t.Shared); });
    } catch (const std::system_error&) {
      break;  // the system has no more threads to give: fewer helpers
    }
  }
}

HelperThreads::~HelperThreads() {
  ThreadsState& t = e_.threads;
  SearchState& s = e_.search;
  s.HelperNodes = nullptr;
  s.Overtaking = nullptr;
  s.Overtaken = false;
  t.Shared.Stop.store(true);
  for (std::thread& thread : t.Running) thread.join();
  for (std::size_t i = 0; i < t.Running.size(); ++i) {
    const SearchState& h = t.Workers[i]->search;
    s.NodeCount += h.NodeCount;
    s.QNodeCount += h.QNodeCount;
  }
  t.Running.clear();
  // The table may be resized before the next think: only the engine keeps it.
  for (const auto& worker : t.Workers) worker->search.Hash.Slots.reset();
}

}  // namespace zandrell
