#pragma once
// The hash table: positions already searched, by key, with their best move, depth,
// score and bound. Switched on by the setting "Hash" (megabytes); at 0 no table
// exists and the search runs exactly as without one.
#include <cstdint>

#include "engine/engine.h"

namespace zandrell {

constexpr int kHashBucket = 2;  // entries per bucket: the deeper one and the latest one
constexpr int kMaxHashMb = 4096;

enum : std::uint8_t {
  kHashExact = 1,  // the score is the position's value
  kHashLower = 2,  // the value is at least the score (a cut-off)
  kHashUpper = 3,  // the value is at most the score (no move reached alpha)
};

inline bool HashEnabled(const SearchState& s) { return s.Hash.SizeMb > 0; }

// Gives the table the largest power-of-two number of buckets that fits in
// megabytes (clamped to 0..kMaxHashMb; less when memory is short), all empty.
// 0 frees it. The protocol's "Hash" option and the setting call this.
void ResizeHashTable(Engine& e, int megabytes);
// Forgets every position (the protocol's "Clear Hash", a new game).
void ClearHashTable(Engine& e);

// Mate scores count plies from the root; the table keeps them counted from the
// position itself, so that they stay right wherever it is met again.
std::int32_t ScoreToHash(std::int32_t score, int ply);
std::int32_t ScoreFromHash(std::int32_t stored, int ply);

// The entry of key, or nullptr.
const HashEntry* ProbeHash(const HashTableState& t, std::uint64_t key);
// Remembers a searched position. The bucket's first entry keeps the deepest
// search of the current think; anything else goes to the second.
void StoreHash(HashTableState& t, std::uint64_t key, const Move& best, int depth,
               std::int32_t score, std::uint8_t bound, int ply);

inline Move HashMove(const HashEntry* entry) {
  Move m{};
  if (entry != nullptr) {
    m.From = entry->From;
    m.To = entry->To;
    m.Promotion = entry->Promotion;
  }
  return m;
}

}  // namespace zandrell
