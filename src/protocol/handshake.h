#pragma once
// The version-2 handshake and synchronisation with the interface.
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// "major.minor.patch" of this build.
std::string EngineVersion();
// "protover N": from version 2 on, the features this engine has, ending with done=1.
void AnswerProtover(Engine& e, std::string_view version);
// The side "go" gives the engine: the other side under protocol 1, the side to
// move once the interface has sent "protover 2" or higher.
bool EngineSideAfterGo(const Engine& e);
// "ping N": answered once everything before it is done, the engine's own move
// included when it is on move.
void AnswerPing(Engine& e, std::string_view number);

}  // namespace zandrell
