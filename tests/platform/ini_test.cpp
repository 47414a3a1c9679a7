// The settings file's reader and writer against files on disk.
#include <gtest/gtest.h>

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
