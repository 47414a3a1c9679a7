#include "protocol/uci_loop.h"

#include <vector>

#include "base/wire.h"
#include "protocol/handshake.h"
#include "protocol/startup.h"
#include "protocol/thinking_input.h"
#include "protocol/uci_go.h"
#include "protocol/uci_options.h"
#include "protocol/uci_position.h"
#include "protocol/uci_text.h"

namespace zandrell {

namespace {

// The complete lines of a chunk, completing the unfinished one kept from before
// and keeping the new unfinished tail; a line too long stays cut short, to be
// refused in its turn.
void SplitLines(Engine& e, std::string_view chunk, std::deque<std::string>& lines) {
  std::string& pending = e.shell.PendingInput;
  std::size_t start = 0;
  for (std::size_t end; (end = chunk.find('\n', start)) != std::string_view::npos;
       start = end + 1) {
    std::string line = std::move(pending);
    pending.clear();
    AppendCapped(line, chunk.substr(start, end - start));
    lines.push_back(std::move(line));
  }
  AppendCapped(pending, chunk.substr(start));
}

// A line too long to take whole. A "position" so refused leaves no position to
// search: "go" must not think on the one before it.
void RefuseLongLine(Engine& e, std::string_view line) {
  const std::vector<std::string_view> words = UciWords(line.substr(0, 64));
  const bool position = !words.empty() && words[0] == "position";
  if (position) e.uci.PositionRefused = true;
  SendBareLine(e, "info string line longer than " + std::to_string(kLongestLine) +
                      " bytes ignored" +
                      (position ? "; no position to search until the next \"position\"" : ""));
}

void Identify(Engine& e) {
  SendBareLine(e, "id name Zandrell " + EngineVersion());
  SendBareLine(e, "id author The Zandrell developers");
  SendUciOptions(e);
  SendBareLine(e, "uciok");
}

// The text after the command word.
std::string_view Rest(std::string_view line, std::string_view word) {
  return TrimBlanks(line.substr(static_cast<std::size_t>(word.data() - line.data()) + word.size()));
}

}  // namespace

void HandleUciLine(Engine& e, std::string_view line, std::deque<std::string>& queued) {
  if (line.size() > kLongestLine) {
    RefuseLongLine(e, line);
    return;
  }
  const std::vector<std::string_view> words = UciWords(line);
  if (words.empty()) return;
  const std::string_view command = words[0];
  if (command == "uci") {
    Identify(e);
  } else if (command == "isready") {
    SendBareLine(e, "readyok");
  } else if (command == "setoption") {
    SetUciOption(e, Rest(line, command));
  } else if (command == "ucinewgame") {
    StartUciGame(e);
  } else if (command == "position") {
    SetUciPosition(e, Rest(line, command));
  } else if (command == "go") {
    UciGo(e, Rest(line, command), queued);
  } else if (command == "stop" || command == "ponderhit" || command == "debug" ||
             command == "register") {
    // Nothing is being thought about; debug output and registration do not exist.
  } else if (command == "quit") {
    Shutdown(e);
  } else {
    SendBareLine(e, "info string unknown command: " + std::string(TrimBlanks(line)));
  }
}

void UciLoop(Engine& e) {
  e.shell.WatchInput = true;
  // The table the settings file asked for is the option's default.
  e.uci.HashMegabytes = e.search.Hash.SizeMb;
  std::deque<std::string> lines;
  std::string chunk;
  while (!e.shell.Terminated) {
    if (!lines.empty()) {
      std::string line = std::move(lines.front());
      lines.pop_front();
      HandleUciLine(e, line, lines);
      continue;
    }
    if (!NextChunk(e, chunk)) continue;
    SplitLines(e, chunk, lines);
  }
}

}  // namespace zandrell
