// Quiretto's window on Linux, drawn with FLTK: the moves of the book as a tree,
// the chosen line with its position, the mark of the chosen move, and the
// findings of a check of the book. What the window does is decided by
// BookWindowController; this only shows and reports.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Spinner.H>
#include <FL/Fl_Tree.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/book_window_platform.h"

namespace zandrell::platform {

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 580;
constexpr int kMargin = 8;
constexpr int kButtonHeight = 26;
constexpr int kTreeWidth = 380;
constexpr int kFindingsHeight = 130;
constexpr int kSquare = 30;
constexpr const char* kNoDisplay =
    "quiretto: the window needs a display; quiretto --help lists the commands";

void* NodeData(int node) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(node)); }
int NodeOf(const Fl_Tree_Item* item) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(item->user_data()));
}

// The position after the chosen move: light and dark squares, the pieces as
// letters on discs of their colour.
class BoardView final : public Fl_Widget {
 public:
  BoardView(int x, int y) : Fl_Widget(x, y, 8 * kSquare, 8 * kSquare) { diagram_.fill('.'); }
  void Show(const std::array<char, 64>& diagram) {
    diagram_ = diagram;
    redraw();
  }
  void draw() override {
    for (int i = 0; i < 64; ++i) {
      const int sx = x() + (i % 8) * kSquare;
      const int sy = y() + (i / 8) * kSquare;
      const bool light = (i / 8 + i % 8) % 2 == 0;
      fl_color(light ? fl_rgb_color(240, 217, 181) : fl_rgb_color(181, 136, 99));
      fl_rectf(sx, sy, kSquare, kSquare);
      const char piece = diagram_[static_cast<std::size_t>(i)];
      if (piece == '.') continue;
      const bool white = piece >= 'A' && piece <= 'Z';
      fl_color(white ? FL_WHITE : FL_BLACK);
      fl_pie(sx + 3, sy + 3, kSquare - 6, kSquare - 6, 0, 360);
      fl_color(FL_BLACK);
      fl_arc(sx + 3, sy + 3, kSquare - 6, kSquare - 6, 0, 360);
      fl_color(white ? FL_BLACK : FL_WHITE);
      fl_font(FL_HELVETICA_BOLD, 15);
      const char text[2] = {static_cast<char>(white ? piece : piece - 'a' + 'A'), '\0'};
      fl_draw(text, sx, sy, kSquare, kSquare, FL_ALIGN_CENTER);
    }
    fl_color(FL_DARK3);
    fl_rect(x(), y(), w(), h());
  }

 private:
  std::array<char, 64> diagram_{};
};

class FltkBookWindow final : public platform::BookWindow, private Fl_Double_Window {
 public:
  FltkBookWindow(const platform::BookWindowTexts& texts, platform::BookWindowEvents& events)
      : Fl_Double_Window(kWidth, kHeight), events_(events) {
    int left = kMargin;
    for (std::size_t n = 0; n < texts.Buttons.size(); ++n) {
      fl_font(FL_HELVETICA, 13);
      const int width = static_cast<int>(fl_width(texts.Buttons[n].c_str())) + 24;
      auto* b = new Fl_Button(left, kMargin, width, kButtonHeight);
      b->copy_label(texts.Buttons[n].c_str());
      b->labelsize(13);
      b->callback(OnButton, this);
      buttons_[n] = b;
      left += width + 4;
    }

    const int top = kMargin + kButtonHeight + kMargin;
    const int findingsTop = kHeight - kFindingsHeight;
    moves_ = new Fl_Tree(kMargin, top, kTreeWidth, findingsTop - top - kMargin);
    moves_->showroot(0);
    moves_->selectmode(FL_TREE_SELECT_SINGLE);
    moves_->item_labelsize(13);
    moves_->callback([](Fl_Widget*, void* w) { Self(w)->OnTree(); }, this);

    const int right = kMargin + kTreeWidth + kMargin;
    const int rightWidth = kWidth - right - kMargin;
    line_ = new Fl_Box(right, top, rightWidth, 48);
    line_->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP);
    line_->labelsize(13);
    board_ = new BoardView(right, top + 54);
    mark_ = new Fl_Check_Button(right, top + 54 + 8 * kSquare + 8, rightWidth, 24);
    mark_->copy_label(texts.Mark.c_str());
    mark_->labelsize(13);
    mark_->callback(
        [](Fl_Widget*, void* w) { Self(w)->events_.Command(platform::BookCommand::kToggleMark); },
        this);

    auto* heading = new Fl_Box(kMargin, findingsTop, kWidth - 2 * kMargin, 20);
    heading->copy_label(texts.Findings.c_str());
    heading->labelsize(13);
    heading->labelfont(FL_HELVETICA_BOLD);
    heading->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
    findings_ = new Fl_Hold_Browser(kMargin, findingsTop + 20, kWidth - 2 * kMargin,
                                    kFindingsHeight - 20 - kMargin);
    findings_->textsize(12);
    end();
    callback([](Fl_Widget*, void* w) { Self(w)->OnClose(); }, this);
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
  }

  void SetCaption(const std::string& caption) override { copy_label(caption.c_str()); }

  void ShowTree(const std::vector<platform::BookRow>& rows, const std::vector<int>& open,
                int chosen) override {
    filling_ = true;
    moves_->clear_children(moves_->root());
    std::unordered_map<int, Fl_Tree_Item*> items;
    const std::set<int> opened(open.begin(), open.end());
    for (const platform::BookRow& row : rows) {
      Fl_Tree_Item* parent = row.Parent < 0 ? moves_->root() : items[row.Parent];
      Fl_Tree_Item* item = moves_->add(parent, row.Label.c_str());
      item->user_data(NodeData(row.Node));
      if (row.Dim) item->labelfgcolor(FL_DARK3);
      if (row.Wrong) item->labelfgcolor(FL_RED);
      items[row.Node] = item;
    }
    for (auto& [node, item] : items) {
      if (item->has_children() && opened.count(node) == 0) item->close();
      if (node == chosen) item->select();
    }
    filling_ = false;
    moves_->redraw();
  }

  std::vector<int> OpenNodes() override {
    std::vector<int> open;
    for (Fl_Tree_Item* item = moves_->first(); item != nullptr; item = moves_->next(item)) {
      if (item != moves_->root() && item->has_children() && item->is_open()) {
        open.push_back(NodeOf(item));
      }
    }
    return open;
  }

  void ShowChosen(const std::string& line, const std::array<char, 64>& board, bool mark,
                  bool markEnabled) override {
    line_->copy_label(line.c_str());
    board_->Show(board);
    mark_->value(mark ? 1 : 0);
    for (Fl_Widget* w :
         {static_cast<Fl_Widget*>(mark_), static_cast<Fl_Widget*>(buttons_[kRemoveButton])}) {
      if (markEnabled) {
        w->activate();
      } else {
        w->deactivate();
      }
    }
    redraw();
  }

  void ShowFindings(const std::vector<std::string>& lines) override {
    findings_->clear();
    // "@." keeps the browser from reading the line's start as formatting.
    for (const std::string& line : lines) findings_->add(("@." + line).c_str());
  }

  std::vector<std::string> ChooseFiles(platform::FileChoice kind, const std::string& title,
                                       const std::string& filterName, const std::string& pattern,
                                       const std::string& start) override {
    Fl_Native_File_Chooser chooser(
        kind == platform::FileChoice::kSave       ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
        : kind == platform::FileChoice::kOpenMany ? Fl_Native_File_Chooser::BROWSE_MULTI_FILE
                                                  : Fl_Native_File_Chooser::BROWSE_FILE);
    chooser.title(title.c_str());
    const std::string filter = filterName + "\t" + pattern;
    chooser.filter(filter.c_str());
    if (!start.empty()) chooser.preset_file(start.c_str());
    std::vector<std::string> files;
    if (chooser.show() != 0) return files;
    for (int n = 0; n < chooser.count(); ++n) {
      if (chooser.filename(n) != nullptr) files.emplace_back(chooser.filename(n));
    }
    return files;
  }

  int Ask(const std::string& question, const std::vector<std::string>& buttons) override {
    auto at = [&](std::size_t n) { return n < buttons.size() ? buttons[n].c_str() : nullptr; };
    return fl_choice("%s", at(0), at(1), at(2), question.c_str());
  }

  void Tell(const std::string& text, bool problem) override {
    if (problem) {
      fl_alert("%s", text.c_str());
    } else {
      fl_message("%s", text.c_str());
    }
  }

  bool AskImport(const platform::ImportDialogTexts& texts,
                 platform::ImportChoices& choices) override {
    Fl_Double_Window dialog(320, 190, texts.Title.c_str());
    auto spinner = [&](int y, const std::string& text, int low, int high, int value) {
      auto* s = new Fl_Spinner(200, y, 100, 25);
      s->copy_label(text.c_str());
      s->range(low, high);
      s->step(1);
      s->value(value);
      return s;
    };
    Fl_Spinner* plies = spinner(10, texts.Plies, 1, 20, choices.Plies);
    Fl_Spinner* games = spinner(42, texts.MinGames, 1, 99999, choices.MinGames);
    auto* winners = new Fl_Check_Button(20, 74, 280, 25);
    winners->copy_label(texts.WinnersOnly.c_str());
    auto* side = new Fl_Choice(200, 106, 100, 25);
    side->copy_label(texts.Side.c_str());
    for (const std::string& name : texts.Sides) side->add(name.c_str());
    side->value(0);
    int answer = 0;
    auto* ok = new Fl_Button(120, 150, 90, 28);
    ok->copy_label(texts.Ok.c_str());
    auto* cancel = new Fl_Button(220, 150, 90, 28);
    cancel->copy_label(texts.Cancel.c_str());
    ok->callback(
        [](Fl_Widget* b, void* a) {
          *static_cast<int*>(a) = 1;
          b->window()->hide();
        },
        &answer);
    cancel->callback([](Fl_Widget* b, void*) { b->window()->hide(); });
    dialog.end();
    dialog.set_modal();
    dialog.show();
    while (dialog.shown()) Fl::wait();
    if (answer != 1) return false;
    choices.Plies = static_cast<int>(plies->value());
    choices.MinGames = static_cast<int>(games->value());
    choices.WinnersOnly = winners->value() != 0;
    choices.Side = side->value() < 0 ? 0 : side->value();
    return true;
  }

  void Run() override {
    show();
    while (shown()) Fl::wait();
  }

 private:
  static constexpr std::size_t kRemoveButton = 5;

  static FltkBookWindow* Self(void* w) { return static_cast<FltkBookWindow*>(w); }

  static void OnButton(Fl_Widget* button, void* w) {
    FltkBookWindow* self = Self(w);
    for (std::size_t n = 0; n < self->buttons_.size(); ++n) {
      if (self->buttons_[n] == button) {
        self->events_.Command(static_cast<platform::BookCommand>(n));
      }
    }
  }

  void OnTree() {
    if (filling_) return;
    Fl_Tree_Item* item = moves_->first_selected_item();
    events_.Chosen(item == nullptr ? -1 : NodeOf(item));
  }

  void OnClose() {
    // Escape would close the window as the close button does; only the button does.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (events_.MayClose()) hide();
  }

  platform::BookWindowEvents& events_;
  std::array<Fl_Button*, platform::kBookCommandButtons> buttons_{};
  Fl_Tree* moves_ = nullptr;
  Fl_Box* line_ = nullptr;
  BoardView* board_ = nullptr;
  Fl_Check_Button* mark_ = nullptr;
  Fl_Hold_Browser* findings_ = nullptr;
  bool filling_ = false;
};

[[noreturn]] void NoDisplay(const char*, ...) {
  std::fprintf(stderr, "%s\n", kNoDisplay);
  std::exit(1);
}

}  // namespace

std::unique_ptr<BookWindow> CreateBookWindow(const BookWindowTexts& texts, BookWindowEvents& events,
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
  return std::make_unique<FltkBookWindow>(texts, events);
}

}  // namespace zandrell::platform
