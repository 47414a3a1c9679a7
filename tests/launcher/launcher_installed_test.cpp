// The launcher of an installed copy: the book editor gets the book where the engine
// finds it, and "Play" stores the interface's folder in the user's settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_locations.h"
#include "base/settings.h"
#include "launcher/launcher_commands.h"
#include "platform/platform.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;

struct StartsRecorder final : LauncherHost {
  std::vector<std::string> Programs, Arguments;
  platform::StartOutcome StartProgram(const std::string& program,
                                      const std::string& args) override {
    Programs.push_back(program);
    Arguments.push_back(args);
    return platform::StartOutcome::kStarted;
  }
  bool FileExists(const std::string&) override { return true; }
  std::string FindProgramFolder(const std::string&) override { return "/usr/games"; }
  std::string BrowseForFolder(const std::string&) override { return {}; }
  void ShowCriticalMessage(const std::string&) override {}
  void SetBusyPointer(bool) override {}
};

TEST(InstalledLauncher,
     TheBookEditorGetsTheBookWhereTheEngineFindsItAndPlayWritesTheUsersSettings) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  testing::TestEngine t;
  const fs::path root = t.Folder().Path();
  const fs::path data = root / "usr/share/games/zandrell";
  fs::create_directories(root / "usr/games");
  fs::create_directories(data);
  t.Folder().Write("usr/share/games/zandrell/Zandrell.ini", "[Engine]\nOpeningBook=book.txt\n");
  t.Folder().Write("usr/share/games/zandrell/book.txt", " e2e4\n");
  LocationFacts facts;
  facts.ProgramFolder = (root / "usr/games").string();
  facts.ExecutableBaseName = "zandrell";
  facts.InstalledLayoutPossible = true;
  facts.Home = (root / "home").string();
  facts.FolderExists = platform::FolderExists;
  UseFileLocations(*t, LocateFiles(facts));

  platform::LauncherConventions conventions;
  conventions.Separator = '/';
  conventions.InterfaceExecutable = "xboard";
  conventions.BookEditorExecutable = "quiretto";
  conventions.EngineCommand = "zandrell -xboard";
  conventions.LookOnSearchPath = true;
  StartsRecorder host;
  Launcher launcher{*t, host, conventions, {}};

  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.Programs.at(0), (root / "usr/games/quiretto").string());
  EXPECT_EQ(host.Arguments.at(0), " " + (data / "book.txt").string());

  fs::create_directories(root / "home/.config/zandrell");
  t.Folder().Write("home/.config/zandrell/book.txt", " d2d4\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.Arguments.at(1), " " + (root / "home/.config/zandrell/book.txt").string());

  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(host.Programs.at(2), "/usr/games/xboard");
  EXPECT_NE(t.Folder().Read("home/.config/zandrell/Zandrell.ini").find("Winboard=/usr/games"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(data / "Zandrell.ini.tmp"));
}

}  // namespace
}  // namespace zandrell
