#pragma once
// The options a UCI interface is offered and may set for the session; each
// overrides Zandrell.ini until the engine ends.
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// One "option name ..." line per option, their defaults the engine's current values.
void SendUciOptions(Engine& e);
// "setoption name N [value V]" with the text after "setoption"; an unknown name or
// an unusable value is answered with "info string" and changes nothing.
void SetUciOption(Engine& e, std::string_view args);

}  // namespace zandrell
