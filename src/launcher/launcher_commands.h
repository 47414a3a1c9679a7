#pragma once
// The launcher's behaviour, free of any window toolkit: highlighting of the command
// labels, finding the chess interface, and the three commands.
#include <array>
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "platform/launcher_platform.h"

namespace zandrell {

enum LauncherCommand : int { kPlay = 0, kBookEditor = 1, kQuit = 2 };

// The system as the commands see it; the window supplies the picker, the message
// box and the pointer, the platform layer the rest. Tests fake it.
class LauncherHost {
 public:
  virtual ~LauncherHost() = default;
  virtual platform::StartOutcome StartProgram(const std::string& program,
                                              const std::string& arguments) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual std::string FindProgramFolder(const std::string& name) = 0;
  virtual std::string BrowseForFolder(const std::string& prompt) = 0;
  virtual void ShowCriticalMessage(const std::string& text) = 0;
  virtual void SetBusyPointer(bool busy) = 0;
};

struct LauncherState {
  std::string WinboardFolder;
  std::int16_t HoveredCommand = 0;
  std::array<bool, 3> Highlighted{};  // bold and underlined
};

struct Launcher {
  const Engine& Program;  // the engine program: its folder and settings
  LauncherHost& Host;
  platform::LauncherConventions Conventions;
  LauncherState State;
};

// The pointer moved over command label index / over the window's background.
void CommandMouseMove(LauncherState& state, int index);
void BackgroundMouseMove(LauncherState& state);

// folder + separator + name, without doubling a separator the folder ends with.
std::string JoinPath(const std::string& folder, const std::string& name, char separator);

// The interface's arguments: this program as its first and second engine, both
// started in the program folder.
std::string BuildWinboardArguments(const std::string& programFolder,
                                   const platform::LauncherConventions& conventions);

// Sets WinboardFolder from the setting "Winboard", the search path or the picker.
void LocateWinboard(Launcher& launcher);

// Runs command index; true when the launcher is to end.
bool CommandClick(Launcher& launcher, int index);

}  // namespace zandrell
