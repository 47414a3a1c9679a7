#pragma once
// The built engine, copied into a folder of its own (so that its settings and log
// files are the test's) and driven through real pipes like a chess interface.
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "support/temp_folder.h"

namespace zandrell::testing {

class EngineProcess {
 public:
  // baseName: the executable's name in the folder, without extension (the log file
  // is named after it); empty keeps the built name.
  explicit EngineProcess(const std::string& baseName = {});
  // Another built program (the UCI engine) in place of the engine.
  EngineProcess(const std::string& baseName, const std::string& builtPath);

  TempFolder& Folder() { return folder_; }
  std::string ExecutableName() const { return executable_; }
  std::string LogName() const;  // lower-case base name + ".log"

  bool Start(const std::vector<std::string>& arguments = {"-xboard"},
             const std::vector<std::string>& environment = {});
  bool Send(const std::string& text) { return process_.Write(text); }
  std::string ReadUntil(const std::string& needle, int timeoutMs = 10000) {
    return process_.ReadUntil(needle, timeoutMs);
  }
  std::string ReadToEnd(int timeoutMs = 10000) { return process_.ReadToEnd(timeoutMs); }
  std::string ReadErrorToEnd(int timeoutMs = 10000) { return process_.ReadErrorToEnd(timeoutMs); }
  void CloseInput() { process_.CloseInput(); }
  int Wait(int timeoutMs = 10000) { return process_.Wait(timeoutMs); }
  platform::ChildProcess& Process() { return process_; }

  // Sends the lines and "quit", and returns everything the engine wrote.
  std::string Session(const std::string& lines, int timeoutMs = 20000);
  // Everything written up to and including the engine's next "move" line.
  std::string ReadThroughMove(int timeoutMs = 30000);

 private:
  TempFolder folder_;
  std::string executable_;
  std::string baseName_;
  platform::ChildProcess process_;
};

// The built UCI program, started without arguments as UCI interfaces start it.
class UciProcess : public EngineProcess {
 public:
  UciProcess();
  bool Start() { return EngineProcess::Start({}); }
  // Everything up to and including the "bestmove" line.
  std::string ReadThroughBestMove(int timeoutMs = 30000);
};

// The thinking lines (depth score time nodes pv...) of xboard output, split
// into words, in order; the book line left out.
std::vector<std::vector<std::string>> ThinkingLines(const std::string& out);

// The move of the last "bestmove" line in the output; "" when there is none.
std::string BestMoveIn(const std::string& out);
// The text of the last "move" line in the output; "" when there is none.
std::string LastMoveIn(const std::string& out);
// Whether move (coordinate text) is legal in the position of the FEN record.
bool LegalIn(const std::string& fen, const std::string& move);

}  // namespace zandrell::testing
