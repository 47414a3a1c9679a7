#pragma once
// What the launcher window needs from the system: starting programs, finding the
// chess interface, and the native window itself (Win32 on Windows, FLTK on Linux).
// The window only draws and reports events; what a command does is decided by the
// launcher, which tests drive through fakes of LauncherHost.
#include <array>
#include <memory>
#include <string>

namespace zandrell::platform {

enum class StartOutcome { kStarted, kFileNotFound, kFailed };

// How the chess interface and the book editor are named and called on this system.
struct LauncherConventions {
  char Separator = '\\';
  std::string InterfaceExecutable;   // the file looked for in the interface's folder
  std::string BookEditorExecutable;  // in the program folder
  std::string EngineCommand;         // how the interface runs this program as an engine
  std::string ArgumentsSuffix;       // appended to the interface's arguments
  std::string PickerPrompt;          // prompt of the folder picker
  bool LookOnSearchPath = false;     // look for the interface on the search path first
};
LauncherConventions NativeLauncherConventions();

// Starts program with the argument text (blanks separate arguments, double quotes
// group them) as a normal window with focus; the launcher does not wait for it.
StartOutcome StartProgram(const std::string& program, const std::string& arguments);
// Folder of an executable found on the search path, or "" when there is none.
std::string FindProgramFolder(const std::string& name);

// Placements in twips (1/1440 inch), left, top, width, height.
struct TwipsRect {
  int Left, Top, Width, Height;
};
namespace layout {
constexpr int kClientWidth = 5100;
constexpr int kClientHeight = 3285;
constexpr TwipsRect kIcon{105, 105, 480, 480};
constexpr TwipsRect kTitle{735, 255, 4770, 210};
constexpr TwipsRect kPrompt{315, 735, 1020, 195};
constexpr TwipsRect kLegalNotice{4305, 3045, 660, 195};
constexpr std::array<TwipsRect, 3> kCommands{{
    {210, 1155, 1275, 300},
    {210, 1575, 1695, 300},
    {210, 2835, 1275, 300},
}};
constexpr int kSeparatorTop = 840;
constexpr int kSeparatorGap = 10;  // the highlight line lies this far below the shadow line
constexpr int kCommandFontPoints = 12;
constexpr const char* kCommandFont = "MS Sans Serif";
// The etched separator spans from 50 twips to 150 twips short of the window's width.
constexpr int SeparatorLeft() { return 50; }
constexpr int SeparatorRight(int windowWidth) { return windowWidth - 150; }
constexpr int TwipsToPixels(int twips, int dotsPerInch) {
  return (twips * dotsPerInch + 720) / 1440;
}
}  // namespace layout

struct LauncherWindowTexts {
  std::string Caption;
  std::string Title;                    // string 103
  std::string Prompt;                   // string 104
  std::array<std::string, 3> Commands;  // strings 105..107
  std::string LegalNotice;
};

// Events of the window, answered by the launcher.
class LauncherWindowEvents {
 public:
  virtual ~LauncherWindowEvents() = default;
  virtual void CommandMouseMove(int index) = 0;
  virtual void BackgroundMouseMove() = 0;
  // True when the command ends the launcher.
  virtual bool CommandClick(int index) = 0;
  virtual bool CommandHighlighted(int index) const = 0;
};

class LauncherWindow {
 public:
  virtual ~LauncherWindow() = default;
  // The chosen folder, or "" when the picker was cancelled.
  virtual std::string BrowseForFolder(const std::string& prompt) = 0;
  virtual void ShowCriticalMessage(const std::string& text) = 0;
  virtual void SetBusyPointer(bool busy) = 0;
  // Shows the window and handles its events until it is closed or a command ends
  // the launcher.
  virtual void Run() = 0;
};

// The native window, or nullptr (with a one-line reason) when none can be shown.
std::unique_ptr<LauncherWindow> CreateLauncherWindow(const LauncherWindowTexts& texts,
                                                     LauncherWindowEvents& events,
                                                     std::string& whyNot);

}  // namespace zandrell::platform
