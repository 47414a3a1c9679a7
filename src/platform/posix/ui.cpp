#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/string_table.h"

namespace zandrell::platform {

void ShowMessage(const std::string& text, BoxIcon icon) {
  // No window system for the engine here: one line per box on standard error, at once.
  std::string line;
  switch (icon) {
    case BoxIcon::Exclamation: line = "Warning: "; break;
    case BoxIcon::Critical: line = "Error: "; break;
    case BoxIcon::None: break;
  }
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

bool UserLanguageIsItalian() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return value[0] == 'i' && value[1] == 't' && (value[2] == '\0' || value[2] == '_' ||
                                                    value[2] == '.' || value[2] == '@');
    }
  }
  return false;
}

std::string LoadString(int id) { return StringTableEntry(id, UserLanguageIsItalian()); }

}  // namespace zandrell::platform
