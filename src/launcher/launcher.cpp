#include "launcher/launcher.h"

#include <cstdio>
#include <memory>

#include "launcher/launcher_commands.h"
#include "launcher/launcher_text.h"
#include "platform/launcher_platform.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

// Joins the commands to the native window and the platform layer.
class LauncherSession final : public LauncherHost, public platform::LauncherWindowEvents {
 public:
  explicit LauncherSession(const Engine& e)
      : launcher_{e, *this, platform::NativeLauncherConventions(), {}} {}

  int Run() {
    std::string whyNot;
    window_ = platform::CreateLauncherWindow(LauncherTexts(platform::LoadString), *this, whyNot);
    if (!window_) {
      std::fprintf(stderr, "%s\n", whyNot.c_str());
      return 1;
    }
    window_->Run();
    return 0;
  }

  // LauncherHost
  platform::StartOutcome StartProgram(const std::string& program,
                                      const std::string& arguments) override {
    return platform::StartProgram(program, arguments);
  }
  bool FileExists(const std::string& path) override { return platform::FileExists(path); }
  std::string FindProgramFolder(const std::string& name) override {
    return platform::FindProgramFolder(name);
  }
  std::string BrowseForFolder(const std::string& prompt) override {
    return window_->BrowseForFolder(prompt);
  }
  void ShowCriticalMessage(const std::string& text) override { window_->ShowCriticalMessage(text); }
  void SetBusyPointer(bool busy) override { window_->SetBusyPointer(busy); }

  // LauncherWindowEvents
  void CommandMouseMove(int index) override { zandrell::CommandMouseMove(launcher_.State, index); }
  void BackgroundMouseMove() override { zandrell::BackgroundMouseMove(launcher_.State); }
  bool CommandClick(int index) override { return zandrell::CommandClick(launcher_, index); }
  bool CommandHighlighted(int index) const override {
    return index >= 0 && index < 3 && launcher_.State.Highlighted[static_cast<std::size_t>(index)];
  }

 private:
  Launcher launcher_;
  std::unique_ptr<platform::LauncherWindow> window_;
};

}  // namespace

int RunLauncher(Engine& e) {
  LauncherSession session(e);
  return session.Run();
}

}  // namespace zandrell
