#pragma once
// What the plain and the stronger root share: the root moves' positions in the
// game, the moves an iteration may search, and the further lines of MultiPV.
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "search/search_interface.h"

namespace zandrell {

constexpr std::int32_t kMateInOne = kMateScore - 2;

// Position text after the root move m (made on the board), computed once per think.
const std::string& RootText(Engine& e, const Move& m);
// How often the game has seen the position of key.
int SeenCount(const Engine& e, const std::string& key);
void ResetKillerScores(SearchState& s);
// Whether the current iteration searches the root move m at all.
bool RootMoveWanted(const SearchState& s, const Move& m);
// The iteration just finished found the best line; the next best lines of the
// same depth each leave out the root moves of the lines before them. The best
// line, its score and what the root saw of the game stay those of the best line.
void SearchMoreLines(Engine& e, int lines, SearchReporter& reporter, const std::uint8_t* saved);

}  // namespace zandrell
