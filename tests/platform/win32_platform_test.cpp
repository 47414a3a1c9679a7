// The Windows side of the platform layer: the string table resource, the profile
// functions and the engine's files, seen through the real system calls.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/settings.h"
#include "engine/engine.h"
#include "platform/platform.h"
#include "platform/string_table.h"
#include "platform/win32/string_resource.h"
#include "support/engine_process.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

using testing::EngineProcess;
using testing::TempFolder;

TEST(Win32Strings, TheResourceTableHoldsTheProgramsTextsInBothLanguages) {
  ASSERT_TRUE(platform::win32::HasStringTable());
  for (int id = 101; id <= 107; ++id) {
    EXPECT_EQ(platform::win32::LoadStringResource(id, false), platform::StringTableEntry(id, false))
        << id;
    EXPECT_EQ(platform::win32::LoadStringResource(id, true), platform::StringTableEntry(id, true))
        << id;
  }
  EXPECT_EQ(platform::win32::LoadStringResource(100, false), "");
  EXPECT_EQ(platform::win32::LoadStringResource(108, true), "");
  EXPECT_EQ(platform::LoadString(102),
            platform::StringTableEntry(102, platform::UserLanguageIsItalian()));
}

std::string WarningFor(const std::vector<std::string>& environment = {}) {
  EngineProcess engine;
  EXPECT_TRUE(engine.Start({"-xboard", "-bogus"}, environment));
  EXPECT_EQ(engine.Session(""), "");
  EXPECT_EQ(engine.Wait(), 0);
  return engine.ReadErrorToEnd();
}

// wine gives every process the interface language of LANG in the environment it
// was started with, so this suite has a run of its own with an Italian LANG
// (ZANDRELL_ITALIAN_RUN=1); in the ordinary run it has nothing to check.
class Win32Italian : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("ZANDRELL_ITALIAN_RUN") == nullptr) {
      GTEST_SKIP() << "runs with an Italian interface language only";
    }
    ASSERT_TRUE(platform::UserLanguageIsItalian())
        << "no Italian interface: under wine the host needs the it_IT.UTF-8 locale";
  }
};

TEST_F(Win32Italian, StartUpMessagesComeFromTheItalianTable) {
  EXPECT_EQ(platform::LoadString(101),
            "Impossibile determinare la frequenza del timer ad alta risoluzione!");
  EXPECT_EQ(platform::LoadString(107), "Esci");
  EXPECT_EQ(WarningFor(),
            "Warning: Argomento della riga di comando non supportato: -xboard -bogus\n");
}

TEST_F(Win32Italian, LogStampsFollowTheItalianFormat) {
  EngineProcess engine;
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  engine.Session("new\n");
  // Day before month, a 24-hour clock: no AM or PM.
  std::regex stamped(R"(\d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d{2}:\d{2} - New Game\r\n)");
  std::string log = engine.Folder().Read("zandrell.log");
  EXPECT_TRUE(std::regex_search(log, stamped)) << log;
}

TEST(Win32Strings, AnyOtherInterfaceLanguageGetsEnglish) {
  if (platform::UserLanguageIsItalian()) GTEST_SKIP() << "the interface is Italian";
  EXPECT_EQ(platform::LoadString(101), "High resolution timer not available!");
  EXPECT_EQ(WarningFor(), "Warning: Unsupported command line argument: -xboard -bogus\n");
}

TEST(Win32Profile, ASettingWrittenHereIsReadByTheEngine) {
  EngineProcess engine;
  auto writer = std::make_unique<Engine>();
  writer->shell.SettingsPath = engine.Folder().File("Zandrell.ini");
  writer->shell.LogPath = engine.Folder().File("writer.log");
  ASSERT_TRUE(WriteSetting(*writer, "Seek1", "7 0 u"));
  ASSERT_TRUE(WriteSetting(*writer, "Seek2", "9 9 r"));
  ASSERT_TRUE(WriteSetting(*writer, "Seek1", "3 2 u"));  // replaced in place
  EXPECT_EQ(engine.Folder().Read("Zandrell.ini"), "[Engine]\r\nSeek1=3 2 u\r\nSeek2=9 9 r\r\n");
  EXPECT_EQ(ReadSetting(*writer, "seek2", "x"), "9 9 r");

  ASSERT_TRUE(engine.Start());
  EXPECT_EQ(engine.Session("allseeks\n"), "\ntellics seek 3 2 u\n\ntellics seek 9 9 r\n");
  EXPECT_FALSE(engine.Folder().Exists("writer.log"));
}

std::set<std::string> NamesIn(const TempFolder& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(Win32Files, TheEnginesLogIsZandrellLogWithStampedCrLfEntries) {
  EngineProcess engine;
  ASSERT_EQ(engine.ExecutableName(), "Zandrell.exe");
  ASSERT_TRUE(engine.Start({"-xboard", "-log"}));
  EXPECT_EQ(engine.Session("new\ne2e4\n"), "");
  EXPECT_EQ(engine.Wait(), 0);
  // The folder holds the name exactly so; Exists() would not tell, names
  // compare without case here.
  ASSERT_EQ(NamesIn(engine.Folder()), (std::set<std::string>{"Zandrell.exe", "zandrell.log"}));
  std::string log = engine.Folder().Read("zandrell.log");
  // Every line ends in CR LF; the short date, a blank and the long time lead the
  // stamped entries.
  std::regex stamped(
      R"(\d{1,4}[./-]\d{1,2}[./-]\d{1,4} \d{1,2}[:.]\d{2}[:.]\d{2}( [AP]M)? - New Game)");
  EXPECT_TRUE(std::regex_search(log, stamped)) << log;
  EXPECT_EQ(log.find("\n\n"), std::string::npos) << log;
  for (std::size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(log[at - 1], '\r') << log;
  }
  EXPECT_NE(log.find("\r\nmove: e2e4\r\n"), std::string::npos) << log;
}

TEST(Win32Files, TheProgramFolderIsTheExecutablesWithoutATrailingSeparator) {
  std::string path = platform::ExecutablePath();
  std::string folder = platform::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(path.substr(0, folder.size() + 1), folder + "\\");
  EXPECT_EQ(platform::ExecutableBaseName(), "zandrell_tests");
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_FALSE(platform::FileExists(folder));
}

}  // namespace
}  // namespace zandrell
#endif  // _WIN32
