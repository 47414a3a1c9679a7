// The lazy ordering of the search gives exactly the order of the plain quicksort
// below, equal scores included: the node counts rest on that order.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "search/move_order.h"

namespace zandrell {
namespace {

// The reference: quicksort of moves and their scores, highest score first, the
// pivot in the middle (a half to the even neighbour).
void SortMoves(Move* list, std::int32_t* scores, int low, int high) {
  if (low >= high) return;
  int i = low;
  int j = high;
  const std::int32_t pivot = scores[Middle(low, high)];
  do {
    while (scores[i] > pivot) ++i;
    while (scores[j] < pivot) --j;
    if (i <= j) {
      std::swap(scores[i], scores[j]);
      std::swap(list[i], list[j]);
      ++i;
      --j;
    }
  } while (i <= j);
  SortMoves(list, scores, i, high);
  SortMoves(list, scores, low, j);
}

// List indexes in the reference order.
std::vector<int> ReferenceOrder(std::vector<std::int32_t> scores) {
  std::vector<Move> moves(scores.size(), kNoMove);
  for (std::size_t i = 0; i < moves.size(); ++i) moves[i].From = static_cast<std::uint8_t>(i);
  SortMoves(moves.data(), scores.data(), 0, static_cast<int>(scores.size()) - 1);
  std::vector<int> order;
  for (const Move& m : moves) order.push_back(m.From);
  return order;
}

// List indexes as the search asks for them, place by place.
std::vector<int> LazyOrder(const std::vector<std::int32_t>& scores) {
  MoveOrder order;
  const int count = static_cast<int>(scores.size());
  for (int i = 0; i < count; ++i) order.Keys[i] = static_cast<std::int64_t>(scores[i]) * 256 + i;
  order.Start(count);
  std::vector<int> indexes;
  for (int p = 0; p < count; ++p) indexes.push_back(order.At(p));
  return indexes;
}

std::string Letters(const std::vector<int>& order) {
  std::string text;
  for (int i : order) text += static_cast<char>('A' + i);
  return text;
}

TEST(MoveOrderTest, EqualScoresComeOutInQuicksortOrder) {
  const std::vector<std::vector<std::int32_t>> lists = {
      {1, 1}, {1, 1, 1}, {1, 1, 2, 2}, {3, 1, 2}, {5, 9, 5, 9, 5}};
  const char* const expected[] = {"BA", "CBA", "CDAB", "ACB", "DBEAC"};
  for (std::size_t i = 0; i < lists.size(); ++i) {
    EXPECT_EQ(Letters(ReferenceOrder(lists[i])), expected[i]);
    EXPECT_EQ(Letters(LazyOrder(lists[i])), expected[i]);
  }
}

TEST(MoveOrderTest, LazyOrderIsTheQuicksortOrderOnRandomLists) {
  std::mt19937 random(20261207);
  // Narrow ranges make many equal scores; the wide one reaches the bonuses and the
  // quiet-move base, negative and positive.
  const std::pair<std::int32_t, std::int32_t> ranges[] = {
      {0, 1}, {-2, 2}, {-10, 10}, {-110000, 110000}};
  int mismatches = 0;
  int lists = 0;
  for (const auto& [low, high] : ranges) {
    std::uniform_int_distribution<std::int32_t> score(low, high);
    for (int round = 0; round < 2000; ++round) {
      const int count = round < 600 ? round % 12 : static_cast<int>(random() % (kMaxMoves + 1));
      std::vector<std::int32_t> scores(count);
      for (std::int32_t& s : scores) s = score(random);
      if (LazyOrder(scores) != ReferenceOrder(scores)) ++mismatches;
      ++lists;
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << lists << " lists";
}

}  // namespace
}  // namespace zandrell
