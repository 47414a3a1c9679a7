#pragma once
// A fresh engine in this process, with its settings and log in a folder of its own
// and the protocol output captured.
#include <memory>
#include <string>

#include "engine/engine.h"
#include "support/temp_folder.h"

namespace zandrell::testing {

class TestEngine {
 public:
  TestEngine();
  Engine& operator*() { return *engine_; }
  Engine* operator->() { return engine_.get(); }
  TempFolder& Folder() { return folder_; }

  void Init();                         // InitEngine
  void Feed(const std::string& text);  // InterpretInput
  std::string TakeOutput();            // the bytes written since the last call
  bool HandlesClosed() const { return *handlesClosed_; }
  bool Exited() const { return *exited_; }
  std::string Log() const { return folder_.Read("zandrell.log"); }

 private:
  TempFolder folder_;
  std::unique_ptr<Engine> engine_;
  std::shared_ptr<std::string> output_;
  std::shared_ptr<bool> handlesClosed_;
  std::shared_ptr<bool> exited_;
};

}  // namespace zandrell::testing
