#include "launcher/launcher_commands.h"

#include "base/file_locations.h"
#include "base/settings.h"
#include "launcher/launcher_text.h"

namespace zandrell {

namespace {

bool ValidCommand(int index) { return index >= kPlay && index <= kQuit; }

// A path with blanks is quoted so that it reaches the program as one argument.
std::string QuotedIfBlank(const std::string& path) {
  if (path.find(' ') == std::string::npos && path.find('\t') == std::string::npos) return path;
  return "\"" + path + "\"";
}

bool PlayCommand(Launcher& launcher) {
  LocateWinboard(launcher);
  const std::string program =
      JoinPath(launcher.State.WinboardFolder, launcher.Conventions.InterfaceExecutable,
               launcher.Conventions.Separator);
  platform::StartOutcome outcome = launcher.Host.StartProgram(
      program, BuildWinboardArguments(launcher.Program.shell.ProgramFolder, launcher.Conventions));
  if (outcome == platform::StartOutcome::kStarted) {
    // Stored only now, so that a wrong folder is asked for again next time.
    WriteSetting(launcher.Program, "Winboard", launcher.State.WinboardFolder);
    return true;
  }
  launcher.Host.SetBusyPointer(false);
  if (outcome == platform::StartOutcome::kFileNotFound) {
    launcher.Host.ShowCriticalMessage(kWinboardStartFailed);
  }
  return false;
}

// Quiretto beside the engine, as the two ship together; else one on the search
// path (an installed package); else the program folder again, whose start then
// fails with the message about the folder.
std::string LocateBookEditor(Launcher& launcher) {
  const platform::LauncherConventions& conventions = launcher.Conventions;
  const std::string beside = JoinPath(launcher.Program.shell.ProgramFolder,
                                      conventions.BookEditorExecutable, conventions.Separator);
  if (launcher.Host.FileExists(beside) || !conventions.LookOnSearchPath) return beside;
  const std::string folder = launcher.Host.FindProgramFolder(conventions.BookEditorExecutable);
  if (folder.empty()) return beside;
  return JoinPath(folder, conventions.BookEditorExecutable, conventions.Separator);
}

bool BookEditorCommand(Launcher& launcher) {
  launcher.Host.SetBusyPointer(true);
  const std::string& folder = launcher.Program.shell.ProgramFolder;
  const char separator = launcher.Conventions.Separator;
  const std::string book = ReadSetting(launcher.Program, "OpeningBook", "");
  std::string arguments;
  if (!book.empty()) {
    // An installed copy's book is in the user's folder or the data folder, not beside it.
    const std::string bookPath = launcher.Program.shell.InstalledCopy
                                     ? FindBookFile(launcher.Program, book)
                                     : JoinPath(folder, book, separator);
    arguments = " " + QuotedIfBlank(bookPath);
  }
  platform::StartOutcome outcome =
      launcher.Host.StartProgram(LocateBookEditor(launcher), arguments);
  launcher.Host.SetBusyPointer(false);
  if (outcome == platform::StartOutcome::kStarted) return true;
  if (outcome == platform::StartOutcome::kFileNotFound) {
    launcher.Host.ShowCriticalMessage(kQuirettoStartFailed);
  }
  return false;
}

}  // namespace

void CommandMouseMove(LauncherState& state, int index) {
  if (!ValidCommand(index)) return;
  if (index != state.HoveredCommand) {
    state.Highlighted.fill(false);
    state.HoveredCommand = static_cast<std::int16_t>(index);
  }
  state.Highlighted[static_cast<std::size_t>(index)] = true;
}

void BackgroundMouseMove(LauncherState& state) { state.Highlighted.fill(false); }

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
  if (!folder.empty() && folder.back() == separator) return folder + name;
  return folder + separator + name;
}

std::string BuildWinboardArguments(const std::string& programFolder,
                                   const platform::LauncherConventions& conventions) {
  const std::string engine = "\"" + conventions.EngineCommand + "\"";
  const std::string folder = "\"" + programFolder + "\"";
  return " -cp -fcp " + engine + " -fd " + folder + "  -scp " + engine + " -sd " + folder +
         conventions.ArgumentsSuffix;
}

void LocateWinboard(Launcher& launcher) {
  LauncherState& state = launcher.State;
  const platform::LauncherConventions& conventions = launcher.Conventions;
  state.WinboardFolder = ReadSetting(launcher.Program, "Winboard", "");
  if (state.WinboardFolder.empty()) {
    if (conventions.LookOnSearchPath) {
      state.WinboardFolder = launcher.Host.FindProgramFolder(conventions.InterfaceExecutable);
    }
    // The picker's choice is not tested: a wrong one fails to start.
    if (state.WinboardFolder.empty()) {
      state.WinboardFolder = launcher.Host.BrowseForFolder(conventions.PickerPrompt);
    }
    return;
  }
  const std::string program =
      JoinPath(state.WinboardFolder, conventions.InterfaceExecutable, conventions.Separator);
  if (!launcher.Host.FileExists(program)) {
    state.WinboardFolder = launcher.Host.BrowseForFolder(conventions.PickerPrompt);
  }
}

bool CommandClick(Launcher& launcher, int index) {
  switch (index) {
    case kPlay: return PlayCommand(launcher);
    case kBookEditor: return BookEditorCommand(launcher);
    case kQuit: return true;
    default: return false;
  }
}

}  // namespace zandrell
