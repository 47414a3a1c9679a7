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

// Resizing and clearing are for the thread that drives the thinks, between
// them: no other thread uses the table then.
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

// Beyond any score but a mate's: |score| above this is a mate that many plies away
// from kMateScore.
constexpr std::int32_t kMateBound = kMateScore - 1000;

// A stored mate score holds only if the mate comes before the fifty-move rule
// could end the game; otherwise the entry is good for its move alone.
inline bool HashScoreTrusted(const HashEntry& entry, int fiftyCount) {
  const std::int32_t distance = kMateScore - (entry.Score < 0 ? -entry.Score : entry.Score);
  return distance >= 1000 || fiftyCount + distance < 100;
}

// Whether the table holds key; its entry then goes to found.
bool ProbeHash(const HashTableState& t, std::uint64_t key, HashEntry& found);
// Remembers a searched position. A position keeps its entry; a new one takes the
// bucket's entry worth least, the searches of earlier thinks counting as
// shallower the older they are. A store without a move keeps the one the entry
// had for the same position.
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
