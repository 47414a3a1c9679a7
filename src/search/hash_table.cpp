#include "search/hash_table.h"

#include <algorithm>
#include <new>

namespace zandrell {

namespace {

// Depth an entry loses for each think since it was stored, when it competes for
// its slot.
constexpr int kAgePenalty = 4;

// The ordering the search learns along with the table starts afresh with it.
void ForgetOrdering(SearchState& s) {
  std::fill(&s.QuietHistory[0][0][0], &s.QuietHistory[0][0][0] + 2 * kSquareCount * kSquareCount,
            std::int16_t{0});
  std::fill(&s.CounterMove[0][0], &s.CounterMove[0][0] + kEmpty * kSquareCount, kNoMove);
}

int Worth(const HashEntry& entry, std::uint8_t generation) {
  const int age = static_cast<std::uint8_t>(generation - entry.Generation);
  return entry.Depth - kAgePenalty * age;
}

}  // namespace

void ResizeHashTable(Engine& e, int megabytes) {
  HashTableState& t = e.search.Hash;
  megabytes = std::clamp(megabytes, 0, kMaxHashMb);
  t.Entries.clear();
  t.Entries.shrink_to_fit();
  t.BucketMask = 0;
  t.SizeMb = 0;
  if (megabytes == 0) return;
  const std::uint64_t bytes = static_cast<std::uint64_t>(megabytes) << 20;
  std::uint64_t buckets = 1;
  while (buckets * 2 * kHashBucket * sizeof(HashEntry) <= bytes) buckets *= 2;
  // Short of memory: half the size, down to a table of a few kilobytes.
  for (; buckets >= 256; buckets /= 2) {
    try {
      t.Entries.assign(buckets * kHashBucket, HashEntry{});
      break;
    } catch (const std::bad_alloc&) {
      t.Entries.clear();
    }
  }
  if (t.Entries.empty()) return;
  t.BucketMask = buckets - 1;
  t.SizeMb = megabytes;
  ForgetOrdering(e.search);
}

void ClearHashTable(Engine& e) {
  HashTableState& t = e.search.Hash;
  std::fill(t.Entries.begin(), t.Entries.end(), HashEntry{});
  t.Generation = 0;
  ForgetOrdering(e.search);
}

std::int32_t ScoreToHash(std::int32_t score, int ply) {
  if (score > kMateBound) return score + ply;
  if (score < -kMateBound) return score - ply;
  return score;
}

std::int32_t ScoreFromHash(std::int32_t stored, int ply) {
  if (stored > kMateBound) return stored - ply;
  if (stored < -kMateBound) return stored + ply;
  return stored;
}

const HashEntry* ProbeHash(const HashTableState& t, std::uint64_t key) {
  if (t.Entries.empty()) return nullptr;
  const HashEntry* bucket = &t.Entries[(key & t.BucketMask) * kHashBucket];
  const auto check = static_cast<std::uint32_t>(key >> 32);
  for (int i = 0; i < kHashBucket; ++i) {
    if (bucket[i].Bound != 0 && bucket[i].Check == check) return &bucket[i];
  }
  return nullptr;
}

void StoreHash(HashTableState& t, std::uint64_t key, const Move& best, int depth,
               std::int32_t score, std::uint8_t bound, int ply) {
  if (t.Entries.empty()) return;
  HashEntry* bucket = &t.Entries[(key & t.BucketMask) * kHashBucket];
  const auto check = static_cast<std::uint32_t>(key >> 32);
  HashEntry* slot = nullptr;
  for (int i = 0; i < kHashBucket && slot == nullptr; ++i) {
    if (bucket[i].Bound != 0 && bucket[i].Check == check) slot = &bucket[i];
  }
  if (slot == nullptr) {
    slot = &bucket[0];
    for (int i = 1; i < kHashBucket; ++i) {
      if (slot->Bound != 0 &&
          (bucket[i].Bound == 0 || Worth(bucket[i], t.Generation) < Worth(*slot, t.Generation))) {
        slot = &bucket[i];
      }
    }
  }
  // A search without a best move keeps the move an earlier one found here.
  Move move = best;
  if (move.From == 0 && slot->Check == check && slot->Bound != 0) {
    move.From = slot->From;
    move.To = slot->To;
    move.Promotion = slot->Promotion;
  }
  slot->Check = check;
  slot->Score = ScoreToHash(score, ply);
  slot->From = move.From;
  slot->To = move.To;
  slot->Promotion = move.Promotion;
  slot->Depth = static_cast<std::int8_t>(std::clamp(depth, -1, 127));
  slot->Bound = bound;
  slot->Generation = t.Generation;
}

}  // namespace zandrell
