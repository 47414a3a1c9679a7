// A think on several threads in this process: the move is legal, the
// reports count every thread's nodes, a stop ends every helper, and the
// table shared by the threads never hands out an entry torn by two writes.
#include <gtest/gtest.h>

#include <string>

#include "board/fen_setup.h"
#include "board/legal_move.h"
#include "board/move_text.h"
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
