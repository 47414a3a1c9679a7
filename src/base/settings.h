#pragma once
#include <string>

#include "engine/engine.h"

namespace zandrell {

// Section "Engine" of Zandrell.ini beside the executable.
std::string ReadSetting(const Engine& e, const std::string& key, const std::string& defaultValue);
bool WriteSetting(const Engine& e, const std::string& key, const std::string& value);

}  // namespace zandrell
