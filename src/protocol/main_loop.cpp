#include "protocol/main_loop.h"

#include <string>

#include "base/wire.h"
#include "platform/platform.h"
#include "protocol/analysis.h"
#include "protocol/engine_move.h"
#include "protocol/startup.h"

namespace zandrell {

void MainLoop(Engine& e) {
  std::string chunk;
  e.shell.WatchInput = true;
  while (!e.shell.Terminated) {
    EngineMove(e);
    Analyze(e);
    if (platform::TerminationRequested()) {
      Shutdown(e);
      return;
    }
    ReadOutcome outcome = ReadOutcome::kData;
    if (!e.shell.HeldInput.empty()) {
      // What arrived during the think, with anything since, is one chunk.
      chunk = std::move(e.shell.HeldInput);
      e.shell.HeldInput.clear();
      TakeWaitingInput(chunk);
    } else {
      outcome = ReadInput(chunk);
    }
    // The interface closed the pipe or asked us to end: leave as "quit" does.
    if (outcome != ReadOutcome::kData) {
      if (outcome == ReadOutcome::kEndOfInput || platform::TerminationRequested()) {
        Shutdown(e);
        return;
      }
      continue;
    }
    InterpretInput(e, chunk);
    platform::ProcessPendingMessages();
  }
}

}  // namespace zandrell
