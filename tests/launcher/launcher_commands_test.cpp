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
    std::string program, arguments;
  };
  std::vector<Start> starts;
  std::vector<std::string> pickerPrompts, messages, existsAsked, pathAsked;
  std::vector<bool> pointer;  // busy states in order
  std::string pickerAnswer;
  std::string pathAnswer;
  bool fileExists = true;
  StartOutcome outcome = StartOutcome::Started;

  StartOutcome StartProgram(const std::string& program, const std::string& arguments) override {
    starts.push_back({program, arguments});
    return outcome;
  }
  bool FileExists(const std::string& path) override {
    existsAsked.push_back(path);
    return fileExists;
  }
  std::string FindProgramFolder(const std::string& name) override {
    pathAsked.push_back(name);
    return pathAnswer;
  }
  std::string BrowseForFolder(const std::string& prompt) override {
    pickerPrompts.push_back(prompt);
    return pickerAnswer;
  }
  void ShowCriticalMessage(const std::string& text) override { messages.push_back(text); }
  void SetBusyPointer(bool busy) override { pointer.push_back(busy); }
};

struct LauncherTest : ::testing::Test {
  TestEngine t;
  FakeHost host;

  Launcher Make(const platform::LauncherConventions& conventions, const std::string& folder) {
    t->shell.ProgramFolder = folder;
    return Launcher{*t, host, conventions, {}};
  }
  std::string Settings() { return t.folder().Read("Zandrell.ini"); }
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
  host.pickerAnswer = "D:\\WinBoard";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  ASSERT_EQ(host.pickerPrompts.size(), 1u);
  EXPECT_EQ(host.pickerPrompts[0], "Selezionare il percorso del file winboard.exe:");
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].program, "D:\\WinBoard\\winboard.exe");
  EXPECT_EQ(host.starts[0].arguments, BuildWinboardArguments(kWindowsFolder, WindowsConventions()));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadSetting(*t, "Winboard", ""), "D:\\WinBoard");
}

TEST_F(LauncherTest, ACancelledPickerTriesTheDriveRootAndFailsWithTheItalianMessage) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  host.pickerAnswer = "";
  host.outcome = StartOutcome::FileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].program, "\\winboard.exe");
  EXPECT_EQ(host.messages, std::vector<std::string>{
                               "Impossibile avviare Winboard: verificare che il percorso scelto "
                               "sia corretto."});
  EXPECT_EQ(host.pointer, std::vector<bool>{false});
  EXPECT_FALSE(t.folder().Exists("Zandrell.ini"));
}

TEST_F(LauncherTest, AFailedStartOtherThanNotFoundIsSilentAndWritesNothing) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  t.folder().Write("Zandrell.ini", "[Engine]\r\nWinboard=E:\\Old\r\n");
  host.outcome = StartOutcome::Failed;
  EXPECT_FALSE(CommandClick(launcher, kPlay));
  EXPECT_TRUE(host.pickerPrompts.empty());  // the stored folder still holds winboard.exe
  EXPECT_EQ(host.existsAsked, std::vector<std::string>{"E:\\Old\\winboard.exe"});
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadSetting(*t, "Winboard", ""), "E:\\Old");
}

TEST_F(LauncherTest, AStoredFolderWithoutTheInterfaceOpensThePickerAgain) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  t.folder().Write("Zandrell.ini", "[Engine]\r\nWinboard=E:\\Gone\r\n");
  host.fileExists = false;
  host.pickerAnswer = "F:\\WinBoard-4";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(host.pickerPrompts.size(), 1u);
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].program, "F:\\WinBoard-4\\winboard.exe");
  EXPECT_EQ(ReadSetting(*t, "Winboard", ""), "F:\\WinBoard-4");
}

TEST_F(LauncherTest, OnLinuxAnInterfaceOnThePathIsTakenBeforeThePicker) {
  Launcher launcher = Make(LinuxConventions(), "/opt/zandrell");
  host.pathAnswer = "/usr/games";
  EXPECT_TRUE(CommandClick(launcher, kPlay));
  EXPECT_EQ(host.pathAsked, std::vector<std::string>{"xboard"});
  EXPECT_TRUE(host.pickerPrompts.empty());
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].program, "/usr/games/xboard");
  EXPECT_EQ(ReadSetting(*t, "Winboard", ""), "/usr/games");

  // Without one on the path the picker asks, with its own prompt.
  FakeHost other;
  t.folder().Write("Zandrell.ini", "");
  Launcher again{*t, other, LinuxConventions(), {}};
  other.pickerAnswer = "/home/me/xboard-dev";
  EXPECT_TRUE(CommandClick(again, kPlay));
  EXPECT_EQ(other.pickerPrompts,
            std::vector<std::string>{"Selezionare il percorso del file xboard:"});
  EXPECT_EQ(other.starts.at(0).program, "/home/me/xboard-dev/xboard");
}

TEST_F(LauncherTest, BookEditorPassesTheBookInTheProgramFolder) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  t.folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=main.txt\r\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  ASSERT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.starts[0].program, "C:\\Zandrell\\Quiretto.exe");
  EXPECT_EQ(host.starts[0].arguments, " C:\\Zandrell\\main.txt");
  EXPECT_EQ(host.pointer, (std::vector<bool>{true, false}));
  EXPECT_EQ(t.Log(), "");
}

TEST_F(LauncherTest, BookEditorWithoutABookStartsItAloneAndABlankPathIsQuoted) {
  Launcher launcher = Make(WindowsConventions(), kWindowsFolder);
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.starts.at(0).program, "C:\\Program Files\\Zandrell\\Quiretto.exe");
  EXPECT_EQ(host.starts.at(0).arguments, "");
  EXPECT_NE(t.Log().find("Error retrieving setting: OpeningBook"), std::string::npos);

  t.folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=main.txt\r\n");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.starts.at(1).arguments, " \"C:\\Program Files\\Zandrell\\main.txt\"");
}

TEST_F(LauncherTest, AMissingBookEditorGivesItsMessageAndTheWindowStays) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  host.outcome = StartOutcome::FileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.messages, std::vector<std::string>{
                               "Impossibile avviare Quiretto: verificare che il file sia nella "
                               "stessa cartella di Zandrell."});
  EXPECT_EQ(host.pointer, (std::vector<bool>{true, false}));
  EXPECT_FALSE(t.folder().Exists("Zandrell.ini"));
}

TEST_F(LauncherTest, BookEditorBesideTheEngineFirstThenOnThePath) {
  Launcher launcher = Make(LinuxConventions(), "/opt/zandrell");
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.existsAsked, std::vector<std::string>{"/opt/zandrell/quiretto"});
  EXPECT_TRUE(host.pathAsked.empty());
  EXPECT_EQ(host.starts.at(0).program, "/opt/zandrell/quiretto");

  // Not beside the engine: the one an installed package put on the path.
  host.fileExists = false;
  host.pathAnswer = "/usr/games";
  EXPECT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.pathAsked, std::vector<std::string>{"quiretto"});
  EXPECT_EQ(host.starts.at(1).program, "/usr/games/quiretto");

  // Nowhere: the program folder as before, and its message when the start fails.
  host.pathAnswer.clear();
  host.outcome = StartOutcome::FileNotFound;
  EXPECT_FALSE(CommandClick(launcher, kBookEditor));
  EXPECT_EQ(host.starts.at(2).program, "/opt/zandrell/quiretto");
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(LauncherTest, QuitEndsWithoutTouchingAnything) {
  Launcher launcher = Make(WindowsConventions(), "C:\\Zandrell");
  EXPECT_TRUE(CommandClick(launcher, kQuit));
  EXPECT_TRUE(host.starts.empty());
  EXPECT_FALSE(t.folder().Exists("Zandrell.ini"));
  EXPECT_FALSE(CommandClick(launcher, 3));
}

}  // namespace
}  // namespace zandrell
