#include "base/settings.h"

#include "base/file_locations.h"
#include "base/log.h"
#include "platform/ini_text.h"
#include "platform/platform.h"

namespace zandrell {

namespace {
constexpr const char* kSection = "Engine";

// The file is read again only when it changed since the last read, and its
// section is parsed once into a table, so start-up does not grow with the number
// of keys times the size of the file, and a file edited meanwhile is still seen.
const platform::IniTable& SettingsTable(SettingsCopy& copy, const std::string& path) {
  const platform::FileStamp stamp = platform::StampOfFile(path);
  if (copy.Loaded && stamp == copy.Stamp) return copy.Table;
  copy.Loaded = true;
  copy.Stamp = stamp;
  copy.Table = {};
  if (stamp.Size < 0) return copy.Table;
  ++copy.ReadCount;
  // A settings file that is a FIFO or a device is not waited on: it reads as missing.
  std::string text;
  if (platform::ReadWholeFile(path, text)) copy.Table = platform::IniParseSection(text, kSection);
  return copy.Table;
}
}  // namespace

std::string ReadSetting(const Engine& e, const std::string& key, const std::string& defaultValue) {
  std::string value;
  const ShellState& shell = e.shell;
  if (auto stored =
          platform::IniTableLookup(SettingsTable(shell.Settings, shell.SettingsPath), key)) {
    value = *stored;
  } else if (!shell.DefaultSettingsPath.empty()) {
    // An installed copy: a key the user has not set comes from the packaged file.
    auto packaged = platform::IniTableLookup(
        SettingsTable(shell.DefaultSettings, shell.DefaultSettingsPath), key);
    value =
        packaged ? std::string(*packaged) : defaultValue.substr(0, platform::kProfileValueLimit);
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
    if (current && platform::IniTableAssign(copy.Table, key, value)) {
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
