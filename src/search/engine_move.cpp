#include "search/engine_move.h"

namespace zandrell {

void EngineMove(Engine&) {}

}  // namespace zandrell
