#include "protocol/thinking_input.h"

#include "base/wire.h"
#include "platform/platform.h"
#include "protocol/startup.h"

namespace zandrell {

ThinkingInput::~ThinkingInput() { e_.shell.HeldInput += partial_; }

void ThinkingInput::Take(const std::function<LineUse(std::string_view)>& watch) {
  std::string fresh;
  if (!e_.shell.WatchInput || !TakeWaitingInput(fresh)) return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = fresh.find('\n', start);
    if (end == std::string::npos) break;
    partial_.append(fresh, start, end + 1 - start);
    start = end + 1;
    // The first line completes whatever the interpreter kept of an unfinished one.
    const bool completesPending = firstLine_ && !e_.shell.PendingInput.empty();
    std::string line = completesPending ? e_.shell.PendingInput + partial_ : partial_;
    firstLine_ = false;
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const LineUse use = watch(line);
    if (keeping_ || use == LineUse::kKeep || completesPending) {
      keeping_ = true;
      e_.shell.HeldInput += partial_;
    }
    partial_.clear();
  }
  partial_.append(fresh, start, std::string::npos);
}

bool ThinkingInput::Ended() const { return e_.shell.WatchInput && platform::StandardInputClosed(); }

bool NextChunk(Engine& e, std::string& chunk) {
  if (platform::TerminationRequested()) {
    Shutdown(e);
    return false;
  }
  ReadOutcome outcome = ReadOutcome::kData;
  if (e.shell.HeldInput.empty()) {
    outcome = ReadInput(chunk);
  } else {
    chunk = std::move(e.shell.HeldInput);
    e.shell.HeldInput.clear();
    TakeWaitingInput(chunk);
  }
  if (outcome == ReadOutcome::kData) return true;
  // The interface closed the pipe or asked us to end: leave as "quit" does.
  if (outcome == ReadOutcome::kEndOfInput || platform::TerminationRequested()) Shutdown(e);
  return false;
}

}  // namespace zandrell
