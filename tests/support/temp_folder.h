#pragma once
// A fresh folder under the system's temporary folder, removed again at the end.
#include <filesystem>
#include <string>

namespace zandrell::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // Creates the folders on the way.
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;  // "" when missing
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace zandrell::testing
