#include "base/settings.h"

#include "base/log.h"
#include "platform/platform.h"

namespace zandrell {

namespace {
constexpr const char* kSection = "Engine";
}

std::string ReadSetting(const Engine& e, const std::string& key, const std::string& defaultValue) {
  std::string value = platform::IniRead(e.shell.SettingsPath, kSection, key, defaultValue);
  if (!value.empty()) return value;
  WriteLog(e, "Error retrieving setting: " + key, true, true);
  return {};
}

bool WriteSetting(const Engine& e, const std::string& key, const std::string& value) {
  if (platform::IniWrite(e.shell.SettingsPath, kSection, key, value)) return true;
  WriteLog(e, "Error writing setting: " + key + "=" + value, true, true);
  return false;
}

}  // namespace zandrell
