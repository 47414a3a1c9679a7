#include "base/settings.h"

#include <fstream>

#include "base/file_locations.h"
#include "base/log.h"
#include "platform/ini_text.h"
#include "platform/platform.h"

namespace zandrell {

namespace {
constexpr const char* kSection = "Engine";

// The file is read again only when it changed since the last read, so start-up
// does not grow with the number of keys times the size of the file, and a file
// edited meanwhile is still seen.
const std::string& SettingsText(SettingsCopy& copy, const std::string& path) {
  const platform::FileStamp stamp = platform::StampOfFile(path);
  if (copy.Loaded && stamp == copy.Stamp) return copy.Text;
  copy.Loaded = true;
  copy.Stamp = stamp;
  copy.Text.clear();
  if (stamp.Size < 0) return copy.Text;
  ++copy.ReadCount;
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<std::size_t>(stamp.Size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  // Only the section is kept: the rest of a large file is never asked for.
  copy.Text = platform::IniSectionText(text, kSection);
  return copy.Text;
}
}  // namespace

std::string ReadSetting(const Engine& e, const std::string& key, const std::string& defaultValue) {
  std::string value;
  const ShellState& shell = e.shell;
  if (auto stored =
          platform::IniLookup(SettingsText(shell.Settings, shell.SettingsPath), kSection, key)) {
    value = std::move(*stored);
  } else if (!shell.DefaultSettingsPath.empty()) {
    // An installed copy: a key the user has not set comes from the packaged file.
    const std::string& defaults = SettingsText(shell.DefaultSettings, shell.DefaultSettingsPath);
    auto packaged = platform::IniLookup(defaults, kSection, key);
    value = packaged ? std::move(*packaged) : defaultValue.substr(0, platform::kProfileValueLimit);
  } else {
    value = defaultValue.substr(0, platform::kProfileValueLimit);
  }
  if (!value.empty()) return value;
  WriteLog(e, "Error retrieving setting: " + key, true, true);
  return {};
}

bool WriteSetting(const Engine& e, const std::string& key, const std::string& value) {
  SettingsCopy& copy = e.shell.Settings;
  const bool current = copy.Loaded && platform::StampOfFile(e.shell.SettingsPath) == copy.Stamp;
  bool written = platform::IniWrite(e.shell.SettingsPath, kSection, key, value);
  // The user's settings folder of an installed copy comes with the first write.
  if (!written && e.shell.InstalledCopy && !e.shell.SettingsPath.empty() &&
      platform::MakeFolders(ParentFolder(e.shell.SettingsPath))) {
    written = platform::IniWrite(e.shell.SettingsPath, kSection, key, value);
  }
  if (written) {
    // The write changes the copy as it changed the file; a copy that was already
    // behind the file is read afresh next time.
    if (current) {
      copy.Text = platform::IniAssign(copy.Text, kSection, key, value);
      copy.Stamp = platform::StampOfFile(e.shell.SettingsPath);
    } else {
      copy.Loaded = false;
    }
    return true;
  }
  WriteLog(e, "Error writing setting: " + key + "=" + value, true, true);
  return false;
}

}  // namespace zandrell
