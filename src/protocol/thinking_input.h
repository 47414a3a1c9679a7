#pragma once
// Input that arrives while the engine thinks. Each complete line is shown once to
// the think's watcher, which may answer it at once; every other line waits, in
// its order, in ShellState::HeldInput for the interpreter after the think.
#include <functional>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// The longest line the protocol loops take. A longer one is kept as its first
// kLongestLine + 1 bytes, which marks it as too long, and not acted on; so is an
// unfinished one, at every moment, while the bytes after it are still read.
constexpr std::size_t kLongestLine = 64 * 1024;

// Appends text to an unfinished line, keeping no more than marks it too long.
void AppendCapped(std::string& line, std::string_view text);

// What the watcher made of a line.
enum class LineUse { kKeep, kAnswered };

class ThinkingInput {
 public:
  explicit ThinkingInput(Engine& e) : e_(e) {}
  ~ThinkingInput();
  ThinkingInput(const ThinkingInput&) = delete;
  ThinkingInput& operator=(const ThinkingInput&) = delete;

  // Takes what has arrived and shows each new complete line (without its line
  // end) to watch. Once a line is kept the lines after it are kept too: a watcher
  // answers none of them (KeptAny), so no answer overtakes an earlier command.
  void Take(const std::function<LineUse(std::string_view)>& watch);
  // The interface closed the input: nothing more will come.
  bool Ended() const;
  // Some line was kept for the interpreter.
  bool KeptAny() const { return keeping_; }

 private:
  void TakeLines(std::string_view fresh, const std::function<LineUse(std::string_view)>& watch);

  Engine& e_;
  std::string partial_;  // the line being received, cut as AppendCapped does
  bool firstLine_ = true;
  bool keeping_ = false;
};

// The next chunk for a protocol loop: what arrived during the last think, with
// anything since, or else one blocking read. False when there is none to act on;
// when asked to end, or at the end of input, the engine has then shut down as
// after "quit".
bool NextChunk(Engine& e, std::string& chunk);

}  // namespace zandrell
