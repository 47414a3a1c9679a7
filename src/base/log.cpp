#include "base/log.h"

#include <string>

#include "base/file_locations.h"
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
  if (platform::AppendLine(e.shell.LogPath, entry) || !e.shell.InstalledCopy) return;
  // The user's state folder of an installed copy comes with the first entry.
  if (platform::MakeFolders(ParentFolder(e.shell.LogPath))) {
    platform::AppendLine(e.shell.LogPath, entry);
  }
}

}  // namespace zandrell
