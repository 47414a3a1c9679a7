#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

using platform::IniRead;
using platform::IniWrite;
using testing::TempFolder;

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
  TempFolder folder;
  const std::string file = folder.File("Zandrell.ini");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", "100"), "100");
  folder.Write("Zandrell.ini", "[Other]\r\nPawnValue=7\r\n");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", "100"), "100");
  folder.Write("Zandrell.ini", "[Engine]\r\nRookValue=7\r\n");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", "100"), "100");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", ""), "");
}

TEST(IniFile, NamesIgnoreCaseAndValuesAreTrimmedAndUnquoted) {
  TempFolder folder;
  const std::string file = folder.File("Zandrell.ini");
  folder.Write("Zandrell.ini",
               "; comment\r\n[engine]\r\n  pawnVALUE =  120  \r\nSeek1=\"5 0 f\"\r\nEmpty=\r\n"
               "Seek2= 'x' \r\n");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", "100"), "120");
  EXPECT_EQ(IniRead(file, "ENGINE", "seek1", ""), "5 0 f");
  EXPECT_EQ(IniRead(file, "Engine", "Seek2", ""), "x");
  EXPECT_EQ(IniRead(file, "Engine", "Empty", "dflt"), "");
}

TEST(IniFile, LongValuesAreCutTo259Characters) {
  TempFolder folder;
  folder.Write("Zandrell.ini", "[Engine]\nOpeningBook=" + std::string(400, 'b') + "\n");
  EXPECT_EQ(IniRead(folder.File("Zandrell.ini"), "Engine", "OpeningBook", "").size(), 259u);
}

TEST(IniFile, WriteCreatesTheFileAndSection) {
  TempFolder folder;
  const std::string file = folder.File("Zandrell.ini");
  ASSERT_TRUE(IniWrite(file, "Engine", "Winboard", "/opt/xboard"));
  EXPECT_EQ(IniRead(file, "Engine", "Winboard", ""), "/opt/xboard");

  folder.Write("Zandrell.ini", "[Other]\r\nA=1\r\n");
  ASSERT_TRUE(IniWrite(file, "Engine", "Winboard", "C:\\Games"));
  EXPECT_EQ(IniRead(file, "Engine", "Winboard", ""), "C:\\Games");
  EXPECT_EQ(IniRead(file, "Other", "A", ""), "1");
}

#ifndef _WIN32  // Windows' own profile functions lay the file out their way
TEST(IniFile, WriteReplacesOnlyThatKeyAndKeepsEveryOtherLine) {
  TempFolder folder;
  const std::string file = folder.File("Zandrell.ini");
  folder.Write("Zandrell.ini",
               "; my settings\r\n[Engine]\r\nPawnValue=90\r\nwinboard=old\r\nContempt=5\r\n"
               "\r\n[Later]\r\nX=y\r\n");
  ASSERT_TRUE(IniWrite(file, "Engine", "Winboard", "new"));
  EXPECT_EQ(folder.Read("Zandrell.ini"),
            "; my settings\r\n[Engine]\r\nPawnValue=90\r\nWinboard=new\r\nContempt=5\r\n"
            "\r\n[Later]\r\nX=y\r\n");
}
#endif

TEST(IniFile, WriteAddsAMissingKeyInsideItsSection) {
  TempFolder folder;
  const std::string file = folder.File("Zandrell.ini");
  folder.Write("Zandrell.ini", "[Engine]\r\nPawnValue=90\r\n\r\n[Later]\r\nX=y\r\n");
  ASSERT_TRUE(IniWrite(file, "Engine", "Winboard", "w"));
  EXPECT_EQ(IniRead(file, "Engine", "Winboard", ""), "w");
  EXPECT_EQ(IniRead(file, "Later", "X", ""), "y");
  EXPECT_EQ(IniRead(file, "Later", "Winboard", "none"), "none");
  EXPECT_EQ(IniRead(file, "Engine", "PawnValue", ""), "90");
}

}  // namespace
}  // namespace zandrell
