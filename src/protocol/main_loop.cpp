#include "protocol/main_loop.h"

#include <string>

#include "base/wire.h"
#include "platform/platform.h"
#include "protocol/startup.h"
#include "search/engine_move.h"

namespace zandrell {

void MainLoop(Engine& e) {
  std::string chunk;
  e.search.WatchInput = true;  // the search may learn that the interface has gone
  while (!e.shell.Terminated) {
    EngineMove(e);
    if (platform::TerminationRequested()) {
      Shutdown(e);
      return;
    }
    ReadOutcome outcome = ReadInput(chunk);
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
