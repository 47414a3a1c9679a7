#include "base/log.h"

#include <string>

#include "platform/platform.h"

namespace zandrell {

void WriteLog(const Engine& e, std::string_view text, bool withTimeStamp, bool force) {
  if (!e.shell.LogEnabled && !force) return;
  if (e.shell.LogPath.empty()) return;
  std::string entry;
  if (withTimeStamp) {
    entry = platform::LocalDateTimeText();
    entry += " - ";
  }
  entry += text;
  platform::AppendLine(e.shell.LogPath, entry);
}

}  // namespace zandrell
