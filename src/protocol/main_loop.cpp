#include "protocol/main_loop.h"

#include <string>

#include "platform/platform.h"
#include "protocol/analysis.h"
#include "protocol/engine_move.h"
#include "protocol/thinking_input.h"
#include "protocol/xboard_ponder.h"

namespace zandrell {

void MainLoop(Engine& e) {
  std::string chunk;
  e.shell.WatchInput = true;
  while (!e.shell.Terminated) {
    EngineMove(e);
    PonderReply(e);
    Analyze(e);
    if (!NextChunk(e, chunk)) continue;
    InterpretInput(e, chunk);
    platform::ProcessPendingMessages();
  }
}

}  // namespace zandrell
