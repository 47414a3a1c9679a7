#pragma once
// The search below the root while the hash table is on: the plain node plus
// the table, repetitions found by key, the null move, principal-variation search
// and late-move reductions. With the table off none of it runs.
#include <cstdint>

#include "engine/engine.h"
#include "search/hash_table.h"

namespace zandrell {

// Ready for a think: the keys of the game's positions for the repetition test,
// and a new generation of table entries.
void PrepareStrongSearch(Engine& e);

// True when the position (at Ply, its key on the stack of keys) is a draw by
// repetition: it stood once before on the line after the root, or twice in the
// game up to the root, no further back than the fifty-move counter reaches.
bool RepeatsEarlierPosition(const SearchState& s, const BoardState& b);

// Called like AlphaBeta for a position made from the root (Ply 2 or deeper).
std::int32_t StrongAlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

}  // namespace zandrell
