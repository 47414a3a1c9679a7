#include "base/file_locations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/log.h"
#include "base/settings.h"
#include "platform/child_process.h"
#include "platform/platform.h"
#include "support/temp_folder.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TestEngine;

LocationFacts InstalledFacts() {
  LocationFacts facts;
  facts.ProgramFolder = "/usr/games";
  facts.ExecutableBaseName = "zandrell";
  facts.InstalledLayoutPossible = true;
  facts.Home = "/home/ann";
  facts.FolderExists = [](const std::string& path) { return path == "/usr/share/games/zandrell"; };
  return facts;
}

TEST(FileLocations, AnInstalledCopyUsesTheUsersFoldersAndItsDataFolder) {
  FileLocations where = LocateFiles(InstalledFacts());
  EXPECT_TRUE(where.Installed);
  EXPECT_EQ(where.ProgramFolder, "/usr/games");
  EXPECT_EQ(where.SettingsPath, "/home/ann/.config/zandrell/Zandrell.ini");
  EXPECT_EQ(where.DefaultSettingsPath, "/usr/share/games/zandrell/Zandrell.ini");
  EXPECT_EQ(where.LogPath, "/home/ann/.local/state/zandrell/zandrell.log");
  EXPECT_EQ(where.BookFolders,
            (std::vector<std::string>{"/home/ann/.config/zandrell", "/usr/share/games/zandrell"}));

  LocationFacts facts = InstalledFacts();
  facts.ConfigHome = "/srv/cfg";
  facts.StateHome = "/srv/state";
  where = LocateFiles(facts);
  EXPECT_EQ(where.SettingsPath, "/srv/cfg/zandrell/Zandrell.ini");
  EXPECT_EQ(where.LogPath, "/srv/state/zandrell/zandrell.log");

  // Relative XDG values are not to be used; home decides then.
  facts.ConfigHome = "cfg";
  facts.StateHome = "state";
  where = LocateFiles(facts);
  EXPECT_EQ(where.SettingsPath, "/home/ann/.config/zandrell/Zandrell.ini");
  EXPECT_EQ(where.LogPath, "/home/ann/.local/state/zandrell/zandrell.log");

  // No home at all: packaged defaults only, no log.
  facts.ConfigHome.clear();
  facts.StateHome.clear();
  facts.Home.clear();
  where = LocateFiles(facts);
  EXPECT_TRUE(where.Installed);
  EXPECT_EQ(where.SettingsPath, "");
  EXPECT_EQ(where.LogPath, "");
  EXPECT_EQ(where.BookFolders, std::vector<std::string>{"/usr/share/games/zandrell"});
}

TEST(FileLocations, EveryOtherCopyKeepsItsFilesBesideTheExecutable) {
  auto expectPortable = [](const LocationFacts& facts, const std::string& folder) {
    FileLocations where = LocateFiles(facts);
    EXPECT_FALSE(where.Installed) << folder;
    EXPECT_EQ(where.SettingsPath, folder + "/Zandrell.ini");
    EXPECT_EQ(where.DefaultSettingsPath, "");
    EXPECT_EQ(where.LogPath, folder + "/zandrell.log");
    EXPECT_EQ(where.BookFolders, std::vector<std::string>{folder});
  };
  LocationFacts facts = InstalledFacts();
  facts.FolderExists = [](const std::string&) { return false; };  // no data folder
  expectPortable(facts, "/usr/games");

  facts = InstalledFacts();
  facts.ProgramFolder = "/home/ann/zandrell/build";  // a build tree
  expectPortable(facts, "/home/ann/zandrell/build");

  facts = InstalledFacts();
  facts.InstalledLayoutPossible = false;  // Windows
  facts.ProgramFolder = "C:\\games";
  facts.Separator = '\\';
  facts.ExecutableBaseName = "Zandrell";
  FileLocations where = LocateFiles(facts);
  EXPECT_FALSE(where.Installed);
  EXPECT_EQ(where.SettingsPath, "C:\\games\\Zandrell.ini");
  EXPECT_EQ(where.LogPath, "C:\\games\\zandrell.log");
}

// An in-process engine laid out as an installed copy under a temporary prefix.
struct InstalledEngine {
  TestEngine T;
  std::string Data;
  std::string User;
  std::string State;
  InstalledEngine() {
    const fs::path root = T.Folder().Path();
    fs::create_directories(root / "prefix/games");
    fs::create_directories(root / "prefix/share/games/zandrell");
    LocationFacts facts;
    facts.ProgramFolder = (root / "prefix/games").string();
    facts.ExecutableBaseName = "zandrell";
    facts.Separator = platform::kPathSeparator;
    facts.InstalledLayoutPossible = true;
    facts.Home = (root / "home").string();
    facts.FolderExists = platform::FolderExists;
    UseFileLocations(*T, LocateFiles(facts));
    Data = (root / "prefix/share/games/zandrell").string();
    User = (root / "home/.config/zandrell").string();
    State = (root / "home/.local/state/zandrell").string();
  }
};

void WriteFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(InstalledCopy, SettingsFallBackKeyByKeyAndWritesCreateTheUsersFolder) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  ASSERT_TRUE(e.shell.InstalledCopy);
  WriteFile(installed.Data + "/Zandrell.ini", "[Engine]\nOpeningBook=book.txt\nContempt=7\n");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "book.txt");
  EXPECT_EQ(ReadSetting(e, "PawnValue", "100"), "100");

  ASSERT_TRUE(WriteSetting(e, "Winboard", "/usr/games"));
  EXPECT_TRUE(fs::exists(installed.User + "/Zandrell.ini"));
  WriteFile(installed.User + "/Zandrell.ini", "[Engine]\nContempt=3\nWinboard=/opt\n");
  EXPECT_EQ(ReadSetting(e, "Contempt", "0"), "3");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "book.txt");
  EXPECT_EQ(ReadSetting(e, "Winboard", ""), "/opt");
  EXPECT_FALSE(fs::exists(installed.Data + "/Zandrell.ini.tmp"));

  // The empty-value rule holds across the two files: the user's empty value wins.
  WriteFile(installed.User + "/Zandrell.ini", "[Engine]\nOpeningBook=\n");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "");
  EXPECT_NE(
      ReadFile(installed.State + "/zandrell.log").find("Error retrieving setting: OpeningBook"),
      std::string::npos);
}

TEST(InstalledCopy, TheLogGoesToTheStateFolderCreatedOnTheFirstEntry) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  WriteLog(e, "quiet", false, false);
  EXPECT_FALSE(fs::exists(installed.State));
  e.shell.LogEnabled = true;
  WriteLog(e, "first", false, false);
  WriteLog(e, "second", false, false);
  EXPECT_EQ(ReadFile(installed.State + "/zandrell.log"), "first\r\nsecond\r\n");
  EXPECT_EQ(fs::status(installed.State).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(InstalledCopy, ABookNameIsLookedForInTheUsersFolderThenTheDataFolder) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  EXPECT_EQ(FindBookFile(e, "book.txt"), installed.Data + "/book.txt");  // found nowhere
  WriteFile(installed.Data + "/book.txt", " e2e4\n");
  EXPECT_EQ(FindBookFile(e, "book.txt"), installed.Data + "/book.txt");
  WriteFile(installed.User + "/book.txt", " d2d4\n");
  EXPECT_EQ(FindBookFile(e, "book.txt"), installed.User + "/book.txt");
  EXPECT_EQ(FindBookFile(e, "/elsewhere/book.txt"), "/elsewhere/book.txt");
  EXPECT_EQ(FindBookFile(e, "books/book.txt"), "books/book.txt");
}

// The built engine copied into <prefix>/games beside <prefix>/share/games/zandrell,
// run from another folder with its own home.
TEST(InstalledCopy, TheBuiltEngineRecognisesTheLayoutAndWritesOnlyInTheUsersFolders) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  TempFolder root;
  const fs::path prefix = root.Path() / "prefix";
  const fs::path data = prefix / "share/games/zandrell";
  fs::create_directories(prefix / "games");
  fs::create_directories(data);
  fs::create_directories(root.Path() / "elsewhere");
  fs::copy_file(ZANDRELL_BINARY, prefix / "games/zandrell");
  WriteFile((data / "Zandrell.ini").string(), "[Engine]\nOpeningBook=book.txt\n");
  WriteFile((data / "book.txt").string(), " e2e4e7e5\n");
  std::set<std::string> before;
  for (const auto& entry : fs::recursive_directory_iterator(prefix))
    before.insert(entry.path().string());

  const std::string home = (root.Path() / "home").string();
  auto play = [&](const std::string& expected) {
    platform::ChildProcess engine;
    ASSERT_TRUE(
        engine.Start((prefix / "games/zandrell").string(), {"-xboard", "-log"},
                     {"HOME=" + home, "XDG_CONFIG_HOME=", "XDG_STATE_HOME=", "ZANDRELL_HEADLESS=1"},
                     (root.Path() / "elsewhere").string()));
    engine.Write("new\ne2e4\n");
    std::string out = engine.ReadUntil(expected, 10000);
    EXPECT_NE(out.find(expected), std::string::npos) << out;
    engine.Write("quit\n");
    engine.ReadToEnd(10000);
    engine.Wait(10000);
  };
  play("move e7e5");
  // The user's own book of the same name comes first; the other keys stay packaged.
  WriteFile(home + "/.config/zandrell/book.txt", " e2e4c7c5\n");
  play("move c7c5");

  std::string log = ReadFile(home + "/.local/state/zandrell/zandrell.log");
  EXPECT_NE(log.find("Program terminated."), std::string::npos);
  std::set<std::string> after;
  for (const auto& entry : fs::recursive_directory_iterator(prefix))
    after.insert(entry.path().string());
  EXPECT_EQ(before, after);
  EXPECT_TRUE(fs::is_empty(root.Path() / "elsewhere"));
}

}  // namespace
}  // namespace zandrell
