// Built without a window toolkit: the launcher can only say how to run the engine.
#include "platform/launcher_platform.h"

namespace zandrell::platform {

std::unique_ptr<LauncherWindow> CreateLauncherWindow(const LauncherWindowTexts&,
                                                     LauncherWindowEvents&, std::string& whyNot) {
  whyNot = "zandrell: this build has no launcher window; start it with -xboard to run the engine";
  return nullptr;
}

}  // namespace zandrell::platform
