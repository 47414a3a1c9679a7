#pragma once
// Where the settings, the log and a book named without a folder live. A portable
// copy keeps them all beside its executable. An installed POSIX copy (the executable
// in <prefix>/games with <prefix>/share/games/zandrell beside it) cannot write there:
// it keeps the user's settings and log in the XDG folders and reads the packaged
// defaults and book from its data folder.
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace zandrell {

// What the platform tells about this process.
struct LocationFacts {
  std::string ProgramFolder;       // the executable's folder, no trailing separator
  std::string ExecutableBaseName;  // without extension
  char Separator = '/';
  bool InstalledLayoutPossible = false;  // POSIX only; a Windows copy is always portable
  std::string ConfigHome;                // $XDG_CONFIG_HOME as set, maybe empty
  std::string StateHome;                 // $XDG_STATE_HOME as set, maybe empty
  std::string Home;
  std::function<bool(const std::string&)> FolderExists;
};

struct FileLocations {
  bool Installed = false;
  std::string ProgramFolder;
  std::string SettingsPath;
  std::string DefaultSettingsPath;  // installed: the packaged file read under SettingsPath
  std::string LogPath;
  std::vector<std::string> BookFolders;  // searched in order for a book name without a folder
};

inline constexpr const char* kDataFolderBelowPrefix = "share/games/zandrell";

FileLocations LocateFiles(const LocationFacts& facts);
// The engine's name for a companion program named after it with "uci" at the end
// (zandrell-uci, ZandrellUCI): its log is the engine's.
std::string EngineBaseName(const std::string& programBaseName);
LocationFacts PlatformLocationFacts();

// Fills the shell's paths.
void UseFileLocations(Engine& e, const FileLocations& locations);

// A book name without a folder: the first folder where something has that name (a
// file, or anything else that the loader then refuses by name), else the last folder
// (so an error names the packaged place). Names with a folder are returned as they are.
std::string FindBookFile(const Engine& e, const std::string& name);

// The folder part of a path, "" when it has none.
std::string ParentFolder(const std::string& path);

}  // namespace zandrell
