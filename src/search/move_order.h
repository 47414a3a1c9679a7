#pragma once
// The order a node searches its moves in: a quicksort on keys that carry the
// ordering score above the move's list index (score * 256 + index), so that a
// swap moves one word. Equal scores come out in the order its pivot choice and
// partition steps give, which the node counts depend on.
#include <cstdint>
#include <utility>

#include "board/types.h"

namespace zandrell {

// Index of the middle of low..high, a half going to the even neighbour.
inline int Middle(int low, int high) {
  const int sum = low + high;  // both indexes are non-negative
  const int half = sum / 2;
  if (sum % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;
}

// One partition step, highest score first; afterwards low..j and i..high are left
// to sort and anything between them is in place.
inline void Partition(std::int64_t* keys, int low, int high, int& i, int& j) {
  i = low;
  j = high;
  // Scores compared on the whole keys: score > pivot when the key is above every
  // key of the pivot's score, score < pivot when it is below all of them.
  const std::int64_t pivot = keys[Middle(low, high)] >> 8;
  const std::int64_t above = pivot * 256 + 255;
  const std::int64_t below = pivot * 256;
  do {
    while (keys[i] > above) ++i;
    while (keys[j] < below) --j;
    if (i <= j) {
      std::swap(keys[i], keys[j]);
      ++i;
      --j;
    }
  } while (i <= j);
}

// The partitions touch disjoint ranges, so making them only when the search
// reaches a range, best moves first, gives the same order as sorting the whole
// list; a cut-off leaves the rest unsorted.
struct MoveOrder {
  std::int64_t Keys[kMaxMoves];
  std::uint8_t PendingLow[kMaxMoves / 2];   // unsorted ranges of two or more keys,
  std::uint8_t PendingHigh[kMaxMoves / 2];  // the lowest range on top
  int Pending;

  void Push(int low, int high) {
    PendingLow[Pending] = static_cast<std::uint8_t>(low);
    PendingHigh[Pending] = static_cast<std::uint8_t>(high);
    ++Pending;
  }

  // Keys[0..count) hold the keys of a fresh list.
  void Start(int count) {
    Pending = 0;
    if (count > 1) Push(0, count - 1);
  }

  // List index of the move at place p; places are asked for in increasing order.
  int At(int p) {
    while (Pending > 0 && PendingLow[Pending - 1] == p) {
      --Pending;
      const int high = PendingHigh[Pending];
      int i;
      int j;
      Partition(Keys, p, high, i, j);
      if (i < high) Push(i, high);
      if (p < j) Push(p, j);
    }
    return static_cast<int>(Keys[p] & 0xFF);
  }
};

}  // namespace zandrell
