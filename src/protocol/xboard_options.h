#pragma once
// Settings an xboard interface shows in its engine dialog (protocol 2 options),
// offered with the hash table's search: the playing level; and the interface's
// thread count and memory for the table (protocol 2 "cores" and "memory").
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// The "feature option=..." lines, each sent before "feature done=1".
void SendXboardOptionFeatures(Engine& e);
// "option NAME=VALUE" (the text after "option "); an unknown name or a value
// out of range is answered with an "Error" line and changes nothing.
void SetXboardOption(Engine& e, std::string_view args);

// "cores N": the threads of a think, from 1 to kMaxThreads (more are taken as
// the most). "memory N": the hash table's size in megabytes, likewise within
// 1..kMaxHashMb. A value that is no positive whole number is answered with an
// "Error" line and changes nothing.
void SetXboardCores(Engine& e, std::string_view count);
void SetXboardMemory(Engine& e, std::string_view megabytes);

}  // namespace zandrell
