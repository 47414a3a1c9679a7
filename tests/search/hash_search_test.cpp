// The hash table and the search it enables ("Hash" above 0): game ends, mates at
// any distance, repetitions and the fifty-move rule come out right, and the table
// keeps its bounds and mate scores.
#include <algorithm>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "board/board_test_support.h"
#include "board/perft.h"
#include "search/hash_table.h"
#include "search/strong_search.h"
#include "search_test_support.h"

namespace zandrell::test {
namespace {

class HashSearch : public SearchTest {
 protected:
  void SetUp() override {
    SearchTest::SetUp();
    ResizeHashTable(E(), 1);
  }
  // A position of its own, not a continuation of the moves played before.
  void NewPosition(const char* fen) {
    T.Feed(std::string("new\nforce\nsetboard ") + fen + "\n");
    T.TakeOutput();
    E().game.ForceMode = false;
  }
};

TEST_F(HashSearch, GameEndsAreAnnouncedWithTheirResult) {
  struct Case {
    const char* Fen;
    int Depth;
    std::vector<std::string> Lines;
    int Result;
  };
  const std::vector<Case> cases = {
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 5, {"move a1a8", "1-0 {White Mates}"}, 1},
      {"r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1", 6, {"move a8a1", "0-1 {Black Mates}"}, 2},
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 4, {"1-0 {White Mates}"}, 1},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 5, {"1/2-1/2 {Draw}"}, 3},
      {"7k/5Q2/6K1/8/8/8/8/8 b - - 100 1", 5, {"1/2-1/2 {50 Move Rule}"}, 3},
  };
  for (const Case& c : cases) {
    Fen(c.Fen);
    E().game.GameResult = 0;
    EXPECT_EQ(Lines(PlayAtDepth(c.Depth)), c.Lines) << c.Fen << " depth " << c.Depth;
    EXPECT_EQ(E().game.GameResult, c.Result) << c.Fen;
  }
}

// Kb6 Kb8 Rh8: mated at ply 4, so 99996 at the root, with a cold table and with
// one full of the entries of the same search.
TEST_F(HashSearch, AMateInTwoScoresTheSameFromAFullTable) {
  for (int round = 0; round < 2; ++round) {
    NewPosition("k7/8/2K5/8/8/8/8/7R w - - 0 1");
    const std::string out = PlayAtDepth(6);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(E().search.RootScore, kMateScore - 4) << "round " << round << out;
  }
  // The plain search agrees.
  ResizeHashTable(E(), 0);
  NewPosition("k7/8/2K5/8/8/8/8/7R w - - 0 1");
  const std::string out = PlayAtDepth(4);
  EXPECT_EQ(E().search.RootScore, kMateScore - 4) << out;
}

// Back to the position the game started from: once more is no draw yet; the
// third time is, and the engine plays it when a draw is worth the most.
TEST_F(HashSearch, AMoveThatRepeatsAPositionOfTheGameAThirdTimeScoresAsADraw) {
  E().tables.Contempt = 5000;
  T.Feed("new\nforce\ng1f3\ng8f6\nf3g1\n");
  E().game.ForceMode = false;
  PlayAtDepth(4);
  EXPECT_LT(E().search.RootScore, 5000);
  T.Feed("new\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\n");
  E().game.ForceMode = false;
  const std::vector<std::string> lines = Lines(PlayAtDepth(4));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "move f6g8");
  EXPECT_EQ(E().search.RootScore, 5000);
}

// Every thinking line is a sequence of legal moves from the position, and the move
// played is its first.
TEST_F(HashSearch, ThinkingLinesArePlayableLines) {
  for (const char* fen : {"r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"}) {
    NewPosition(fen);
    T.Feed("post\n");
    const std::vector<std::string> lines = Lines(PlayAtDepth(7));
    ASSERT_GE(lines.size(), 2u) << fen;
    for (const std::string& line : lines) {
      if (line.rfind("move ", 0) == 0) continue;
      std::istringstream fields(line);
      long long depth = 0, score = 0, time = 0, nodes = 0;
      ASSERT_TRUE(fields >> depth >> score >> time >> nodes) << line;
      BoardState b = test::FenBoard(fen);
      std::string move;
      int count = 0;
      while (fields >> move) {
        EXPECT_TRUE(CommitMoveText(b, move)) << line << ": " << move;
        ++count;
      }
      EXPECT_GE(count, 1) << line;
    }
    // The last line, the deepest iteration's, begins with the move played.
    std::istringstream last(lines[lines.size() - 2]);
    std::string field;
    for (int i = 0; i < 5; ++i) last >> field;
    EXPECT_EQ(lines.back(), "move " + field) << fen;
  }
}

// A position met again once on the line after the root, or twice before in the
// game up to the root, as far back as the fifty-move counter allows and only
// with the same side to move.
TEST(HashTable, RepetitionsAreFoundOnTheLineOnceAndInTheGameTwice) {
  auto s = std::make_unique<SearchState>();
  const std::uint64_t game[] = {101, 102, 103, 104, 101, 102, 103, 104, 105};  // 105 the root
  std::copy(std::begin(game), std::end(game), s->Keys);
  s->RootKeyIndex = 8;
  for (int ply = 2; ply < 8; ++ply) s->Keys[s->RootKeyIndex + ply - 1] = 200 + ply;
  BoardState b{};
  struct Case {
    int Ply;
    std::uint64_t Key;
    int Fifty;
    bool Repeats;
  };
  const Case cases[] = {
      {6, 202, 4, true},    // on the line, once
      {6, 202, 3, false},   // beyond the last irreversible move
      {6, 203, 9, false},   // the other side to move
      {5, 105, 4, false},   // the root: in the game once
      {3, 101, 10, true},   // twice in the game
      {3, 101, 9, false},   // the first time out of reach
      {2, 104, 99, false},  // in the game once with this side to move
      {2, 102, 8, true},   {4, 999, 99, false},
  };
  for (const Case& c : cases) {
    b.Ply = c.Ply;
    b.Key = c.Key;
    b.FiftyCount = c.Fifty;
    EXPECT_EQ(RepeatsEarlierPosition(*s, b), c.Repeats)
        << "ply " << c.Ply << " key " << c.Key << " fifty " << c.Fifty;
  }
}

TEST(HashTable, MateScoresAreKeptFromThePositionAndReadAtAnyPly) {
  // Mate found 3 plies below a position at ply 5: 99992 from the root.
  const std::int32_t stored = ScoreToHash(kMateScore - 8, 5);
  EXPECT_EQ(stored, kMateScore - 3);
  EXPECT_EQ(ScoreFromHash(stored, 5), kMateScore - 8);
  EXPECT_EQ(ScoreFromHash(stored, 2), kMateScore - 5);
  EXPECT_EQ(ScoreFromHash(ScoreToHash(8 - kMateScore, 6), 3), 5 - kMateScore);
  // Ordinary scores pass unchanged.
  EXPECT_EQ(ScoreToHash(-35000, 9), -35000);
  EXPECT_EQ(ScoreFromHash(1234, 40), 1234);
}

// A mate the fifty-move rule would come first to is no score to cut off with.
TEST(HashTable, MateScoresBeyondTheFiftyMoveRuleAreNotTrusted) {
  HashEntry entry{};
  entry.Score = kMateScore - 9;  // mate nine plies from the position
  EXPECT_TRUE(HashScoreTrusted(entry, 90));
  EXPECT_FALSE(HashScoreTrusted(entry, 91));
  entry.Score = 9 - kMateScore;
  EXPECT_FALSE(HashScoreTrusted(entry, 95));
  entry.Score = 250;
  EXPECT_TRUE(HashScoreTrusted(entry, 99));
}

TEST(HashTable, EntriesKeepTheirBoundMoveAndTheDeeperSearch) {
  testing::TestEngine t;
  t.Init();
  Engine& e = *t;
  ASSERT_EQ(e.search.Hash.SizeMb, 0);
  EXPECT_EQ(e.search.Hash.SlotCount, 0U);  // no table by default
  ResizeHashTable(e, 1);
  HashTableState& table = e.search.Hash;
  EXPECT_EQ(table.SlotCount * sizeof(HashSlot), std::uint64_t{1} << 20);

  Move move{};
  move.From = kE2;
  move.To = kE4;
  const std::uint64_t key = 0x1234567890ABCDEFULL;
  StoreHash(table, key, move, 5, 40, kHashLower, 3);
  HashEntry entry{};
  ASSERT_TRUE(ProbeHash(table, key, entry));
  EXPECT_EQ(entry.Bound, kHashLower);
  EXPECT_EQ(entry.Depth, 5);
  EXPECT_EQ(entry.Score, 40);
  EXPECT_TRUE(SameMove(HashMove(&entry), move));
  EXPECT_FALSE(ProbeHash(table, key ^ (std::uint64_t{1} << 40), entry));

  // Another position of the bucket, searched less deep, goes beside it; an upper
  // bound without a move keeps the move found before.
  const std::uint64_t other = key ^ (std::uint64_t{7} << 50);
  StoreHash(table, other, kNoMove, 2, -10, kHashUpper, 3);
  EXPECT_TRUE(ProbeHash(table, key, entry));
  ASSERT_TRUE(ProbeHash(table, other, entry));
  StoreHash(table, key, kNoMove, 6, 30, kHashUpper, 3);
  ASSERT_TRUE(ProbeHash(table, key, entry));
  EXPECT_EQ(entry.Bound, kHashUpper);
  EXPECT_EQ(entry.Depth, 6);
  EXPECT_TRUE(SameMove(HashMove(&entry), move));

  // Three thinks later the deeper entry is worth less than a fresh shallow one,
  // and a third position of the bucket takes its place; within one think the
  // shallower entry gives way.
  table.Generation = static_cast<std::uint8_t>(table.Generation + 3);
  StoreHash(table, other, kNoMove, 2, -10, kHashUpper, 3);
  const std::uint64_t third = key ^ (std::uint64_t{9} << 50);
  StoreHash(table, third, move, 3, 0, kHashLower, 3);
  EXPECT_FALSE(ProbeHash(table, key, entry));
  EXPECT_TRUE(ProbeHash(table, other, entry));
  EXPECT_TRUE(ProbeHash(table, third, entry));
  const std::uint64_t fourth = key ^ (std::uint64_t{11} << 50);
  StoreHash(table, fourth, move, 5, 0, kHashLower, 3);
  EXPECT_FALSE(ProbeHash(table, other, entry));
  EXPECT_TRUE(ProbeHash(table, third, entry));
  EXPECT_TRUE(ProbeHash(table, fourth, entry));

  ClearHashTable(e);
  EXPECT_FALSE(ProbeHash(table, key, entry));
  ResizeHashTable(e, 0);
  EXPECT_EQ(table.SlotCount, 0U);
  EXPECT_FALSE(HashEnabled(e.search));
  ResizeHashTable(e, -5);  // bad values mean no table
  EXPECT_FALSE(HashEnabled(e.search));
}

}  // namespace
}  // namespace zandrell::test
