#include <gtest/gtest.h>

#include "base/log.h"
#include "base/settings.h"
#include "base/wire.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

TEST(Settings, MissingFileGivesDefaultsAndAnEmptyResultIsLogged) {
  TestEngine t;
  EXPECT_EQ(ReadSetting(*t, "PawnValue", "100"), "100");
  EXPECT_EQ(t.Log(), "");
  EXPECT_EQ(ReadSetting(*t, "OpeningBook", ""), "");
  std::string log = t.Log();
  const std::string entry = " - Error retrieving setting: OpeningBook\r\n";
  ASSERT_GT(log.size(), entry.size());
  EXPECT_EQ(log.substr(log.size() - entry.size()), entry);
}

TEST(Settings, AnEmptyStoredValueActsLikeAMissingKeyWithoutDefault) {
  TestEngine t;
  t.folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=\r\n");
  EXPECT_EQ(ReadSetting(*t, "Seek1", "5 0 f"), "");
  EXPECT_NE(t.Log().find("Error retrieving setting: Seek1"), std::string::npos);
}

TEST(Settings, WrittenValuesAreReadBack) {
  TestEngine t;
  ASSERT_TRUE(WriteSetting(*t, "Winboard", "/usr/games"));
  EXPECT_EQ(ReadSetting(*t, "winboard", ""), "/usr/games");
  EXPECT_EQ(t.Log(), "");
}

TEST(Settings, AFailedWriteIsLoggedAndReported) {
  TestEngine t;
  t->shell.SettingsPath = t.folder().File("missing-folder/Zandrell.ini");
  EXPECT_FALSE(WriteSetting(*t, "Winboard", "x"));
  EXPECT_NE(t.Log().find(" - Error writing setting: Winboard=x\r\n"), std::string::npos);
}

TEST(Log, WritesOnlyWhenEnabledOrForced) {
  TestEngine t;
  WriteLog(*t, "quiet", false, false);
  EXPECT_FALSE(t.folder().Exists("zandrell.log"));
  WriteLog(*t, "forced", false, true);
  t->shell.LogEnabled = true;
  WriteLog(*t, "plain", false, false);
  WriteLog(*t, "stamped", true, false);
  std::string log = t.Log();
  EXPECT_EQ(log.substr(0, 15), "forced\r\nplain\r\n");
  EXPECT_NE(log.find(" - stamped\r\n"), std::string::npos);
}

TEST(Log, AnUnwritableLogIsSkippedSilently) {
  TestEngine t;
  t->shell.LogEnabled = true;
  t->shell.LogPath = t.folder().File("no/such/folder/zandrell.log");
  WriteLog(*t, "entry", true, true);
  SUCCEED();
}

TEST(Wire, SendLineFramesTheTextWithLineFeeds) {
  TestEngine t;
  SendLine(*t, "move e2e4");
  std::string bytes = t.TakeOutput();
  EXPECT_EQ(bytes.size(), 11u);
  EXPECT_EQ(bytes, "\nmove e2e4\n");
  SendLine(*t, "");
  EXPECT_EQ(t.TakeOutput(), "\n\n");
}

}  // namespace
}  // namespace zandrell
