#pragma once
// A program started with pipes on its standard input, output and error. The test
// suite drives the built engine through it exactly as a chess interface does.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zandrell::platform {

class ChildProcess {
 public:
  ChildProcess();
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // extraEnvironment holds "NAME=value" entries added to (or replacing) the
  // current environment; workingFolder empty keeps the current one.
  bool Start(const std::string& program, const std::vector<std::string>& arguments,
             const std::vector<std::string>& extraEnvironment = {},
             const std::string& workingFolder = {});
  bool Write(std::string_view data);
  void CloseInput();
  // Reads standard output until it holds needle (returns everything read so far,
  // needle included) or the timeout passes or the output ends.
  std::string ReadUntil(std::string_view needle, int timeoutMs);
  // Reads standard output until it ends or the timeout passes.
  std::string ReadToEnd(int timeoutMs);
  std::string ReadErrorToEnd(int timeoutMs);
  // Exit code, or -1 when the process has not ended within the timeout.
  int Wait(int timeoutMs);
  void SendTerminate();  // the polite request to end (SIGTERM)
  void SendInterrupt();  // what xboard sends before moves (SIGINT)
  void Kill();
  // The most memory the running program has held, in KiB; 0 where unknown.
  long PeakMemoryKb() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zandrell::platform
