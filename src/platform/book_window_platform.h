#pragma once
// What Quiretto's window needs from the system: the native window (Win32 on
// Windows, FLTK on Linux) that shows a tree of moves, a line, a board, a mark and
// a list of findings, and reports what the user does. What a command does is
// decided above, in plain code that tests drive through fakes of BookWindow.
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zandrell::platform {

enum class BookCommand { kOpen, kSave, kSaveAs, kImport, kMerge, kRemove, kToggleMark };
inline constexpr int kBookCommandButtons = 6;  // kOpen..kRemove are buttons, in this order

// One move of the tree, parents before their children.
struct BookRow {
  int Node = 0;
  int Parent = -1;  // -1 below the start position
  std::string Label;
  bool Dim = false;    // the engine may not play it
  bool Wrong = false;  // not a legal move where it stands
};

struct BookWindowTexts {
  std::array<std::string, kBookCommandButtons> Buttons;
  std::string Mark;      // the check box of the chosen move
  std::string Findings;  // heading of the findings panel
  std::string Ok, Cancel;
};

struct ImportChoices {
  int Plies = 16;
  int MinGames = 1;
  bool WinnersOnly = false;
  int Side = 0;  // 0 both, 1 White, 2 Black
};
struct ImportDialogTexts {
  std::string Title, Plies, MinGames, WinnersOnly, Side;
  std::array<std::string, 3> Sides;  // both, White, Black
  std::string Ok, Cancel;
};

enum class FileChoice { kOpen, kOpenMany, kSave };

// Events of the window, answered by Quiretto.
class BookWindowEvents {
 public:
  virtual ~BookWindowEvents() = default;
  virtual void Command(BookCommand command) = 0;
  virtual void Chosen(int node) = 0;  // -1 when no move is chosen
  // The user asks to close the window; true lets it close.
  virtual bool MayClose() = 0;
};

class BookWindow {
 public:
  virtual ~BookWindow() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  // The whole tree; the rows in open are shown open, chosen (or -1) is selected.
  virtual void ShowTree(const std::vector<BookRow>& rows, const std::vector<int>& open,
                        int chosen) = 0;
  // The nodes shown open now.
  virtual std::vector<int> OpenNodes() = 0;
  // The chosen move's line, the position after it (as quiretto::Diagram: a8
  // first, "." for empty) and its mark.
  virtual void ShowChosen(const std::string& line, const std::array<char, 64>& board, bool mark,
                          bool markEnabled) = 0;
  virtual void ShowFindings(const std::vector<std::string>& lines) = 0;
  // Chosen files, none when cancelled. filterName and pattern ("*.txt") name the
  // files offered; start is a file to begin at.
  virtual std::vector<std::string> ChooseFiles(FileChoice kind, const std::string& title,
                                               const std::string& filterName,
                                               const std::string& pattern,
                                               const std::string& start) = 0;
  // The index of the chosen button; the first one is also the answer to closing
  // the question.
  virtual int Ask(const std::string& question, const std::vector<std::string>& buttons) = 0;
  virtual void Tell(const std::string& text, bool problem) = 0;
  virtual bool AskImport(const ImportDialogTexts& texts, ImportChoices& choices) = 0;
  // Shows the window and handles its events until it is closed.
  virtual void Run() = 0;
};

// The native window, or nullptr (with a one-line reason) when none can be shown.
std::unique_ptr<BookWindow> CreateBookWindow(const BookWindowTexts& texts, BookWindowEvents& events,
                                             std::string& whyNot);

}  // namespace zandrell::platform
