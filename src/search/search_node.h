#pragma once
// The pieces of a full-width node that the plain search and the hash table's
// search share: making a move with its evaluation terms and the time check.
#include <cstdint>

#include "board/attacks.h"
#include "board/make_move.h"
#include "engine/engine.h"
#include "search/material_score.h"

namespace zandrell {

// Makes m and moves the piece terms along; false when m leaves its own king in
// check (the board is then made all the same, and the terms left as they were).
inline bool MakeSearchMove(BoardState& b, SearchState& s, Move& m) {
  const PieceTerms before = MoveSquaresTerms(b, s, m);
  MakeMove(b, m);
  ++b.Ply;
  if (!IsLegal(b, m)) return false;
  ApplyTermsChange(s.Terms, before, MoveSquaresTerms(b, s, m));
  return true;
}

// True when the search must stop now: out of time, or asked to end.
bool NodeOutOfTime(Engine& e);

}  // namespace zandrell
