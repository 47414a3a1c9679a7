#include "protocol/thinking_input.h"

#include "base/wire.h"
#include "platform/platform.h"
#include "protocol/startup.h"

namespace zandrell {

void AppendCapped(std::string& line, std::string_view text) {
  if (line.size() > kLongestLine) return;
  line.append(text.substr(0, kLongestLine + 1 - line.size()));
}

ThinkingInput::~ThinkingInput() { e_.shell.HeldInput += partial_; }

void ThinkingInput::Take(const std::function<LineUse(std::string_view)>& watch) {
  if (!e_.shell.WatchInput) return;
  // In pieces, so that no more than a piece and the cut lines are held at once;
  // a flood is read on at the next look rather than holding the think up.
  constexpr std::size_t kPiece = 16 * 1024;
  constexpr int kPiecesPerLook = 64;
  std::string fresh;
  for (int piece = 0; piece < kPiecesPerLook; ++piece) {
    fresh.clear();
    if (!TakeWaitingInput(fresh, kPiece)) return;
    TakeLines(fresh, watch);
  }
}

void ThinkingInput::TakeLines(std::string_view fresh,
                              const std::function<LineUse(std::string_view)>& watch) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = fresh.find('\n', start);
    if (end == std::string::npos) break;
    AppendCapped(partial_, fresh.substr(start, end - start));
    partial_ += '\n';
    start = end + 1;
    // The first line completes whatever the interpreter kept of an unfinished one.
    const bool completesPending = firstLine_ && !e_.shell.PendingInput.empty();
    std::string line = completesPending ? e_.shell.PendingInput + partial_ : partial_;
    firstLine_ = false;
    line.pop_back();
    const bool tooLong = line.size() > kLongestLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A line cut short is no command: it waits to be refused.
    const LineUse use = tooLong ? LineUse::kKeep : watch(line);
    if (keeping_ || use == LineUse::kKeep || completesPending) {
      keeping_ = true;
      e_.shell.HeldInput += partial_;
    }
    partial_.clear();
  }
  AppendCapped(partial_, fresh.substr(start));
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
    TakeWaitingInput(chunk, kLongestLine);
  }
  if (outcome == ReadOutcome::kData) return true;
  // The interface closed the pipe or asked us to end: leave as "quit" does.
  if (outcome == ReadOutcome::kEndOfInput || platform::TerminationRequested()) Shutdown(e);
  return false;
}

}  // namespace zandrell
