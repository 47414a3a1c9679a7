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

// Where settings, log and books are, as "settings | default settings | log | book folders".
std::string Where(const LocationFacts& facts) {
  const FileLocations where = LocateFiles(facts);
  std::string text =
      where.SettingsPath + " | " + where.DefaultSettingsPath + " | " + where.LogPath + " |";
  for (const std::string& folder : where.BookFolders) text += " " + folder;
  return (where.Installed ? "installed: " : "portable: ") + text;
}

TEST(FileLocations, AnInstalledCopyUsesTheUsersFoldersAndItsDataFolder) {
  LocationFacts facts = InstalledFacts();
  EXPECT_EQ(Where(facts),
            "installed: /home/ann/.config/zandrell/Zandrell.ini | "
            "/usr/share/games/zandrell/Zandrell.ini | /home/ann/.local/state/zandrell/zandrell.log "
            "| /home/ann/.config/zandrell /usr/share/games/zandrell");
  EXPECT_EQ(LocateFiles(facts).ProgramFolder, "/usr/games");
  facts.ConfigHome = "/srv/cfg";
  facts.StateHome = "/srv/state";
  EXPECT_EQ(Where(facts),
            "installed: /srv/cfg/zandrell/Zandrell.ini | /usr/share/games/zandrell/Zandrell.ini | "
            "/srv/state/zandrell/zandrell.log | /srv/cfg/zandrell /usr/share/games/zandrell");
  // Relative XDG values are not to be used; home decides then.
  facts.ConfigHome = "cfg";
  facts.StateHome = "state";
  EXPECT_EQ(Where(facts), Where(InstalledFacts()));
  // No home at all: packaged defaults only, no log.
  facts.ConfigHome.clear();
  facts.StateHome.clear();
  facts.Home.clear();
  EXPECT_EQ(Where(facts),
            "installed:  | /usr/share/games/zandrell/Zandrell.ini |  | /usr/share/games/zandrell");
}

TEST(FileLocations, EveryOtherCopyKeepsItsFilesBesideTheExecutable) {
  LocationFacts facts = InstalledFacts();
  facts.FolderExists = [](const std::string&) { return false; };  // no data folder
  EXPECT_EQ(Where(facts),
            "portable: /usr/games/Zandrell.ini |  | /usr/games/zandrell.log | /usr/games");
  facts = InstalledFacts();
  facts.ProgramFolder = "/home/ann/zandrell/build";  // a build tree
  EXPECT_EQ(Where(facts),
            "portable: /home/ann/zandrell/build/Zandrell.ini |  | "
            "/home/ann/zandrell/build/zandrell.log | /home/ann/zandrell/build");
  facts = InstalledFacts();
  facts.InstalledLayoutPossible = false;  // Windows
  facts.ProgramFolder = "C:\\games";
  facts.Separator = '\\';
  facts.ExecutableBaseName = "Zandrell";
  EXPECT_EQ(Where(facts),
            "portable: C:\\games\\Zandrell.ini |  | C:\\games\\zandrell.log | C:\\games");
}

struct InstalledEngine {
  TestEngine T;
  InstalledEngine() { testing::LayOutInstalledCopy(T); }
  std::string Path(const std::string& name) { return T.Folder().File(name); }
  void Write(const std::string& name, const std::string& text) { T.Folder().Write(name, text); }
  std::string Read(const std::string& name) { return T.Folder().Read(name); }
};

// The UCI program beside the engine logs where the engine does.
TEST(FileLocations, TheUciProgramTakesTheEnginesName) {
  EXPECT_EQ(EngineBaseName("zandrell-uci"), "zandrell");
  EXPECT_EQ(EngineBaseName("ZandrellUCI"), "Zandrell");
  EXPECT_EQ(EngineBaseName("myengine_uci"), "myengine");
  EXPECT_EQ(EngineBaseName("zandrell"), "zandrell");
  EXPECT_EQ(EngineBaseName("uci"), "uci");
}

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

// The user's own dirbook.txt is a folder: the log names it and says so, instead
// of reporting the packaged place, where no such book is, as missing.
TEST(InstalledCopy, ABookInTheUsersFolderThatIsNoFileIsNamedInTheLog) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  InstalledEngine installed;
  const std::string user = testing::kUserSettings;
  installed.Write(user + "Zandrell.ini", "[Engine]\nOpeningBook=dirbook.txt\n");
  fs::create_directory(installed.Path(user + "dirbook.txt"));
  installed.T.Init();
  EXPECT_FALSE(installed.T->book.BookLoaded);
  EXPECT_EQ(installed.Read(std::string(testing::kUserState) + "zandrell.log"),
            "Opening book error: " + installed.Path(user + "dirbook.txt") +
                " is a folder, not a book file\r\n");
}

}  // namespace
}  // namespace zandrell
