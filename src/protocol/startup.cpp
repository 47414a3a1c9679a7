#include "protocol/startup.h"

#include <string>
#include <vector>

#include "base/file_locations.h"
#include "base/log.h"
#include "base/numeric.h"
#include "base/settings.h"
#include "platform/platform.h"
#include "protocol/init_engine.h"
#include "protocol/main_loop.h"
#include "protocol/uci_loop.h"

namespace zandrell {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::vector<std::string> SplitAtBlanks(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t blank = text.find(' ', start);
    pieces.push_back(text.substr(start, blank - start));
    if (blank == std::string::npos) break;
    start = blank + 1;
  }
  return pieces;
}

}  // namespace

void SetUpPaths(Engine& e) { UseFileLocations(e, LocateFiles(PlatformLocationFacts())); }

void SetUpEnginePaths(Engine& e) {
  LocationFacts facts = PlatformLocationFacts();
  facts.ExecutableBaseName = EngineBaseName(facts.ExecutableBaseName);
  UseFileLocations(e, LocateFiles(facts));
}

int Main(Engine& e, std::string_view commandLine, const std::function<int(Engine&)>& showLauncher) {
  platform::TakeStandardHandles();
  if (e.shell.ProgramFolder.empty()) SetUpPaths(e);

  e.shell.PerfFrequency = platform::PerformanceFrequency();
  if (e.shell.PerfFrequency == 0) {
    platform::ShowMessage(platform::LoadString(101), platform::BoxIcon::kNone);
    return 1;
  }

  if (!commandLine.empty()) {
    const std::string typed(commandLine);
    for (const std::string& piece : SplitAtBlanks(Lower(typed))) {
      if (piece == "xboard" || piece == "/xboard" || piece == "-xboard") {
        e.shell.XboardMode = true;
      } else if (piece == "uci" || piece == "/uci" || piece == "-uci") {
        e.shell.UciMode = true;
      } else if (piece == "log" || piece == "/log" || piece == "-log") {
        e.shell.LogEnabled = true;
        e.shell.LogPV = NumericValue(ReadSetting(e, "LogPV", "0")) != 0;
      } else if (!piece.empty()) {
        platform::ShowMessage(platform::LoadString(102) + "\n" + typed,
                              platform::BoxIcon::kExclamation);
      }
    }
  }

  if (e.shell.UciMode) {
    platform::InstallTerminationHandling();
    InitEngine(e);
    UciLoop(e);
    return 0;
  }
  if (e.shell.XboardMode) {
    platform::InstallTerminationHandling();
    InitEngine(e);
    MainLoop(e);
    return 0;
  }
  return showLauncher(e);
}

void Shutdown(Engine& e) {
  if (e.shell.CloseHandles) {
    e.shell.CloseHandles();
  } else {
    platform::CloseStandardHandles();
  }
  WriteLog(e, "Program terminated.", true, false);
  WriteLog(e, std::string(20, '='), false, false);
  e.shell.Terminated = true;
  if (e.shell.Exit) {
    e.shell.Exit();
  } else {
    platform::ExitProcess(0);
  }
}

}  // namespace zandrell
