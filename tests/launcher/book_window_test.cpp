// Quiretto's Linux window on a virtual display: it opens with the shipped book, a
// click on a move and one on its mark forbid the move, a click on "Save" writes
// both files, and the engine started with them never plays the move. The
// launcher's "Book editor" opens the same window. Skipped where xvfb-run or
// xdotool is missing.
#ifdef ZANDRELL_BOOK_WINDOW_FLTK
// Before the toolkit's headers, whose X11 macros would clash with its names.
#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Tree.H>
#include <FL/Fl_Window.H>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launcher/book_window.h"
#include "launcher/launcher_commands.h"
#include "platform/child_process.h"
#include "platform/platform.h"
#include "quiretto/book_files.h"
#include "quiretto/window_text.h"
#include "support/engine_process.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;

bool HaveVirtualDisplay() {
  return platform::FileExists("/usr/bin/xvfb-run") && platform::FileExists("/usr/bin/xdotool");
}

// Runs this test binary again on a virtual display, filtered to the given tests.
std::string RunOnVirtualDisplay(const std::string& filter, int& exitCode) {
  platform::ChildProcess child;
  if (!child.Start("/usr/bin/xvfb-run",
                   {"-a", "-s", "-screen 0 1024x768x24", platform::ExecutablePath(),
                    "--gtest_filter=" + filter},
                   {"ZANDRELL_BOOK_WINDOW_TEST=1", "ASAN_OPTIONS=detect_leaks=0",
                    "LC_ALL=", "LC_MESSAGES=", "LANG=en_GB.UTF-8"})) {
    exitCode = -1;
    return "could not start xvfb-run";
  }
  std::string out = child.ReadToEnd(120000);
  exitCode = child.Wait(10000);
  return out;
}

// --- in the process on the virtual display ---

std::string Label(const Fl_Widget* w) { return w->label() != nullptr ? w->label() : ""; }

template <typename Widget>
Widget* FindWidget(Fl_Window* window, const std::function<bool(Widget*)>& wanted) {
  for (int i = 0; i < window->children(); ++i) {
    if (auto* w = dynamic_cast<Widget*>(window->child(i)); w != nullptr && wanted(w)) return w;
  }
  return nullptr;
}

Fl_Tree_Item* ChildLabelled(Fl_Tree_Item* parent, const std::string& start) {
  for (int i = 0; i < parent->children(); ++i) {
    Fl_Tree_Item* child = parent->child(i);
    if (child->label() != nullptr && std::string(child->label()).rfind(start, 0) == 0) return child;
  }
  return nullptr;
}

// The scripted user: each step waits for what the last click should have done,
// then clicks through xdotool as a person would.
struct Script {
  int Step = 0;
  int Waits = 0;
  std::string Caption;
  std::string Forbidden;  // the move whose mark was clicked, "e7e5"
  std::string Failure;
  std::vector<std::unique_ptr<platform::ChildProcess>> Clicks;
  Fl_Tree_Item* Target = nullptr;
};
Script script;

void Click(Fl_Window* window, int x, int y) {
  auto clicker = std::make_unique<platform::ChildProcess>();
  clicker->Start("/usr/bin/xdotool", {"mousemove", "--sync", std::to_string(window->x() + x),
                                      std::to_string(window->y() + y), "click", "1"});
  script.Clicks.push_back(std::move(clicker));
}

void Fail(Fl_Window* window, const std::string& why) {
  script.Failure = why;
  window->hide();
}

void NextStep(void*) {
  Fl_Window* window = Fl::first_window();
  if (window == nullptr || !window->visible()) {
    Fl::repeat_timeout(0.1, NextStep);
    return;
  }
  const std::string caption = Label(window);
  Fl_Tree* tree = FindWidget<Fl_Tree>(window, [](Fl_Tree*) { return true; });
  if (tree == nullptr) return Fail(window, "no tree of moves");
  switch (script.Step) {
    case 0: {  // open 1. e4 and click the reply seen in most lines
      script.Caption = caption;
      Fl_Tree_Item* e4 = ChildLabelled(tree->root(), "1. e4");
      if (e4 == nullptr) return Fail(window, "no 1. e4 in the shipped book");
      tree->open(e4);
      script.Target = ChildLabelled(e4, "1... e5*");
      if (script.Target == nullptr) return Fail(window, "no allowed 1... e5 after 1. e4");
      tree->redraw();
      ++script.Step;
      break;
    }
    case 1:  // once the opened branch is drawn, its rows have their places
      if (script.Target->label_h() <= 0) break;
      Click(window, script.Target->label_x() + 4,
            script.Target->label_y() + script.Target->label_h() / 2);
      ++script.Step;
      break;
    case 2:  // the move is chosen: click its mark
      if (tree->first_selected_item() != script.Target) {
        // A click that came before the window took input is lost: click again.
        if (++script.Waits % 15 == 0) --script.Step;
        break;
      }
      if (auto* mark = FindWidget<Fl_Check_Button>(window, [](Fl_Check_Button* b) {
            return Label(b) == quiretto::Text(quiretto::WindowText::kAllowed, false);
          })) {
        if (mark->value() == 0) return Fail(window, "the chosen move shows no mark");
        Click(window, mark->x() + 8, mark->y() + mark->h() / 2);
        ++script.Step;
      }
      break;
    case 3:  // changed: save
      if (caption.size() < 2 || caption.substr(caption.size() - 2) != " *") break;
      if (auto* save = FindWidget<Fl_Button>(window, [](Fl_Button* b) {
            return Label(b) == quiretto::Text(quiretto::WindowText::kSave, false);
          })) {
        Click(window, save->x() + save->w() / 2, save->y() + save->h() / 2);
        ++script.Step;
      }
      break;
    case 4:  // saved: done
      if (caption.substr(caption.size() - 2) == " *") break;
      window->hide();
      return;
  }
  Fl::repeat_timeout(0.2, NextStep);
}

void Watchdog(void*) {
  script.Failure = "stopped at step " + std::to_string(script.Step);
  while (Fl_Window* window = Fl::first_window()) window->hide();
}

TEST(BookWindowOnDisplay, AClickForbidsAMoveThatTheEngineThenNeverPlays) {
  if (std::getenv("ZANDRELL_BOOK_WINDOW_TEST") == nullptr) {
    GTEST_SKIP() << "run by BookWindow tests on a virtual display";
  }
  testing::EngineProcess engine;
  const fs::path dist(ZANDRELL_DIST_DIR);
  fs::copy_file(dist / "book.txt", engine.Folder().Path() / "book.txt");
  fs::copy_file(dist / "book.opi", engine.Folder().Path() / "book.opi");
  const std::string shippedFlags = engine.Folder().Read("book.opi");
  const std::string book = engine.Folder().File("book.txt");

  Fl::add_timeout(0.2, NextStep);
  Fl::add_timeout(60.0, Watchdog);
  std::string whyNot;
  ASSERT_EQ(RunBookWindow(book, whyNot), 0) << whyNot;
  Fl::remove_timeout(Watchdog);
  Fl::remove_timeout(NextStep);
  ASSERT_EQ(script.Failure, "");
  EXPECT_EQ(script.Caption, "Quiretto - book.txt");

  // Both files written, e5 forbidden in every line after 1. e4 e5 and nowhere else.
  EXPECT_NE(engine.Folder().Read("book.opi"), shippedFlags);
  quiretto::BookData saved;
  ASSERT_TRUE(quiretto::ReadBook(book, saved, whyNot)) << whyNot;
  int through = 0;
  for (std::size_t i = 0; i < saved.Lines.size(); ++i) {
    const bool e5 = saved.Lines[i].rfind(" e2e4e7e5", 0) == 0;
    through += e5 ? 1 : 0;
    const bool allowed = (static_cast<std::uint32_t>(saved.Masks[i]) >> 1 & 1u) != 0;
    if (e5) {
      EXPECT_FALSE(allowed) << saved.Lines[i];
    }
  }
  EXPECT_GT(through, 0);
  EXPECT_TRUE(quiretto::CheckBook(book).size() <= 1u) << "at most the note about long lines";

  // As Black after 1. e4, the book answers every time, and never with e5.
  engine.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=book.txt\r\n");
  ASSERT_TRUE(engine.Start());
  std::string out;
  for (int i = 0; i < 16; ++i) {
    engine.Send("new\ne2e4\n");
    out += engine.ReadThroughMove(20000);
  }
  out += engine.Session("", 20000);
  int moves = 0;
  for (std::size_t at = out.find("\nmove "); at != std::string::npos;
       at = out.find("\nmove ", at + 1)) {
    ++moves;
    EXPECT_NE(out.substr(at + 6, 4), "e7e5");
  }
  EXPECT_EQ(moves, 16) << out;
}

void WaitForWindowAndCloseIt(const std::string& name) {
  platform::ChildProcess search;
  ASSERT_TRUE(search.Start("/usr/bin/timeout",
                           {"30", "/usr/bin/xdotool", "search", "--sync", "--name", name}));
  const std::string window = search.ReadToEnd(40000);
  EXPECT_EQ(search.Wait(5000), 0);
  ASSERT_FALSE(window.empty()) << "no window named " << name;
  // Closed as the window manager closes it; nothing changed, so nothing is asked.
  platform::ChildProcess close;
  close.Start("/usr/bin/xdotool", {"windowclose", window.substr(0, window.find('\n'))});
  EXPECT_EQ(close.Wait(10000), 0);
}

// The launcher's "Book editor" starts Quiretto beside the engine with the book
// named in Zandrell.ini, and Quiretto shows that book in its window.
TEST(BookWindowOnDisplay, TheLaunchersBookEditorOpensTheWindowWithTheBook) {
  if (std::getenv("ZANDRELL_BOOK_WINDOW_TEST") == nullptr) {
    GTEST_SKIP() << "run by BookWindow tests on a virtual display";
  }
  struct Host final : LauncherHost {
    platform::StartOutcome StartProgram(const std::string& program,
                                        const std::string& arguments) override {
      return platform::StartProgram(program, arguments);
    }
    bool FileExists(const std::string& path) override { return platform::FileExists(path); }
    std::string FindProgramFolder(const std::string& name) override {
      return platform::FindProgramFolder(name);
    }
    std::string BrowseForFolder(const std::string&) override { return {}; }
    void ShowCriticalMessage(const std::string& text) override { Messages.push_back(text); }
    void SetBusyPointer(bool) override {}
    std::vector<std::string> Messages;
  } host;
  testing::TestEngine t;
  const fs::path dist(ZANDRELL_DIST_DIR);
  fs::copy_file(QUIRETTO_BINARY, t.Folder().Path() / "quiretto");
  fs::copy_file(dist / "book.txt", t.Folder().Path() / "shipped book.txt");
  t.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=shipped book.txt\r\n");
  Launcher launcher{*t, host, platform::NativeLauncherConventions(), {}};
  ASSERT_TRUE(CommandClick(launcher, kBookEditor));
  EXPECT_TRUE(host.Messages.empty());

  WaitForWindowAndCloseIt("^Quiretto - shipped book.txt$");

  // Started alone, Quiretto opens the book of the Zandrell.ini beside it.
  platform::ChildProcess alone;
  ASSERT_TRUE(alone.Start(t.Folder().File("quiretto"), {}));
  WaitForWindowAndCloseIt("^Quiretto - shipped book.txt$");
  EXPECT_NE(alone.Wait(10000), -1) << "a closed window ends Quiretto";
}

// --- from the outside ---

TEST(BookWindow, OnAVirtualDisplay) {
  if (!HaveVirtualDisplay()) GTEST_SKIP() << "xvfb-run or xdotool missing";
  int code = 0;
  std::string out = RunOnVirtualDisplay("BookWindowOnDisplay.*", code);
  EXPECT_EQ(code, 0) << out;
  EXPECT_NE(out.find("[  PASSED  ] 2 tests"), std::string::npos) << out;
}

}  // namespace
}  // namespace zandrell
#endif
