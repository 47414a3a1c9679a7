#include "base/wire.h"

#include <algorithm>

#include "platform/platform.h"

namespace zandrell {

ReadOutcome ReadInput(std::string& chunk) {
  char buffer[kReadChunkSize];
  int n = platform::ReadStandardInput(buffer, kReadChunkSize);
  if (n > 0) {
    chunk.assign(buffer, static_cast<std::size_t>(n));
    return ReadOutcome::kData;
  }
  chunk.clear();
  return n == 0 ? ReadOutcome::kEndOfInput : ReadOutcome::kInterrupted;
}

bool TakeWaitingInput(std::string& chunk, std::size_t atMost) {
  char buffer[kReadChunkSize];
  std::size_t taken = 0;
  while (taken < atMost) {
    const std::size_t room = std::min<std::size_t>(kReadChunkSize, atMost - taken);
    const int n = platform::TakeWaitingInput(buffer, static_cast<int>(room));
    if (n <= 0) break;
    chunk.append(buffer, static_cast<std::size_t>(n));
    taken += static_cast<std::size_t>(n);
  }
  return taken > 0;
}

namespace {
void Write(Engine& e, std::string_view bytes) {
  if (e.shell.Write) {
    e.shell.Write(bytes);
  } else {
    platform::WriteStandardOutput(bytes.data(), bytes.size());
  }
}
}  // namespace

void SendLine(Engine& e, std::string_view text) {
  std::string framed;
  framed.reserve(text.size() + 2);
  framed += '\n';
  framed += text;
  framed += '\n';
  Write(e, framed);
}

void SendBareLine(Engine& e, std::string_view text) {
  std::string line;
  line.reserve(text.size() + 1);
  line += text;
  line += '\n';
  Write(e, line);
}

}  // namespace zandrell
