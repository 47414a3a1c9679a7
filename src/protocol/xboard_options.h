#pragma once
// Settings an xboard interface shows in its engine dialog (protocol 2 options),
// offered with the hash table's search: the playing level.
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// The "feature option=..." lines, each sent before "feature done=1".
void SendXboardOptionFeatures(Engine& e);
// "option NAME=VALUE" (the text after "option "); an unknown name or a value
// out of range is answered with an "Error" line and changes nothing.
void SetXboardOption(Engine& e, std::string_view args);

}  // namespace zandrell
