#pragma once
#include <string>

#include "platform/platform.h"

namespace zandrell::platform {

// A message box as one line for standard error, where nobody can click a box.
std::string MessageBoxLine(const std::string& text, BoxIcon icon);

}  // namespace zandrell::platform
