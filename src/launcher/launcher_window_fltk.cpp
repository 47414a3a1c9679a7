// The launcher window on Linux, drawn with FLTK. Placements come in twips and are
// turned into pixels at 96 dots per inch, as the window was laid out.
#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/launcher_platform.h"

namespace zandrell::platform {

namespace {

constexpr int kDotsPerInch = 96;
constexpr int kLabelSize = 11;  // 8 points
constexpr int kCommandSize = layout::kCommandFontPoints * kDotsPerInch / 72;
constexpr const char* kNoDisplay =
    "zandrell: the launcher window needs a display; start it with -xboard to run the engine";

int Px(int twips) { return layout::TwipsToPixels(twips, kDotsPerInch); }

// The window's icon: a white pawn on a board square.
class IconBox final : public Fl_Widget {
 public:
  IconBox(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {}
  void draw() override {
    const int s = w() < h() ? w() : h();
    const int half = s / 2;
    fl_color(fl_rgb_color(181, 136, 99));
    fl_rectf(x(), y(), s, s);
    fl_color(fl_rgb_color(240, 217, 181));
    fl_rectf(x(), y(), half, half);
    fl_rectf(x() + half, y() + half, s - half, s - half);
    const int cx = x() + half;
    for (int pass = 0; pass < 2; ++pass) {
      const int grow = pass == 0 ? 1 : 0;
      fl_color(pass == 0 ? FL_BLACK : FL_WHITE);
      fl_pie(cx - s / 8 - grow, y() + s / 6 - grow, s / 4 + 2 * grow, s / 4 + 2 * grow, 0, 360);
      fl_polygon(cx - s / 10 - grow, y() + s * 3 / 8, cx + s / 10 + grow, y() + s * 3 / 8,
                 cx + s / 5 + grow, y() + s * 3 / 4, cx - s / 5 - grow, y() + s * 3 / 4);
      fl_rectf(cx - s * 2 / 7 - grow, y() + s * 3 / 4 - grow, s * 4 / 7 + 2 * grow,
               s / 8 + 2 * grow);
    }
  }
};

// The etched separator: a shadow line and a highlight line just below it.
class Separator final : public Fl_Widget {
 public:
  Separator(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {}
  void draw() override {
    const int windowTwips = window()->w() * 1440 / kDotsPerInch;
    const int left = Px(layout::SeparatorLeft());
    const int right = Px(layout::SeparatorRight(windowTwips));
    const int top = y();
    const int gap = Px(layout::kSeparatorGap) < 1 ? 1 : Px(layout::kSeparatorGap);
    fl_color(FL_DARK3);
    fl_xyline(left, top, right);
    fl_color(FL_WHITE);
    fl_xyline(left, top + gap, right);
  }
};

class CommandLabel final : public Fl_Widget {
 public:
  CommandLabel(int x, int y, int w, int h, int index, const LauncherWindowEvents& events)
      : Fl_Widget(x, y, w, h), index_(index), events_(events) {}
  void draw() override {
    const bool strong = events_.CommandHighlighted(index_);
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(x(), y(), w(), h());
    fl_font(strong ? FL_HELVETICA_BOLD : FL_HELVETICA, kCommandSize);
    fl_color(FL_BLACK);
    const int baseline = y() + (h() + fl_height()) / 2 - fl_descent();
    fl_push_clip(x(), y(), w(), h());
    fl_draw(label(), x(), baseline);
    if (strong) {
      const int width = static_cast<int>(fl_width(label()));
      fl_xyline(x(), baseline + 2, x() + width);
    }
    fl_pop_clip();
  }

 private:
  int index_;
  const LauncherWindowEvents& events_;
};

class FltkLauncherWindow final : public LauncherWindow, private Fl_Double_Window {
 public:
  FltkLauncherWindow(const LauncherWindowTexts& texts, LauncherWindowEvents& events)
      : Fl_Double_Window(Px(layout::kClientWidth), Px(layout::kClientHeight)),
        texts_(texts),
        events_(events) {
    copy_label(texts_.Caption.c_str());
    new IconBox(Px(layout::kIcon.Left), Px(layout::kIcon.Top), Px(layout::kIcon.Width),
                Px(layout::kIcon.Height));
    AddText(layout::kTitle, texts_.Title, FL_NO_BOX, FL_ALIGN_LEFT);
    new Separator(0, Px(layout::kSeparatorTop), w(), 2);
    // The prompt stands on the separator and hides it behind its text.
    AddText(layout::kPrompt, texts_.Prompt, FL_FLAT_BOX, FL_ALIGN_LEFT);
    for (int n = 0; n < 3; ++n) {
      const TwipsRect& place = layout::kCommands[static_cast<std::size_t>(n)];
      const std::string& text = texts_.Commands[static_cast<std::size_t>(n)];
      // Wide enough for the bold text, which is wider than the regular one.
      fl_font(FL_HELVETICA_BOLD, kCommandSize);
      const int needed = static_cast<int>(fl_width(text.c_str())) + 2;
      const int width = needed > Px(place.Width) ? needed : Px(place.Width);
      commands_[n] =
          new CommandLabel(Px(place.Left), Px(place.Top), width, Px(place.Height), n, events_);
      commands_[n]->label(text.c_str());
    }
    AddText(layout::kLegalNotice, texts_.LegalNotice, FL_NO_BOX, FL_ALIGN_RIGHT);
    end();
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
  }

  std::string BrowseForFolder(const std::string& prompt) override {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_DIRECTORY);
    chooser.title(prompt.c_str());
    if (const char* home = std::getenv("HOME")) chooser.directory(home);
    if (chooser.show() != 0 || chooser.filename() == nullptr) return {};
    return chooser.filename();
  }

  void ShowCriticalMessage(const std::string& text) override {
    fl_message_title(texts_.Caption.c_str());
    fl_alert("%s", text.c_str());
  }

  void SetBusyPointer(bool busy) override {
    busy_ = busy;
    cursor(busy ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
    Fl::flush();
  }

  void Run() override {
    show();
    while (shown()) Fl::wait();
  }

 private:
  // The toolkit's fonts run wider than the ones the window was laid out with, so a
  // short label grows to its text: to the right when left-aligned, else to the left.
  void AddText(const TwipsRect& place, const std::string& text, Fl_Boxtype box, Fl_Align side) {
    int left = Px(place.Left);
    int width = Px(place.Width);
    fl_font(FL_HELVETICA, kLabelSize);
    const int needed = static_cast<int>(fl_width(text.c_str())) + 8;
    if (needed > width) {
      if (side == FL_ALIGN_RIGHT) left -= needed - width;
      width = needed;
    }
    auto* label = new Fl_Box(box, left, Px(place.Top), width, Px(place.Height), nullptr);
    label->copy_label(text.c_str());
    label->labelfont(FL_HELVETICA);
    label->labelsize(kLabelSize);
    label->align(side | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  }

  int CommandAt(int x, int y) const {
    for (int n = 0; n < 3; ++n) {
      const CommandLabel* c = commands_[n];
      if (x >= c->x() && x < c->x() + c->w() && y >= c->y() && y < c->y() + c->h()) return n;
    }
    return -1;
  }

  void Hover(int index) {
    if (index >= 0) {
      events_.CommandMouseMove(index);
    } else {
      events_.BackgroundMouseMove();
    }
    if (!busy_) cursor(index >= 0 ? FL_CURSOR_HAND : FL_CURSOR_DEFAULT);
    for (CommandLabel* c : commands_) c->redraw();
  }

  int handle(int event) override {
    const int index = CommandAt(Fl::event_x(), Fl::event_y());
    switch (event) {
      case FL_ENTER:
      case FL_MOVE: Hover(index); return 1;
      case FL_LEAVE:
        if (!busy_) cursor(FL_CURSOR_DEFAULT);
        return 1;
      case FL_PUSH: pressed_ = index; return 1;
      case FL_DRAG: return 1;
      case FL_RELEASE: {
        const int clicked = pressed_;
        pressed_ = -1;
        if (Fl::event_button() == FL_LEFT_MOUSE && clicked >= 0 && clicked == index &&
            events_.CommandClick(clicked)) {
          hide();
        }
        return 1;
      }
      default: return Fl_Double_Window::handle(event);
    }
  }

  LauncherWindowTexts texts_;
  LauncherWindowEvents& events_;
  CommandLabel* commands_[3] = {};
  int pressed_ = -1;
  bool busy_ = false;
};

[[noreturn]] void NoDisplay(const char*, ...) {
  std::fprintf(stderr, "%s\n", kNoDisplay);
  std::exit(1);
}

}  // namespace

std::unique_ptr<LauncherWindow> CreateLauncherWindow(const LauncherWindowTexts& texts,
                                                     LauncherWindowEvents& events,
                                                     std::string& whyNot) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    whyNot = kNoDisplay;
    return nullptr;
  }
  // FLTK ends the process when the display cannot be opened; say why in our words.
  void (*previous)(const char*, ...) = Fl::fatal;
  Fl::fatal = NoDisplay;
  fl_open_display();
  Fl::fatal = previous;
  return std::make_unique<FltkLauncherWindow>(texts, events);
}

}  // namespace zandrell::platform
