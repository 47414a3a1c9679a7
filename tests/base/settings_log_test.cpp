#include <gtest/gtest.h>

#include "base/log.h"
#include "base/settings.h"
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
  t.Folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=\r\n");
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
  t->shell.SettingsPath = t.Folder().File("missing-folder/Zandrell.ini");
  EXPECT_FALSE(WriteSetting(*t, "Winboard", "x"));
  EXPECT_NE(t.Log().find(" - Error writing setting: Winboard=x\r\n"), std::string::npos);
}

TEST(Settings, ALargeFileIsReadOnceAtStartAndAgainOnlyWhenItChanges) {
  TestEngine t;
  std::string text = "[Other]\r\n";
  while (text.size() < 10u * 1024 * 1024) {
    text += "Key" + std::to_string(text.size()) + "=" + std::string(60, 'v') + "\r\n";
  }
  text += "[Engine]\r\nPawnValue=120\r\nContempt=-7\r\nOpeningBook=none.txt\r\n";
  t.Folder().Write("Zandrell.ini", text);
  t.Init();  // six evaluation settings and the book
  EXPECT_EQ(t->shell.Settings.ReadCount, 1);
  EXPECT_EQ(t->tables.PawnValue, 120);
  EXPECT_EQ(t->tables.Contempt, -7);
  EXPECT_EQ(ReadSetting(*t, "Seek1", "5 0 f"), "5 0 f");
  EXPECT_EQ(t->shell.Settings.ReadCount, 1);

  // Edited behind the engine's back: read again, once.
  t.Folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=3 2 r\r\n");
  EXPECT_EQ(ReadSetting(*t, "Seek1", "5 0 f"), "3 2 r");
  EXPECT_EQ(ReadSetting(*t, "PawnValue", "100"), "100");
  EXPECT_EQ(t->shell.Settings.ReadCount, 2);

  // The engine's own write changes the file and the kept copy alike.
  ASSERT_TRUE(WriteSetting(*t, "Seek2", "9 9 u"));
  EXPECT_EQ(ReadSetting(*t, "Seek2", ""), "9 9 u");
  EXPECT_EQ(ReadSetting(*t, "Seek1", ""), "3 2 r");
  EXPECT_EQ(t->shell.Settings.ReadCount, 2);
  EXPECT_NE(t.Folder().Read("Zandrell.ini").find("Seek2=9 9 u"), std::string::npos);
  TestEngine fresh;
  fresh->shell.SettingsPath = t->shell.SettingsPath;
  EXPECT_EQ(ReadSetting(*fresh, "Seek2", ""), "9 9 u");
}

TEST(Log, WritesOnlyWhenEnabledOrForced) {
  TestEngine t;
  WriteLog(*t, "quiet", false, false);
  EXPECT_FALSE(t.Folder().Exists("zandrell.log"));
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
  t->shell.LogPath = t.Folder().File("no/such/folder/zandrell.log");
  WriteLog(*t, "entry", true, true);
  SUCCEED();
}

}  // namespace
}  // namespace zandrell
