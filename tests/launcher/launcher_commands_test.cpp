#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/settings.h"
#include "launcher/launcher_commands.h"
#include "launcher/launcher_text.h"
#include "platform/string_table.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using platform::StartOutcome;
using testing::TestEngine;

constexpr const char* kWindowsFolder = "C:\\Program Files\\Zandrell";

platform::LauncherConventions WindowsConventions() {
  platform::LauncherConventions c;
  c.Separator = '\\';
  c.InterfaceExecutable = "winboard.exe";
  c.BookEditorExecutable = "Quiretto.exe";
  c.EngineCommand = "Zandrell -xboard";
  c.PickerPrompt = "Selezionare il percorso del file winboard.exe:";
  return c;
}

platform::LauncherConventions LinuxConventions() {
  platform::LauncherConventions c;
  c.Separator = '/';
  c.InterfaceExecutable = "xboard";
  c.BookEditorExecutable = "quiretto";
  c.EngineCommand = "/opt/zandrell/zandrell -xboard";
  c.ArgumentsSuffix = " -firstProtocolVersion 1 -secondProtocolVersion 1";
  c.PickerPrompt = "Selezionare il percorso del file xboard:";
  c.LookOnSearchPath = true;
  return c;
}

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

  Launcher Make(const platform::LauncherConventions& conventions, const std::string& folder) {
    T->shell.ProgramFolder = folder;
    return Launcher{*T, Host, conventions, {}};
  }
  std::string Settings() { return T.Folder().Read("Zandrell.ini"); }
};

TEST(LauncherText, CaptionCarriesTheVersionWithPaddedMinorAndRevision) {
  EXPECT_EQ(WindowCaption(0, 3, 22), "Zandrell   ver. 0.03.0022");
  EXPECT_EQ(WindowCaption(2, 15, 12345), "Zandrell   ver. 2.15.12345");
  EXPECT_EQ(WindowCaption(),
            WindowCaption(ZANDRELL_VERSION_MAJOR, ZANDRELL_VERSION_MINOR, ZANDRELL_VERSION_PATCH));
}

TEST(LauncherText, EnglishAndItalianTexts) {
  platform::LauncherWindowTexts en =
      LauncherTexts([](int id) { return platform::StringTableEntry(id, false); });
  EXPECT_EQ(en.Title, "Zandrell, Winboard chess engine.");
  EXPECT_EQ(en.Prompt, " Select an option: ");
  EXPECT_EQ(en.Commands[0], "Play");
  EXPECT_EQ(en.Commands[1], "Book editor");
  EXPECT_EQ(en.Commands[2], "Quit");
  platform::LauncherWindowTexts it =
      LauncherTexts([](int id) { return platform::StringTableEntry(id, true); });
  EXPECT_EQ(it.Title, "Zandrell, motore di scacchi per Winboard.");
  EXPECT_EQ(it.Prompt, " Selezionare un opzione: ");
  EXPECT_EQ(it.Commands[0], "Gioca");
  EXPECT_EQ(it.Commands[1], "Modifica aperture");
  EXPECT_EQ(it.Commands[2], "Esci");
  EXPECT_EQ(it.Caption, en.Caption);
  EXPECT_FALSE(en.LegalNotice.empty());
}

TEST(LauncherHighlight, OnlyTheLastCommandStaysHighlightedAndTheBackgroundClearsAll) {
  LauncherState state;
  CommandMouseMove(state, kPlay);
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{true, false, false}));
  CommandMouseMove(state, kQuit);
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, true}));
  EXPECT_EQ(state.HoveredCommand, kQuit);
  BackgroundMouseMove(state);
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(state.HoveredCommand, kQuit);
  CommandMouseMove(state, kQuit);  // back onto the same label
  EXPECT_EQ(state.Highlighted, (std::array<bool, 3>{false, false, true}));
  CommandMouseMove(state, 7);  // no such label
  EXPECT_EQ(state.HoveredCommand, kQuit);
}

TEST(LauncherLayout, SeparatorStopsShortOfTheWindowsRightEdge) {
  EXPECT_EQ(platform::layout::SeparatorLeft(), 50);
  EXPECT_EQ(platform::layout::SeparatorRight(5220), 5070);
  EXPECT_EQ(platform::layout::SeparatorRight(9000), 8850);
  EXPECT_EQ(platform::layout::TwipsToPixels(5100, 96), 340);
}

TEST(LauncherArguments, WindowsArgumentsForAFolderWithBlanks) {
  EXPECT_EQ(BuildWinboardArguments(kWindowsFolder, WindowsConventions()),
            " -cp -fcp \"Zandrell -xboard\" -fd \"C:\\Program Files\\Zandrell\""
            "  -scp \"Zandrell -xboard\" -sd \"C:\\Program Files\\Zandrell\"");
}

TEST(LauncherArguments, LinuxArgumentsNameTheRunningProgramAndProtocolOne) {
  EXPECT_EQ(BuildWinboardArguments("/home/a b/zandrell", LinuxConventions()),
            " -cp -fcp \"/opt/zandrell/zandrell -xboard\" -fd \"/home/a b/zandrell\""
            "  -scp \"/opt/zandrell/zandrell -xboard\" -sd \"/home/a b/zandrell\""
            " -firstProtocolVersion 1 -secondProtocolVersion 1");
}

TEST_F(LauncherTest, FirstPlayAsksForTheFolderStartsWinboardAndStoresTheFolder) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  Host.PickerAnswer = "D:\\WinBoard";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  ASSERT_EQ(Host.PickerPrompts.size(), 1u);
  EXPECT_EQ(Host.PickerPrompts[0], "Selezionare il percorso del file winboard.exe:");
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, "D:\\WinBoard\\winboard.exe");
  EXPECT_EQ(Host.Starts[0].Arguments, BuildWinboardArguments(kWindowsFolder, WindowsConventions()));
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), "D:\\WinBoard");
}

TEST_F(LauncherTest, ACancelledPickerTriesTheDriveRootAndFailsWithTheItalianMessage) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  Host.PickerAnswer = "";
  Host.Outcome = StartOutcome::kFileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, "\\winboard.exe");
  EXPECT_EQ(Host.Messages, std::vector<std::string>{
                               "Impossibile avviare Winboard: verificare che il percorso scelto "
                               "sia corretto."});
  EXPECT_EQ(Host.Pointer, std::vector<bool>{false});
  EXPECT_FALSE(T.Folder().Exists("Zandrell.ini"));
}

TEST_F(LauncherTest, AFailedStartOtherThanNotFoundIsSilentAndWritesNothing) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  T.Folder().Write("Zandrell.ini", "[Engine]\r\nWinboard=E:\\Old\r\n");
  Host.Outcome = StartOutcome::kFailed;
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  EXPECT_TRUE(Host.PickerPrompts.empty());  // the stored folder still holds winboard.exe
  EXPECT_EQ(Host.ExistsAsked, std::vector<std::string>{"E:\\Old\\winboard.exe"});
  EXPECT_TRUE(Host.Messages.empty());
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), "E:\\Old");
}

TEST_F(LauncherTest, AStoredFolderWithoutTheInterfaceOpensThePickerAgain) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  T.Folder().Write("Zandrell.ini", "[Engine]\r\nWinboard=E:\\Gone\r\n");
  Host.FilesExist = false;
  Host.PickerAnswer = "F:\\WinBoard-4";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PickerPrompts.size(), 1u);
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, "F:\\WinBoard-4\\winboard.exe");
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), "F:\\WinBoard-4");
}

TEST_F(LauncherTest, OnLinuxAnInterfaceOnThePathIsTakenBeforeThePicker) {
  Launcher launcher = Make(LinuxConventions(), "/opt/zandrell");
  Host.PathAnswer = "/usr/games";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(Host.PathAsked, std::vector<std::string>{"xboard"});
  EXPECT_TRUE(Host.PickerPrompts.empty());
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, "/usr/games/xboard");
  EXPECT_EQ(ReadSetting(*T, "Winboard", ""), "/usr/games");

  // Without one on the path the picker asks, with its own prompt.
  FakeHost other;
  T.Folder().Write("Zandrell.ini", "");
  Launcher again{*T, other, LinuxConventions(), {}};
  other.PickerAnswer = "/home/me/xboard-dev";
  EXPECT_TRUE(CommandClick(again, kPlay));
  EXPECT_EQ(other.PickerPrompts,
            std::vector<std::string>{"Selezionare il percorso del file xboard:"});
  EXPECT_EQ(other.Starts.at(0).Program, "/home/me/xboard-dev/xboard");
}

TEST_F(LauncherTest, BookEditorPassesTheBookInTheProgramFolder) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  T.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=main.txt\r\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  ASSERT_EQ(Host.Starts.size(), 1u);
  EXPECT_EQ(Host.Starts[0].Program, "C:\\Zandrell\\Quiretto.exe");
  EXPECT_EQ(Host.Starts[0].Arguments, " C:\\Zandrell\\main.txt");
  EXPECT_EQ(Host.Pointer, (std::vector<bool>{true, false}));
  EXPECT_EQ(T.Log(), "");
}

TEST_F(LauncherTest, BookEditorWithoutABookStartsItAloneAndABlankPathIsQuoted) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(0).Program, "C:\\Program Files\\Zandrell\\Quiretto.exe");
  EXPECT_EQ(Host.Starts.at(0).Arguments, "");
  EXPECT_NE(T.Log().find("Error retrieving setting: OpeningBook"), std::string::npos);

  T.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=main.txt\r\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(1).Arguments, " \"C:\\Program Files\\Zandrell\\main.txt\"");
}

TEST_F(LauncherTest, AMissingBookEditorGivesItsMessageAndTheWindowStays) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  Host.Outcome = StartOutcome::kFileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Messages, std::vector<std::string>{
                               "Impossibile avviare Quiretto: verificare che il file sia nella "
                               "stessa cartella di Zandrell."});
  EXPECT_EQ(Host.Pointer, (std::vector<bool>{true, false}));
  EXPECT_FALSE(T.Folder().Exists("Zandrell.ini"));
}

TEST_F(LauncherTest, BookEditorBesideTheEngineFirstThenOnThePath) {
  Launcher launcher = Make(LinuxConventions(), "/opt/zandrell");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.ExistsAsked, std::vector<std::string>{"/opt/zandrell/quiretto"});
  EXPECT_TRUE(Host.PathAsked.empty());
  EXPECT_EQ(Host.Starts.at(0).Program, "/opt/zandrell/quiretto");

  // Not beside the engine: the one an installed package put on the path.
  Host.FilesExist = false;
  Host.PathAnswer = "/usr/games";
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.PathAsked, std::vector<std::string>{"quiretto"});
  EXPECT_EQ(Host.Starts.at(1).Program, "/usr/games/quiretto");

  // Nowhere: the program folder as before, and its message when the start fails.
  Host.PathAnswer.clear();
  Host.Outcome = StartOutcome::kFileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(Host.Starts.at(2).Program, "/opt/zandrell/quiretto");
  EXPECT_EQ(Host.Messages.size(), 1u);
}

TEST_F(LauncherTest, QuitEndsWithoutTouchingAnything) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  EXPECT_TRUE(CommandClick(launcher, kQuit));
  EXPECT_TRUE(Host.Starts.empty());
  EXPECT_FALSE(T.Folder().Exists("Zandrell.ini"));
  EXPECT_FALSE(CommandClick(launcher, 3));
}

}  // namespace
}  // namespace zandrell
