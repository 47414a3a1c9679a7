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
  std::fill(&s.ContinuationHistory[0][0][0][0],
            &s.ContinuationHistory[0][0][0][0] + kEmpty * 64 * kEmpty * 64, std::int16_t{0});
  std::fill(&s.CorrectionHistory[0][0], &s.CorrectionHistory[0][0] + 2 * (1 << kCorrectionBits),
            std::int16_t{0});
}

// Data's bits: the score (24, two's complement), from, to, promotion (4),
// bound (4), depth and generation (8 each).
constexpr std::uint64_t kScoreMask = (std::uint64_t{1} << 24) - 1;

std::uint64_t Pack(const HashEntry& entry) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(entry.Score)) & kScoreMask) |
         static_cast<std::uint64_t>(entry.From) << 24 | static_cast<std::uint64_t>(entry.To) << 32 |
         static_cast<std::uint64_t>(entry.Promotion & 0xF) << 40 |
         static_cast<std::uint64_t>(entry.Bound & 0xF) << 44 |
         static_cast<std::uint64_t>(static_cast<std::uint8_t>(entry.Depth)) << 48 |
         static_cast<std::uint64_t>(entry.Generation) << 56;
}

// The lock holds the key's check in its upper half and nothing in its lower:
// Data's low half must come back as it went in, the check as the key's.
void WriteSlot(HashSlot& slot, std::uint32_t check, const HashEntry& entry) {
  const std::uint64_t data = entry.Bound == 0 ? 0 : Pack(entry);
  const std::uint64_t lock =
      entry.Bound == 0 ? 0 : (static_cast<std::uint64_t>(check) << 32) ^ data;
  slot.Lock.store(lock, std::memory_order_relaxed);
  slot.Data.store(data, std::memory_order_relaxed);
}

// The slot's entry; an empty one (Bound 0) when unused or caught mid-write.
HashEntry ReadSlot(const HashSlot& slot) {
  const std::uint64_t data = slot.Data.load(std::memory_order_relaxed);
  const std::uint64_t mixed = slot.Lock.load(std::memory_order_relaxed) ^ data;
  HashEntry entry{};
  if (data == 0 || static_cast<std::uint32_t>(mixed) != 0) return entry;
  entry.Check = static_cast<std::uint32_t>(mixed >> 32);
  // Sign-extend the 24-bit score.
  const auto raw = static_cast<std::uint32_t>(data & kScoreMask);
  entry.Score = static_cast<std::int32_t>(raw << 8) >> 8;
  entry.From = static_cast<std::uint8_t>(data >> 24);
  entry.To = static_cast<std::uint8_t>(data >> 32);
  entry.Promotion = static_cast<std::uint8_t>((data >> 40) & 0xF);
  entry.Bound = static_cast<std::uint8_t>((data >> 44) & 0xF);
  entry.Depth = static_cast<std::int8_t>(static_cast<std::uint8_t>(data >> 48));
  entry.Generation = static_cast<std::uint8_t>(data >> 56);
  return entry;
}

int Worth(const HashEntry& entry, std::uint8_t generation) {
  const int age = static_cast<std::uint8_t>(generation - entry.Generation);
  return entry.Depth - kAgePenalty * age;
}

}  // namespace

void ResizeHashTable(Engine& e, int megabytes) {
  HashTableState& t = e.search.Hash;
  megabytes = std::clamp(megabytes, 0, kMaxHashMb);
  t.Slots.reset();
  t.SlotCount = 0;
  t.BucketMask = 0;
  t.SizeMb = 0;
  if (megabytes == 0) return;
  const std::uint64_t bytes = static_cast<std::uint64_t>(megabytes) << 20;
  std::uint64_t buckets = 1;
  while (buckets * 2 * kHashBucket * sizeof(HashSlot) <= bytes) buckets *= 2;
  // Short of memory: half the size, down to a table of a few kilobytes.
  for (; buckets >= 256; buckets /= 2) {
    HashSlot* slots = new (std::nothrow) HashSlot[buckets * kHashBucket];
    if (slots != nullptr) {
      t.Slots.reset(slots);
      break;
    }
  }
  if (!t.Slots) return;
  t.SlotCount = buckets * kHashBucket;
  t.BucketMask = buckets - 1;
  t.SizeMb = megabytes;
  ForgetOrdering(e.search);
}

void ClearHashTable(Engine& e) {
  HashTableState& t = e.search.Hash;
  for (std::uint64_t i = 0; i < t.SlotCount; ++i) WriteSlot(t.Slots[i], 0, HashEntry{});
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

bool ProbeHash(const HashTableState& t, std::uint64_t key, HashEntry& found) {
  if (t.SlotCount == 0) return false;
  const HashSlot* bucket = &t.Slots[(key & t.BucketMask) * kHashBucket];
  const auto check = static_cast<std::uint32_t>(key >> 32);
  for (int i = 0; i < kHashBucket; ++i) {
    const HashEntry entry = ReadSlot(bucket[i]);
    if (entry.Bound != 0 && entry.Check == check) {
      found = entry;
      return true;
    }
  }
  return false;
}

void StoreHash(HashTableState& t, std::uint64_t key, const Move& best, int depth,
               std::int32_t score, std::uint8_t bound, int ply) {
  if (t.SlotCount == 0) return;
  HashSlot* bucket = &t.Slots[(key & t.BucketMask) * kHashBucket];
  const auto check = static_cast<std::uint32_t>(key >> 32);
  HashEntry entries[kHashBucket];
  for (int i = 0; i < kHashBucket; ++i) entries[i] = ReadSlot(bucket[i]);
  int slot = -1;
  for (int i = 0; i < kHashBucket && slot < 0; ++i) {
    if (entries[i].Bound != 0 && entries[i].Check == check) slot = i;
  }
  if (slot < 0) {
    slot = 0;
    for (int i = 1; i < kHashBucket; ++i) {
      if (entries[slot].Bound != 0 &&
          (entries[i].Bound == 0 ||
           Worth(entries[i], t.Generation) < Worth(entries[slot], t.Generation))) {
        slot = i;
      }
    }
  }
  const HashEntry& old = entries[slot];
  // A search without a best move keeps the move an earlier one found here.
  Move move = best;
  if (move.From == 0 && old.Check == check && old.Bound != 0) {
    move.From = old.From;
    move.To = old.To;
    move.Promotion = old.Promotion;
  }
  HashEntry entry{};
  entry.Check = check;
  entry.Score = ScoreToHash(score, ply);
  entry.From = move.From;
  entry.To = move.To;
  entry.Promotion = move.Promotion;
  entry.Depth = static_cast<std::int8_t>(std::clamp(depth, -1, 127));
  entry.Bound = bound;
  entry.Generation = t.Generation;
  WriteSlot(bucket[slot], check, entry);
}

}  // namespace zandrell
