#pragma once
// The stronger search's iterations and root (with the hash table on): the
// previous best move and the table's move first, a null window after the first
// move, aspiration windows that widen on failure, and an iteration cut short
// by the clock that changes the move only for one proved better.
#include <cstdint>

#include "engine/engine.h"
#include "search/search_interface.h"

namespace zandrell {

// Deepens until the think's clock or limits end it; the best move, the empty
// move when there is none (SearchState::GameEnd then says why).
Move DeepenStrong(Engine& e, int lines, SearchReporter& reporter, const std::uint8_t* saved);

}  // namespace zandrell
