// The Linux launcher window on a virtual display: it opens with its texts in the
// user's language, and a click on "Quit" ends it. Skipped where xvfb-run or
// xdotool is missing.
#ifdef ZANDRELL_LAUNCHER_FLTK
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "launcher/launcher_text.h"
#include "platform/child_process.h"
#include "platform/platform.h"
#include "support/engine_process.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

bool HaveVirtualDisplay() {
  return platform::FileExists("/usr/bin/xvfb-run") && platform::FileExists("/usr/bin/xdotool");
}

// Runs this test binary again on a virtual display, filtered to one test.
std::string RunOnVirtualDisplay(const std::string& filter,
                                const std::vector<std::string>& environment, int& exitCode) {
  platform::ChildProcess child;
  std::vector<std::string> env = environment;
  env.push_back("ASAN_OPTIONS=detect_leaks=0");  // the toolkit keeps its caches to the end
  if (!child.Start("/usr/bin/xvfb-run",
                   {"-a", "-s", "-screen 0 800x600x24", platform::ExecutablePath(),
                    "--gtest_filter=" + filter},
                   env)) {
    exitCode = -1;
    return "could not start xvfb-run";
  }
  std::string out = child.ReadToEnd(60000);
  exitCode = child.Wait(10000);
  return out;
}

// --- in the process on the virtual display ---

struct Seen {
  std::string Caption;
  std::vector<std::string> Labels;
  std::unique_ptr<platform::ChildProcess> Clicker;
  bool TimedOut = false;
};
Seen seen;

void LookAndClickQuit(void*) {
  Fl_Window* window = Fl::first_window();
  if (window == nullptr || !window->visible()) {
    Fl::repeat_timeout(0.1, LookAndClickQuit);
    return;
  }
  seen.Caption = window->label() ? window->label() : "";
  const std::string quit = platform::LoadString(107);
  int x = -1, y = -1;
  for (int i = 0; i < window->children(); ++i) {
    const Fl_Widget* child = window->child(i);
    if (child->label() == nullptr) continue;
    seen.Labels.push_back(child->label());
    if (quit == child->label()) {
      x = window->x() + child->x() + 4;
      y = window->y() + child->y() + child->h() / 2;
    }
  }
  if (x < 0) return;  // the watchdog ends the test
  seen.Clicker = std::make_unique<platform::ChildProcess>();
  seen.Clicker->Start("/usr/bin/xdotool",
                      {"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
}

void Watchdog(void*) {
  seen.TimedOut = true;
  while (Fl_Window* window = Fl::first_window()) window->hide();
}

TEST(LauncherWindowOnDisplay, ShowsItsTextsAndQuitEndsIt) {
  const char* expected = std::getenv("ZANDRELL_WINDOW_TEST");
  if (expected == nullptr) GTEST_SKIP() << "run by LauncherWindow tests on a virtual display";
  const bool italian = std::string(expected) == "it";
  testing::TestEngine t;
  Fl::add_timeout(0.2, LookAndClickQuit);
  Fl::add_timeout(30.0, Watchdog);
  EXPECT_EQ(RunLauncher(*t), 0);
  Fl::remove_timeout(Watchdog);
  EXPECT_FALSE(seen.TimedOut) << "the click on the quit command did not end the window";
  EXPECT_EQ(seen.Caption, WindowCaption());
  std::vector<std::string> wanted =
      italian ? std::vector<std::string>{"Zandrell, motore di scacchi per Winboard.",
                                         " Selezionare un opzione: ", "Gioca", "Modifica aperture",
                                         "Esci"}
              : std::vector<std::string>{"Zandrell, Winboard chess engine.",
                                         " Select an option: ", "Play", "Book editor", "Quit"};
  for (const std::string& text : wanted) {
    bool found = false;
    for (const std::string& label : seen.Labels) found = found || label == text;
    EXPECT_TRUE(found) << "missing label \"" << text << "\"";
  }
  EXPECT_FALSE(t.Folder().Exists("Zandrell.ini"));
}

// --- from the outside ---

TEST(LauncherWindow, OpensInEnglishAndItalianAndQuitEndsIt) {
  if (!HaveVirtualDisplay()) GTEST_SKIP() << "xvfb-run or xdotool missing";
  for (const char* language : {"en", "it"}) {
    int code = 0;
    std::string out = RunOnVirtualDisplay(
        "LauncherWindowOnDisplay.*",
        {std::string("ZANDRELL_WINDOW_TEST=") + language, "LC_ALL=", "LC_MESSAGES=",
         std::string("LANG=") + (language == std::string("it") ? "it_IT.UTF-8" : "en_GB.UTF-8")},
        code);
    EXPECT_EQ(code, 0) << language << ":\n" << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << language << ":\n" << out;
  }
}

TEST(LauncherWindow, WithoutADisplayItSaysSoInOneLineAndFails) {
  testing::EngineProcess program;
  ASSERT_TRUE(program.Start({}, {"DISPLAY="}));
  std::string error = program.ReadErrorToEnd();
  EXPECT_NE(program.Wait(), 0);
  EXPECT_NE(error.find("needs a display"), std::string::npos) << error;
  EXPECT_NE(error.find("-xboard"), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

}  // namespace
}  // namespace zandrell
#endif
