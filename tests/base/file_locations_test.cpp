#include "base/file_locations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/log.h"
#include "base/settings.h"
#include "platform/platform.h"
#include "support/installed_copy.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;
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

struct InstalledEngine {
  TestEngine T;
  InstalledEngine() { testing::LayOutInstalledCopy(T); }
  std::string Path(const std::string& name) { return T.Folder().File(name); }
  void Write(const std::string& name, const std::string& text) { T.Folder().Write(name, text); }
  std::string Read(const std::string& name) { return T.Folder().Read(name); }
};

TEST(InstalledCopy, SettingsFallBackKeyByKeyAndWritesCreateTheUsersFolder) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  ASSERT_TRUE(e.shell.InstalledCopy);
  const std::string data = testing::kInstalledData, user = testing::kUserSettings;
  installed.Write(data + "Zandrell.ini", "[Engine]\nOpeningBook=book.txt\nContempt=7\n");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "book.txt");
  EXPECT_EQ(ReadSetting(e, "PawnValue", "100"), "100");

  ASSERT_TRUE(WriteSetting(e, "Winboard", "/usr/games"));
  EXPECT_NE(installed.Read(user + "Zandrell.ini").find("Winboard=/usr/games"), std::string::npos);
  installed.Write(user + "Zandrell.ini", "[Engine]\nContempt=3\nWinboard=/opt\n");
  EXPECT_EQ(ReadSetting(e, "Contempt", "0"), "3");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "book.txt");
  EXPECT_FALSE(fs::exists(installed.Path(data + "Zandrell.ini.tmp")));

  // The empty-value rule holds across the two files: the user's empty value wins.
  installed.Write(user + "Zandrell.ini", "[Engine]\nOpeningBook=\n");
  EXPECT_EQ(ReadSetting(e, "OpeningBook", ""), "");
  EXPECT_NE(installed.Read(std::string(testing::kUserState) + "zandrell.log")
                .find("Error retrieving setting: OpeningBook"),
            std::string::npos);
}

TEST(InstalledCopy, TheLogGoesToTheStateFolderCreatedOnTheFirstEntry) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  const std::string state = testing::kUserState;
  WriteLog(e, "quiet", false, false);
  EXPECT_FALSE(fs::exists(installed.Path(state)));
  e.shell.LogEnabled = true;
  WriteLog(e, "first", false, false);
  WriteLog(e, "second", false, false);
  EXPECT_EQ(installed.Read(state + "zandrell.log"), "first\r\nsecond\r\n");
  EXPECT_EQ(fs::status(installed.Path(state)).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST(InstalledCopy, ABookNameIsLookedForInTheUsersFolderThenTheDataFolder) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  Engine& e = *installed.T;
  const std::string data = testing::kInstalledData, user = testing::kUserSettings;
  EXPECT_EQ(FindBookFile(e, "book.txt"), installed.Path(data + "book.txt"));  // found nowhere
  installed.Write(user + "book.txt", " d2d4\n");
  EXPECT_EQ(FindBookFile(e, "book.txt"), installed.Path(user + "book.txt"));
  EXPECT_EQ(FindBookFile(e, "/elsewhere/book.txt"), "/elsewhere/book.txt");
  EXPECT_EQ(FindBookFile(e, "books/book.txt"), "books/book.txt");
}

}  // namespace
}  // namespace zandrell
