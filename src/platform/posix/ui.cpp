#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/message_line.h"
#include "platform/platform.h"
#include "platform/string_table.h"

namespace zandrell::platform {

void ShowMessage(const std::string& text, BoxIcon icon) {
  // No window system for the engine here: one line per box on standard error, at once.
  const std::string line = MessageBoxLine(text, icon);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

bool UserLanguageIsItalian() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return value[0] == 'i' && value[1] == 't' &&
             (value[2] == '\0' || value[2] == '_' || value[2] == '.' || value[2] == '@');
    }
  }
  return false;
}

std::string LoadString(int id) { return StringTableEntry(id, UserLanguageIsItalian()); }

}  // namespace zandrell::platform
