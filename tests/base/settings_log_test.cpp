#include <gtest/gtest.h>

#include "base/log.h"
#include "base/settings.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

// A missing key takes its default; an empty result, read or stored, is logged;
// a write is read back, and one that fails is logged and reported.
TEST(Settings, DefaultsEmptyValuesAndWrites) {
  TestEngine t;
  EXPECT_EQ(ReadSetting(*t, "PawnValue", "100"), "100");
  EXPECT_EQ(t.Log(), "");
  EXPECT_EQ(ReadSetting(*t, "OpeningBook", ""), "");
  const std::string entry = " - Error retrieving setting: OpeningBook\r\n";
  ASSERT_GT(t.Log().size(), entry.size());
  EXPECT_EQ(t.Log().substr(t.Log().size() - entry.size()), entry);

  t.Folder().Write("Zandrell.ini", "[Engine]\r\nSeek1=\r\n");
  EXPECT_EQ(ReadSetting(*t, "Seek1", "5 0 f"), "");
  EXPECT_NE(t.Log().find("Error retrieving setting: Seek1"), std::string::npos);

  ASSERT_TRUE(WriteSetting(*t, "Winboard", "/usr/games"));
  EXPECT_EQ(ReadSetting(*t, "winboard", ""), "/usr/games");
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

// Two million short lines with the keys at the end: each key is kept once, so
// the copy is a few bytes, not the section's text.
TEST(Settings, AHugeSectionIsKeptAsOneEntryPerKey) {
  TestEngine t;
  std::string text = "[Engine]\r\n";
  text.reserve(10u * 1024 * 1024 + 100);
  for (int i = 0; i < 2000000; ++i) text += i % 2 == 0 ? "x=1\r\n" : "X=2\r\n";
  text += "PawnValue=120\r\nOpeningBook=none.txt\r\n";
  t.Folder().Write("Zandrell.ini", text);
  EXPECT_EQ(ReadSetting(*t, "PawnValue", "100"), "120");
  EXPECT_EQ(ReadSetting(*t, "X", ""), "1");
  EXPECT_EQ(ReadSetting(*t, "openingbook", ""), "none.txt");
  EXPECT_EQ(t->shell.Settings.Table.Count, 3u);
  EXPECT_LT(t->shell.Settings.Table.Records.size(), 64u);
}

TEST(Log, WritesOnlyWhenEnabledOrForcedAndSkipsAnUnwritableLog) {
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
  t->shell.LogPath = t.Folder().File("no/such/folder/zandrell.log");
  WriteLog(*t, "entry", true, true);  // nothing to see, nothing to crash
}

}  // namespace
}  // namespace zandrell
