#pragma once
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// Appends one CR LF line to the log when logging is on or the entry is forced.
// A log that cannot be written is skipped; the engine goes on.
void WriteLog(const Engine& e, std::string_view text, bool withTimeStamp, bool force);

}  // namespace zandrell
