#include <memory>

#include "base/file_locations.h"
#include "launcher/book_window.h"
#include "platform/platform.h"

namespace zandrell {

std::string DefaultBookPath() {
  const FileLocations where = LocateFiles(PlatformLocationFacts());
  std::string book = platform::IniRead(where.SettingsPath, "Engine", "OpeningBook", "");
  if (book.empty() && !where.DefaultSettingsPath.empty()) {
    book = platform::IniRead(where.DefaultSettingsPath, "Engine", "OpeningBook", "");
  }
  if (book.empty()) return {};
  auto engine = std::make_unique<Engine>();
  UseFileLocations(*engine, where);
  const std::string path = FindBookFile(*engine, book);
  return platform::FileExists(path) ? path : std::string();
}

}  // namespace zandrell
