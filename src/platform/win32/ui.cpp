// Message boxes and the program's string table in the executable's resources.
#include <cstdlib>
#include <cstring>

#include "platform/message_line.h"
#include "platform/platform.h"
#include "platform/string_table.h"
#include "platform/win32/string_resource.h"
#include "platform/win32/windows_api.h"

namespace zandrell::platform {

namespace win32 {

bool Headless() {
  char value[16];
  DWORD n = GetEnvironmentVariableA("ZANDRELL_HEADLESS", value, sizeof value);
  if (n > 0 && n < sizeof value && std::strcmp(value, "0") != 0) return true;
  if (n >= sizeof value) return true;  // set to something long: not "0"
  USEROBJECTFLAGS flags{};
  HWINSTA station = GetProcessWindowStation();
  if (station != nullptr &&
      GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return true;
  }
  return false;
}

void WriteStandardError(const std::string& text) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(error, data, static_cast<DWORD>(left), &written, nullptr) || written == 0)
      return;
    data += written;
    left -= written;
  }
}

}  // namespace win32

namespace {
// Without anybody to click: one line per box on standard error, as the other
// platforms do, and the caller goes on at once.
void WriteBoxAsLine(const std::string& text, BoxIcon icon) {
  const std::string line = MessageBoxLine(text, icon);
  win32::WriteStandardError(line);
}
}  // namespace

void ShowMessage(const std::string& text, BoxIcon icon) {
  if (win32::Headless()) {
    WriteBoxAsLine(text, icon);
    return;
  }
  UINT style = MB_OK;
  if (icon == BoxIcon::kExclamation) style |= MB_ICONEXCLAMATION;
  if (icon == BoxIcon::kCritical) style |= MB_ICONSTOP;
  // No desktop to show it on: the text must not be lost.
  if (MessageBoxA(nullptr, text.c_str(), "Zandrell", style) == 0) WriteBoxAsLine(text, icon);
}

bool UserLanguageIsItalian() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ITALIAN; }

std::string LoadString(int id) {
  bool italian = UserLanguageIsItalian();
  std::string text = win32::LoadStringResource(id, italian);
  // A binary linked without the resource script (the benchmark tools) still
  // gets its texts.
  if (text.empty() && !win32::HasStringTable()) text = StringTableEntry(id, italian);
  return text;
}

}  // namespace zandrell::platform
