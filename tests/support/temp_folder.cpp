#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace zandrell::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("zandrell-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& content) const {
  std::filesystem::create_directories((path_ / name).parent_path());
  std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempFolder::Exists(const std::string& name) const {
  return std::filesystem::exists(path_ / name);
}

}  // namespace zandrell::testing
