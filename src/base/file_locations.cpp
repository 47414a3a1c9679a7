#include "base/file_locations.h"

#include "platform/platform.h"

namespace zandrell {

namespace {

bool IsSeparator(char c, char separator) { return c == separator || c == '/'; }

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string FolderOf(const std::string& path, char separator) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (IsSeparator(path[i], separator)) return i == 0 ? path.substr(0, 1) : path.substr(0, i);
  }
  return {};
}

std::string NameOf(const std::string& path, char separator) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (IsSeparator(path[i], separator)) return path.substr(i + 1);
  }
  return path;
}

std::string Join(const std::string& folder, const std::string& name, char separator) {
  if (folder.empty()) return name;
  if (IsSeparator(folder.back(), separator)) return folder + name;
  return folder + separator + name;
}

// XDG base folders: the variable when it holds an absolute path, else the folder
// under home; "" when neither is known.
std::string BaseFolder(const std::string& variable, const std::string& home,
                       const std::string& belowHome) {
  if (!variable.empty() && variable.front() == '/') return variable;
  if (home.empty()) return {};
  return Join(home, belowHome, '/');
}

}  // namespace

std::string ParentFolder(const std::string& path) {
  return FolderOf(path, platform::kPathSeparator);
}

std::string EngineBaseName(const std::string& programBaseName) {
  std::string name = programBaseName;
  if (LowerCase(name).ends_with("uci")) name.resize(name.size() - 3);
  while (!name.empty() && (name.back() == '-' || name.back() == '_')) name.pop_back();
  return name.empty() ? programBaseName : name;
}

FileLocations LocateFiles(const LocationFacts& facts) {
  const char separator = facts.Separator;
  FileLocations where;
  where.ProgramFolder = facts.ProgramFolder;
  const std::string logName = LowerCase(facts.ExecutableBaseName) + ".log";

  std::string dataFolder;
  if (facts.InstalledLayoutPossible && NameOf(where.ProgramFolder, separator) == "games") {
    std::string prefix = FolderOf(where.ProgramFolder, separator);
    if (prefix == "/") prefix.clear();
    dataFolder = prefix + "/" + kDataFolderBelowPrefix;
    where.Installed = facts.FolderExists && facts.FolderExists(dataFolder);
  }

  if (!where.Installed) {
    where.SettingsPath = Join(where.ProgramFolder, "Zandrell.ini", separator);
    where.LogPath = Join(where.ProgramFolder, logName, separator);
    where.BookFolders = {where.ProgramFolder};
    return where;
  }

  const std::string configFolder = BaseFolder(facts.ConfigHome, facts.Home, ".config");
  const std::string stateFolder = BaseFolder(facts.StateHome, facts.Home, ".local/state");
  where.DefaultSettingsPath = dataFolder + "/Zandrell.ini";
  if (!configFolder.empty()) {
    const std::string userFolder = configFolder + "/zandrell";
    where.SettingsPath = userFolder + "/Zandrell.ini";
    where.BookFolders.push_back(userFolder);
  }
  where.BookFolders.push_back(dataFolder);
  if (!stateFolder.empty()) where.LogPath = stateFolder + "/zandrell/" + logName;
  return where;
}

LocationFacts PlatformLocationFacts() {
  LocationFacts facts;
  facts.ProgramFolder = platform::ProgramFolder();
  facts.ExecutableBaseName = platform::ExecutableBaseName();
  facts.Separator = platform::kPathSeparator;
  facts.InstalledLayoutPossible = platform::kPathSeparator == '/';
  facts.ConfigHome = platform::EnvironmentVariable("XDG_CONFIG_HOME");
  facts.StateHome = platform::EnvironmentVariable("XDG_STATE_HOME");
  facts.Home = platform::HomeFolder();
  facts.FolderExists = platform::FolderExists;
  return facts;
}

void UseFileLocations(Engine& e, const FileLocations& locations) {
  e.shell.InstalledCopy = locations.Installed;
  e.shell.ProgramFolder = locations.ProgramFolder;
  e.shell.SettingsPath = locations.SettingsPath;
  e.shell.DefaultSettingsPath = locations.DefaultSettingsPath;
  e.shell.LogPath = locations.LogPath;
  e.shell.BookFolders = locations.BookFolders;
}

std::string FindBookFile(const Engine& e, const std::string& name) {
  const char separator = platform::kPathSeparator;
  for (char c : name) {
    if (IsSeparator(c, separator)) return name;
  }
  const std::vector<std::string>& folders = e.shell.BookFolders;
  if (folders.empty()) return e.shell.ProgramFolder + separator + name;
  for (const std::string& folder : folders) {
    std::string path = Join(folder, name, separator);
    // Anything the user keeps under that name is the book meant, even when it is no
    // file: the error then names it and says what it is.
    if (platform::KindOfFile(path) != platform::FileKind::kNothing) return path;
  }
  return Join(folders.back(), name, separator);
}

}  // namespace zandrell
