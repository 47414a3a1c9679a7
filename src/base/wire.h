#pragma once
// The pipe wire to the chess interface.
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

constexpr int kReadChunkSize = 2048;

// Outcome of one read of standard input.
enum class ReadOutcome { kData, kEndOfInput, kInterrupted };

// One blocking read of at most 2048 bytes into chunk.
ReadOutcome ReadInput(std::string& chunk);
// Appends what has arrived, up to atMost bytes, to chunk without waiting; false
// when nothing had. The rest stays waiting for the next call.
bool TakeWaitingInput(std::string& chunk, std::size_t atMost);
// Sends one protocol line framed as line feed, text, line feed.
void SendLine(Engine& e, std::string_view text);
// Sends one line as the text and a line feed, as UCI interfaces expect.
void SendBareLine(Engine& e, std::string_view text);

}  // namespace zandrell
