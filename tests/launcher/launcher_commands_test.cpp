// The launcher's commands on this system's conventions, against a fake of the
// system that records what is asked of it. Under wine the same cases run with the
// Windows names, separators and picker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/settings.h"
#include "launcher/launcher_commands.h"
#include "launcher/launcher_text.h"
#include "platform/platform.h"
#include "support/installed_copy.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using platform::StartOutcome;
using testing::TestEngine;

// Records what the commands ask of the system and answers as told.
struct FakeHost final : LauncherHost {
  struct Start {
    std::string Program, Arguments;
  };
  std::vector<Start> Starts;
  std::vector<std::string> PickerPrompts, Messages, ExistsAsked, PathAsked;
  std::vector<bool> Pointer;  // busy states in order
  std::string PickerAnswer;
  std::string PathAnswer;
  bool FilesExist = true;
  StartOutcome Outcome = StartOutcome::kStarted;

  StartOutcome StartProgram(const std::string& program, const std::string& arguments) override {
    Starts.push_back({program, arguments});
    return Outcome;
  }
  bool FileExists(const std::string& path) override {
    ExistsAsked.push_back(path);
    return FilesExist;
  }
  std::string FindProgramFolder(const std::string& name) override {
    PathAsked.push_back(name);
    return PathAnswer;
  }
  std::string BrowseForFolder(const std::string& prompt) override {
    PickerPrompts.push_back(prompt);
    return PickerAnswer;
  }
  void ShowCriticalMessage(const std::string& text) override { Messages.push_back(text); }
  void SetBusyPointer(bool busy) override { Pointer.push_back(busy); }
};

struct LauncherTest : ::testing::Test {
  TestEngine T;
  FakeHost Host;
  platform::LauncherConventions Native = platform::NativeLauncherConventions();
  const std::string ProgramFolder = In("Program Files", "Zandrell");

  // folder + native separator + name.
  std::string In(const std::string& folder, const std::string& name) const {
    return folder + Native.Separator + name;
  }
  Launcher Make() {
    T->shell.ProgramFolder = ProgramFolder;
    return Launcher{*T, Host, Native, {}};
  }
};

// The texts themselves are checked on the window, in both languages.
TEST(LauncherText, CaptionCarriesTheVersionWithPaddedMinorAndRevision) {
  EXPECT_EQ(WindowCaption(0, 3, 22), "Zandrell   ver. 0.03.0022");
  EXPECT_EQ(WindowCaption(2, 15, 12345), "Zandrell   ver. 2.15.12345");
}

TEST(LauncherHighlight, OnlyTheLastCommandStaysHighlightedAndTheBackgroundClearsAll) {
  LauncherState state;
  CommandMouseMove(state, kPlay);
  CommandMouseMove(state, kQuit);
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, true}));
  BackgroundMouseMove(state);
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, false}));
  CommandMouseMove(state, kQuit);  // back onto the same label
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, true}));
  CommandMouseMove(state, 7);  // no such label
  EXPECT_EQ(state.HoveredCommand, kQuit);
}

TEST_F(LauncherTest, FirstPlayAsksForTheFolderStartsTheInterfaceAndStoresTheFolder) {
  Native.LookOnSearchPath = false;
  Launcher launcher = Make();
  Host.PickerAnswer = In("Games", "Board");
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PickerPrompts, std::vector<std::string>{Native.PickerPrompt});
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, In(In("Games", "Board"), Native.InterfaceExecutable));
  // Both engines are this program, started in its folder; blanks stay inside quotes.
  const std::string engine = "\"" + Native.EngineCommand + "\"";
  EXPECT_EQ(Host.Starts[0].Arguments, " -cp -fcp " + engine + " -fd \"" + ProgramFolder +
                                          "\"  -scp " + engine + " -sd \"" + ProgramFolder + "\"" +
                                          Native.ArgumentsSuffix);
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), In("Games", "Board"));
}

TEST_F(LauncherTest, ACancelledPickerTriesTheRootAndFailsWithTheItalianMessage) {
  Native.LookOnSearchPath = false;
  Launcher launcher = Make();
  Host.Outcome = StartOutcome::kFileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, In("", Native.InterfaceExecutable));
  EXPECT_EQ(Host.Messages, std::vector<std::string>{
                               "Impossibile avviare Winboard: verificare che il percorso scelto "
                               "sia corretto."});
  EXPECT_EQ(Host.Pointer, std::vector<bool>{false});
  EXPECT_FALSE(T.Folder().Exists("Zandrell.ini"));
}

TEST_F(LauncherTest, AStoredFolderIsCheckedAndAFailedStartStoresNothing) {
  Launcher launcher = Make();
  T.Folder().Write("Zandrell.ini", "[Engine]\r\nWinboard=" + In("", "Old") + "\r\n");
  Host.Outcome = StartOutcome::kFailed;  // not "not found": silent
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  EXPECT_TRUE(Host.PickerPrompts.empty());
  EXPECT_EQ(Host.ExistsAsked,
            std::vector<std::string>{In(In("", "Old"), Native.InterfaceExecutable)});
  EXPECT_TRUE(Host.Messages.empty());

  // The stored folder no longer holds the interface: the picker asks again.
  Host.FilesExist = false;
  Host.Outcome = StartOutcome::kStarted;
  Host.PickerAnswer = In("", "New");
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PickerPrompts.size(), 1u);
  EXPECT_EQ(Host.Starts.at(1).Program, In(In("", "New"), Native.InterfaceExecutable));
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), In("", "New"));
}

TEST_F(LauncherTest, AnInterfaceOnTheSearchPathIsTakenBeforeThePicker) {
  Native.LookOnSearchPath = true;
  Launcher launcher = Make();
  Host.PathAnswer = In("", "games");
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PathAsked, std::vector<std::string>{Native.InterfaceExecutable});
  EXPECT_TRUE(Host.PickerPrompts.empty());
  EXPECT_EQ(Host.Starts.at(0).Program, In(In("", "games"), Native.InterfaceExecutable));

  // Without one on the path the picker asks.
  T.Folder().Write("Zandrell.ini", "");
  Host.PathAnswer.clear();
  Host.PickerAnswer = In("", "dev");
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PickerPrompts, std::vector<std::string>{Native.PickerPrompt});
  EXPECT_EQ(Host.Starts.at(1).Program, In(In("", "dev"), Native.InterfaceExecutable));
}

TEST_F(LauncherTest, BookEditorGetsTheBookBesideTheEngineQuotedWhenItHasBlanks) {
  Launcher launcher = Make();
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));  // no book setting: started alone
  EXPECT_EQ(Host.Starts.at(0).Program, In(ProgramFolder, Native.BookEditorExecutable));
  EXPECT_EQ(Host.Starts.at(0).Arguments, "");
  EXPECT_NE(T.Log().find("Error retrieving setting: OpeningBook"), std::string::npos);

  T.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=main.txt\r\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(1).Arguments, " \"" + In(ProgramFolder, "main.txt") + "\"");
  EXPECT_EQ(Host.Pointer, (std::vector<bool>{true, false, true, false}));
}

TEST_F(LauncherTest, BookEditorBesideTheEngineFirstThenOnTheSearchPath) {
  Native.LookOnSearchPath = true;
  Launcher launcher = Make();
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.ExistsAsked,
            std::vector<std::string>{In(ProgramFolder, Native.BookEditorExecutable)});
  EXPECT_TRUE(Host.PathAsked.empty());

  // Not beside the engine: the one an installed package put on the path.
  Host.FilesExist = false;
  Host.PathAnswer = In("", "games");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.PathAsked, std::vector<std::string>{Native.BookEditorExecutable});
  EXPECT_EQ(Host.Starts.at(1).Program, In(In("", "games"), Native.BookEditorExecutable));

  // Nowhere: the program folder as before, its message when the start fails, and
  // the window stays.
  Host.PathAnswer.clear();
  Host.Outcome = StartOutcome::kFileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(2).Program, In(ProgramFolder, Native.BookEditorExecutable));
  EXPECT_EQ(Host.Messages, std::vector<std::string>{
                               "Impossibile avviare Quiretto: verificare che il file sia nella "
                               "stessa cartella di Zandrell."});
}

TEST_F(LauncherTest, QuitEndsWithoutTouchingAnything) {
  Launcher launcher = Make();
  EXPECT_TRUE(CommandClick(launcher, kQuit));
  EXPECT_FALSE(CommandClick(launcher, 3));
  EXPECT_TRUE(Host.Starts.empty());
  EXPECT_FALSE(T.Folder().Exists("Zandrell.ini"));
}

// An installed copy: the book editor gets the book where the engine finds it, and
// "Play" stores the interface's folder in the user's settings.
TEST_F(LauncherTest, InstalledCopyUsesTheUsersFoldersAndTheSharedBook) {
  if (platform::kPathSeparator != '/') GTEST_SKIP() << "Windows copies are always portable";
  testing::LayOutInstalledCopy(T);
  const std::string data = testing::kInstalledData, user = testing::kUserSettings;
  T.Folder().Write(data + "Zandrell.ini", "[Engine]\nOpeningBook=book.txt\n");
  T.Folder().Write(data + "book.txt", " e2e4\n");
  Launcher launcher{*T, Host, Native, {}};
  Host.PathAnswer = "/usr/games";

  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(0).Program, T.Folder().File("prefix/games/quiretto"));
  EXPECT_EQ(Host.Starts.at(0).Arguments, " " + T.Folder().File(data + "book.txt"));

  T.Folder().Write(user + "book.txt", " d2d4\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(1).Arguments, " " + T.Folder().File(user + "book.txt"));

  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.Starts.at(2).Program, "/usr/games/xboard");
  EXPECT_NE(T.Folder().Read(user + "Zandrell.ini").find("Winboard=/usr/games"), std::string::npos);
  EXPECT_FALSE(T.Folder().Exists(data + "Zandrell.ini.tmp"));
}

}  // namespace
}  // namespace zandrell
