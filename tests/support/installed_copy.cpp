#include "support/installed_copy.h"

#include <filesystem>

#include "base/file_locations.h"
#include "platform/platform.h"

namespace zandrell::testing {

void LayOutInstalledCopy(TestEngine& t) {
  const std::filesystem::path root = t.Folder().Path();
  std::filesystem::create_directories(root / kInstalledPrograms);
  std::filesystem::create_directories(root / kInstalledData);
  LocationFacts facts;
  facts.ProgramFolder = (root / "prefix/games").string();
  facts.ExecutableBaseName = "zandrell";
  facts.InstalledLayoutPossible = true;
  facts.Home = (root / "home").string();
  facts.FolderExists = platform::FolderExists;
  UseFileLocations(*t, LocateFiles(facts));
}

}  // namespace zandrell::testing
