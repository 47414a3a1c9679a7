#include "platform/message_line.h"

namespace zandrell::platform {

std::string MessageBoxLine(const std::string& text, BoxIcon icon) {
  std::string line;
  switch (icon) {
    case BoxIcon::kExclamation: line = "Warning: "; break;
    case BoxIcon::kCritical: line = "Error: "; break;
    case BoxIcon::kNone: break;
  }
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
  line += '\n';
  return line;
}

}  // namespace zandrell::platform
