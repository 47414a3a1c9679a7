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

// Called like AlphaBeta for a position made from the root (Ply 2 or deeper).
std::int32_t StrongAlphaBeta(Engine& e, std::int32_t alpha, std::int32_t beta, int depth);

}  // namespace zandrell
