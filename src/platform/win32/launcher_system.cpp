// Starting the chess interface and the book editor on Windows.
#include <string>
#include <vector>

#include "platform/launcher_platform.h"
#include "platform/win32/windows_api.h"

namespace zandrell::platform {

LauncherConventions NativeLauncherConventions() {
  LauncherConventions conventions;
  conventions.Separator = '\\';
  conventions.InterfaceExecutable = "winboard.exe";
  conventions.BookEditorExecutable = "Quiretto.exe";
  conventions.EngineCommand = "Zandrell -xboard";
  conventions.PickerPrompt = "Selezionare il percorso del file winboard.exe:";
  conventions.LookOnSearchPath = false;
  return conventions;
}

StartOutcome StartProgram(const std::string& program, const std::string& arguments) {
  // The program is named on its own as well, so a folder with blanks cannot be
  // mistaken for a shorter program name followed by arguments.
  std::string commandLine = "\"" + program + "\"" + arguments;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
      case ERROR_BAD_PATHNAME:
      case ERROR_INVALID_DRIVE: return StartOutcome::kFileNotFound;
      default: return StartOutcome::kFailed;
    }
  }
  // The launcher ends next; the started program may take the focus from it.
  AllowSetForegroundWindow(process.dwProcessId);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return StartOutcome::kStarted;
}

std::string FindProgramFolder(const std::string&) { return {}; }

}  // namespace zandrell::platform
