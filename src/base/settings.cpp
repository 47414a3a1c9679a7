#include "base/settings.h"

#include "base/file_locations.h"
#include "base/log.h"
#include "platform/platform.h"

namespace zandrell {

namespace {
constexpr const char* kSection = "Engine";
}

std::string ReadSetting(const Engine& e, const std::string& key, const std::string& defaultValue) {
  // An installed copy: a key the user has not set comes from the packaged file.
  const std::string fallback =
      e.shell.DefaultSettingsPath.empty()
          ? defaultValue
          : platform::IniRead(e.shell.DefaultSettingsPath, kSection, key, defaultValue);
  std::string value = platform::IniRead(e.shell.SettingsPath, kSection, key, fallback);
  if (!value.empty()) return value;
  WriteLog(e, "Error retrieving setting: " + key, true, true);
  return {};
}

bool WriteSetting(const Engine& e, const std::string& key, const std::string& value) {
  if (platform::IniWrite(e.shell.SettingsPath, kSection, key, value)) return true;
  // The user's settings folder of an installed copy comes with the first write.
  if (e.shell.InstalledCopy && !e.shell.SettingsPath.empty() &&
      platform::MakeFolders(ParentFolder(e.shell.SettingsPath)) &&
      platform::IniWrite(e.shell.SettingsPath, kSection, key, value)) {
    return true;
  }
  WriteLog(e, "Error writing setting: " + key + "=" + value, true, true);
  return false;
}

}  // namespace zandrell
