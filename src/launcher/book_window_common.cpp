#include "launcher/book_window.h"
#include "platform/platform.h"

namespace zandrell {

std::string DefaultBookPath(const std::string& folder) {
  const std::string separator(1, platform::kPathSeparator);
  const std::string book =
      platform::IniRead(folder + separator + "Zandrell.ini", "Engine", "OpeningBook", "");
  if (book.empty()) return {};
  const std::string path = folder + separator + book;
  return platform::FileExists(path) ? path : std::string();
}

}  // namespace zandrell
