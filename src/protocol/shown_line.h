#pragma once
// The lines an interface is shown: the search's line cut to the moves the game
// could play from the position searched.
#include <cstdint>
#include <vector>

#include "engine/engine.h"
#include "search/search_interface.h"

namespace zandrell {

// The position a think starts from and the game's positions before it; taken
// before the think, whose board holds leftovers of its search meanwhile.
struct LineRoot {
  BoardState Board;
  std::vector<std::uint64_t> EarlierKeys;
};

LineRoot LineRootOf(const Engine& e);
// r with its line cut before its first move that is not legal, and after a move
// that ends the game by rule.
SearchReport PlayableReport(const LineRoot& root, SearchReport r);

}  // namespace zandrell
