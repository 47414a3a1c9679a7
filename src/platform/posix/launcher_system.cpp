#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/launcher_platform.h"
#include "platform/platform.h"

extern char** environ;

namespace zandrell::platform {

namespace {

// Blanks separate arguments and double quotes group them (the quotes are dropped),
// as the argument texts of the launcher are written.
std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> pieces;
  std::string current;
  bool inPiece = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inPiece = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inPiece) pieces.push_back(current);
      current.clear();
      inPiece = false;
    } else {
      current += c;
      inPiece = true;
    }
  }
  if (inPiece) pieces.push_back(current);
  return pieces;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// xboard parses its engine command at blanks, honouring quotes, so a path with
// blanks goes in single quotes.
std::string EngineCommand() {
  std::string path = ExecutablePath();
  if (path.find(' ') != std::string::npos) path = "'" + path + "'";
  return path + " -xboard";
}

}  // namespace

LauncherConventions NativeLauncherConventions() {
  LauncherConventions conventions;
  conventions.Separator = '/';
  conventions.InterfaceExecutable = "xboard";
  conventions.BookEditorExecutable = "quiretto";
  conventions.EngineCommand = EngineCommand();
  // The engine answers "protover 2" at once, so xboard needs no protocol switch.
  conventions.ArgumentsSuffix = "";
  conventions.PickerPrompt = "Selezionare il percorso del file xboard:";
  conventions.LookOnSearchPath = true;
  return conventions;
}

StartOutcome StartProgram(const std::string& program, const std::string& arguments) {
  std::vector<std::string> pieces = SplitArguments(arguments);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (std::string& piece : pieces) argv.push_back(piece.data());
  argv.push_back(nullptr);

  // The started program outlives the launcher, in a session of its own.
  posix_spawnattr_t attributes;
  if (::posix_spawnattr_init(&attributes) != 0) return StartOutcome::kFailed;
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t child = 0;
  int error = ::posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (error == 0) return StartOutcome::kStarted;
  return (error == ENOENT || error == ENOTDIR) ? StartOutcome::kFileNotFound
                                               : StartOutcome::kFailed;
}

std::string FindProgramFolder(const std::string& name) {
  std::string path;
  if (const char* value = std::getenv("PATH")) path = value;
  path += ":/usr/games";
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = path.find(':', start);
    std::string folder = path.substr(start, colon - start);
    // An empty entry means the current folder, which the launcher never searches.
    if (!folder.empty() && folder.front() == '/') {
      while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
      if (IsExecutableFile(folder + (folder == "/" ? "" : "/") + name)) return folder;
    }
    if (colon == std::string::npos) return {};
    start = colon + 1;
  }
}

}  // namespace zandrell::platform
