#include "support/non_regular_files.h"

#include <filesystem>
#include <system_error>

#include "platform/child_process.h"

namespace zandrell::testing {

bool MakeFifo(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  platform::ChildProcess mkfifo;
  if (!mkfifo.Start("/usr/bin/mkfifo", {path})) return false;
  mkfifo.CloseInput();
  return mkfifo.Wait(10000) == 0;
#endif
}

bool MakeLinkLoop(const std::string& path) {
  std::error_code error;
  std::filesystem::create_symlink(std::filesystem::path(path).filename(), path, error);
  return !error;
}

}  // namespace zandrell::testing
