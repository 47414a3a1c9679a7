// The settings file's reader and writer against files on disk.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

using platform::IniRead;
using platform::IniWrite;

struct IniFile : ::testing::Test {
  testing::TempFolder Folder;
  const std::string File = Folder.File("Zandrell.ini");
};

TEST_F(IniFile, ReadsIgnoreCaseTrimUnquoteAndCutAndDefaultWhatIsMissing) {
  EXPECT_EQ(IniRead(File, "Engine", "PawnValue", "100"), "100");  // no file
  Folder.Write("Zandrell.ini", "[Other]\r\nPawnValue=7\r\n");
  EXPECT_EQ(IniRead(File, "Engine", "PawnValue", "100"), "100");  // no section
  Folder.Write("Zandrell.ini",
               "; comment\r\n[engine]\r\n  pawnVALUE =  120  \r\nSeek1=\"5 0 f\"\r\nEmpty=\r\n"
               "Seek2= 'x' \r\nOpeningBook=" +
                   std::string(400, 'b') + "\r\n");
  EXPECT_EQ(IniRead(File, "Engine", "RookValue", "500"), "500");  // no key
  EXPECT_EQ(IniRead(File, "Engine", "PawnValue", "100"), "120");
  EXPECT_EQ(IniRead(File, "ENGINE", "seek1", ""), "5 0 f");
  EXPECT_EQ(IniRead(File, "Engine", "Seek2", ""), "x");
  EXPECT_EQ(IniRead(File, "Engine", "Empty", "dflt"), "");
  EXPECT_EQ(IniRead(File, "Engine", "OpeningBook", ""), std::string(259, 'b'));
  EXPECT_EQ(IniRead(File, "Engine", "Missing", std::string(300, 'd')), std::string(259, 'd'));
}

TEST_F(IniFile, WritesCreateTheFileAndSectionAndAddAMissingKeyInsideItsSection) {
  ASSERT_TRUE(IniWrite(File, "Engine", "Winboard", "/opt/xboard"));
  EXPECT_EQ(IniRead(File, "Engine", "Winboard", ""), "/opt/xboard");

  Folder.Write("Zandrell.ini", "[Engine]\r\nPawnValue=90\r\n\r\n[Later]\r\nX=y\r\n");
  ASSERT_TRUE(IniWrite(File, "Engine", "Winboard", "C:\\Games"));
  ASSERT_TRUE(IniWrite(File, "Other", "A", "1"));
  EXPECT_EQ(IniRead(File, "Engine", "Winboard", ""), "C:\\Games");
  EXPECT_EQ(IniRead(File, "Engine", "PawnValue", ""), "90");
  EXPECT_EQ(IniRead(File, "Later", "Winboard", "none"), "none");
  EXPECT_EQ(IniRead(File, "Later", "X", ""), "y");
  EXPECT_EQ(IniRead(File, "Other", "A", ""), "1");
}

// The table parsed once reads every key as IniLookup reads it in the whole text:
// first of duplicates, any case, trimmed, unquoted, cut, sections in parts, any
// line ending; and a write reads back as the written file would.
TEST(IniTable, ReadsEveryKeyAsTheLineByLineLookupDoes) {
  const std::string text =
      "PawnValue=1\r\n[Engine]\r\n  pawnVALUE =  120  \r\nPawnValue=130\r\n"
      "Seek1=\"5 0 f\"\nSeek2= 'x' \rEmpty=\r\nno equals sign\r\n=nameless\r\n"
      "[Other]\r\nContempt=9\r\n[ engine ]\r\nContempt=4\r\nSeek1=late\r\n"
      "[Engine\r\nKnightValue=300\r\nOpeningBook=" +
      std::string(400, 'b') + "\r\nWinboard=a=b\r\n[Engine]";
  const platform::IniTable table = platform::IniParseSection(text, "Engine");
  for (const char* key :
       {"PawnValue", "pawnvalue", " PawnValue", "Seek1", "SEEK2", "Empty", "", "Contempt",
        "KnightValue", "OpeningBook", "Winboard", "Missing", "no equals sign", "[Engine"}) {
    const auto expected = platform::IniLookup(text, "Engine", key);
    const auto found = platform::IniTableLookup(table, key);
    ASSERT_EQ(found.has_value(), expected.has_value()) << key;
    if (found) {
      EXPECT_EQ(*found, *expected) << key;
    }
  }
  EXPECT_EQ(table.Count, 9u);

  platform::IniTable written = table;
  std::string file = text;
  const std::vector<std::pair<std::string, std::string>> writes = {
      {"seek1", " \"3 2 r\" "}, {"Seek3", "new"}, {"Winboard", std::string(300, 'w')}};
  for (const auto& [key, value] : writes) {
    ASSERT_TRUE(platform::IniTableAssign(written, key, value));
    file = platform::IniAssign(file, "Engine", key, value);
    EXPECT_EQ(platform::IniTableLookup(written, key), platform::IniLookup(file, "Engine", key))
        << key;
  }
  EXPECT_FALSE(platform::IniTableAssign(written, "Seek1", "two\r\nlines"));
  EXPECT_FALSE(platform::IniTableAssign(written, "a=b", "x"));
}

#ifndef _WIN32  // Windows' own profile functions lay the file out their way
TEST_F(IniFile, AWriteReplacesOnlyThatKeyAndKeepsEveryOtherLine) {
  Folder.Write("Zandrell.ini",
               "; my settings\r\n[Engine]\r\nPawnValue=90\r\nwinboard=old\r\nContempt=5\r\n"
               "\r\n[Later]\r\nX=y\r\n");
  ASSERT_TRUE(IniWrite(File, "Engine", "Winboard", "new"));
  EXPECT_EQ(Folder.Read("Zandrell.ini"),
            "; my settings\r\n[Engine]\r\nPawnValue=90\r\nWinboard=new\r\nContempt=5\r\n"
            "\r\n[Later]\r\nX=y\r\n");
}
#endif

}  // namespace
}  // namespace zandrell
