#include "support/test_engine.h"

#include "platform/platform.h"
#include "protocol/init_engine.h"
#include "protocol/main_loop.h"

namespace zandrell::testing {

TestEngine::TestEngine()
    : engine_(std::make_unique<Engine>()),
      output_(std::make_shared<std::string>()),
      handlesClosed_(std::make_shared<bool>(false)),
      exited_(std::make_shared<bool>(false)) {
  ShellState& shell = engine_->shell;
  shell.ProgramFolder = folder_.Path().string();
  shell.SettingsPath = folder_.File("Zandrell.ini");
  shell.LogPath = folder_.File("zandrell.log");
  auto output = output_;
  shell.Write = [output](std::string_view bytes) { output->append(bytes); };
  // The test process keeps its own standard handles.
  auto handlesClosed = handlesClosed_;
  shell.CloseHandles = [handlesClosed] { *handlesClosed = true; };
  auto exited = exited_;
  shell.Exit = [exited] { *exited = true; };
}

void TestEngine::Init() { InitEngine(*engine_); }

void TestEngine::Feed(const std::string& text) { InterpretInput(*engine_, text); }

std::string TestEngine::TakeOutput() {
  std::string taken;
  taken.swap(*output_);
  return taken;
}

}  // namespace zandrell::testing
