// A think on several threads in this process: the move is legal, the
// reports count every thread's nodes, a stop ends every helper, and the
// table shared by the threads never hands out an entry torn by two writes.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/move_text.h"
#include "engine/thread_state.h"
#include "search/hash_table.h"
#include "search/helper_threads.h"
#include "search/root_search.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

constexpr char kMiddlegame[] = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 9";

// Keeps the nodes of every report, and asks the think to end once a report
// of stopDepth has come.
class CountingReporter : public SearchReporter {
 public:
  CountingReporter(SearchState& s, int stopDepth) : s_(s), stopDepth_(stopDepth) {}
  void IterationDone(const SearchReport& r) override {
    EXPECT_GE(r.Nodes, LastNodes);
    LastNodes = r.Nodes;
    OwnAtLast = s_.NodeCount;
    if (r.Depth >= stopDepth_) RequestStop(s_);
  }
  std::int64_t LastNodes = 0;
  std::int64_t OwnAtLast = 0;

 private:
  SearchState& s_;
  int stopDepth_;
};

class HelperThreadsTest : public SearchTest {
 protected:
  Move ThinkOn(int threads, const SearchLimits& limits, CountingReporter& reporter) {
    E().threads.Count = threads;
    E().search.NodeCount = 0;
    E().board.Ply = 0;
    return Think(E(), limits, reporter);
  }
};

TEST_F(HelperThreadsTest, TheMoveIsLegalAndTheReportsCountEveryThread) {
  ResizeHashTable(E(), 4);
  Fen(kMiddlegame);
  SearchLimits limits;
  limits.Depth = 7;
  CountingReporter reporter(E().search, 99);
  const Move best = ThinkOn(3, limits, reporter);
  Move found{};
  EXPECT_TRUE(FindLegalMove(E().board, MoveToText(best), found)) << MoveToText(best);
  // The helpers searched beside the engine's own thread (each at least its
  // first root move, however late the system ran it): the think's total holds
  // more than the engine's own nodes, and no less than any report.
  EXPECT_GT(E().search.NodeCount, reporter.OwnAtLast);
  EXPECT_GE(E().search.NodeCount, reporter.LastNodes);
  EXPECT_TRUE(E().threads.Running.empty());
  EXPECT_EQ(E().search.HelperNodes, nullptr);
}

TEST_F(HelperThreadsTest, AStopEndsEveryHelperWithTheThink) {
  ResizeHashTable(E(), 4);
  Fen(kMiddlegame);
  SearchLimits limits;  // none: until stopped
  CountingReporter reporter(E().search, 5);
  const Move best = ThinkOn(4, limits, reporter);
  EXPECT_NE(best.From, 0);
  EXPECT_TRUE(E().threads.Running.empty());
  EXPECT_GE(E().search.NodeCount, reporter.LastNodes);
}

// Leaves a helper's finished iteration of kPlantedDepth, its line one move,
// at the first report of the engine's own thread.
class PlantingReporter : public SearchReporter {
 public:
  PlantingReporter(Engine& e, const Move& planted) : e_(e), planted_(planted) {}
  void IterationDone(const SearchReport& r) override {
    Depths.push_back(r.Depth);
    FirstMoves.push_back(r.Pv[0]);
    if (Depths.size() > 1) return;
    SharedThink& shared = e_.threads.Shared;
    const std::lock_guard<std::mutex> lock(shared.FinishedLock);
    if (shared.Finished.Depth >= kPlantedDepth) return;
    shared.Finished.Depth = kPlantedDepth;
    shared.Finished.Score = 0;
    shared.Finished.Line[1] = planted_;
    shared.Finished.LineLength = 2;
    shared.DeepestFinished.store(kPlantedDepth);
  }
  static constexpr int kPlantedDepth = 6;
  std::vector<int> Depths;
  std::vector<Move> FirstMoves;

 private:
  Engine& e_;
  Move planted_;
};

// The engine's own thread takes a depth a helper finished before it as its own
// iteration and goes on below it.
TEST_F(HelperThreadsTest, ADepthAHelperFinishedFirstStandsForTheOwnIteration) {
  ResizeHashTable(E(), 4);
  Fen(kMiddlegame);
  Move planted{};
  ASSERT_TRUE(FindLegalMove(E().board, "h2h3", planted));
  SearchLimits limits;
  limits.Depth = 7;
  E().threads.Count = 2;
  E().board.Ply = 0;
  PlantingReporter reporter(E(), planted);
  Think(E(), limits, reporter);
  // On a loaded machine the helper itself may finish a depth before the
  // engine's thread looks (as deep as the planted one, or 7): then that stands
  // instead. The depths between are never searched here.
  ASSERT_GE(reporter.Depths.size(), 1u);
  EXPECT_EQ(reporter.Depths.back(), 7);
  if (reporter.Depths[0] >= PlantingReporter::kPlantedDepth) return;
  ASSERT_GE(reporter.Depths.size(), 2u);
  EXPECT_GE(reporter.Depths[1], PlantingReporter::kPlantedDepth);
  if (reporter.Depths[1] == PlantingReporter::kPlantedDepth) {
    EXPECT_EQ(MoveToText(reporter.FirstMoves[1]), "h2h3");
  }
}

// Without the table the thread count is not read: the plain search's nodes
// stay what they are on one thread.
TEST_F(HelperThreadsTest, ThePlainSearchIgnoresTheThreadCount) {
  Fen(kMiddlegame);
  SearchLimits limits;
  limits.Depth = 4;
  CountingReporter one(E().search, 99);
  ThinkOn(1, limits, one);
  const std::int64_t single = E().search.NodeCount;
  CountingReporter four(E().search, 99);
  ThinkOn(4, limits, four);
  EXPECT_EQ(E().search.NodeCount, single);
  EXPECT_TRUE(E().threads.Workers.empty());
}

// A slot whose lock comes from one write and whose data from another reads
// as empty, whatever the two entries were.
TEST(SharedHashTable, ASlotMixedFromTwoWritesReadsAsEmpty) {
  testing::TestEngine t;
  t.Init();
  ResizeHashTable(*t, 1);
  HashTableState& table = t->search.Hash;
  const std::uint64_t key = 0x1234567890ABCDEFULL;
  Move move{};
  move.From = kE2;
  move.To = kE4;
  StoreHash(table, key, move, 5, -99990, kHashLower, 0);
  HashEntry entry{};
  ASSERT_TRUE(ProbeHash(table, key, entry));
  EXPECT_EQ(entry.Score, -99990);  // negative scores survive the packing
  HashSlot& slot = table.Slots[(key & table.BucketMask) * kHashBucket];
  const std::uint64_t firstLock = slot.Lock.load();
  // The same position again, another depth and score: its lock with the
  // first write's data is a mixture.
  StoreHash(table, key, move, 7, 35, kHashExact, 0);
  ASSERT_TRUE(ProbeHash(table, key, entry));
  EXPECT_EQ(entry.Depth, 7);
  slot.Lock.store(firstLock);
  EXPECT_FALSE(ProbeHash(table, key, entry));
}

}  // namespace
}  // namespace zandrell::test
