#include "launcher/launcher_text.h"

namespace zandrell {

namespace {
std::string Padded(int number, std::size_t digits) {
  std::string text = std::to_string(number);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return text;
}
}  // namespace

std::string WindowCaption(int major, int minor, int revision) {
  return "Zandrell   ver. " + std::to_string(major) + "." + Padded(minor, 2) + "." +
         Padded(revision, 4);
}

std::string WindowCaption() {
  return WindowCaption(ZANDRELL_VERSION_MAJOR, ZANDRELL_VERSION_MINOR, ZANDRELL_VERSION_PATCH);
}

platform::LauncherWindowTexts LauncherTexts(const std::function<std::string(int)>& loadString) {
  platform::LauncherWindowTexts texts;
  texts.Caption = WindowCaption();
  texts.Title = loadString(103);
  texts.Prompt = loadString(104);
  for (int i = 0; i < 3; ++i) {
    texts.Commands[static_cast<std::size_t>(i)] = loadString(105 + i);
  }
  texts.LegalNotice = kLegalNotice;
  return texts;
}

}  // namespace zandrell
