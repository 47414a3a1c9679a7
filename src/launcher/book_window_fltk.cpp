// Quiretto's window on Linux, drawn with FLTK: the moves of the book as a tree,
// the chosen line with its position, the mark of the chosen move, and the
// findings of a check of the book.
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

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "launcher/book_window.h"
#include "platform/platform.h"
#include "quiretto/book_tree.h"
#include "quiretto/window_text.h"

namespace zandrell {

namespace {

using quiretto::BookNode;
using quiretto::BookTree;
using quiretto::WindowText;

constexpr int kWidth = 780;
constexpr int kHeight = 580;
constexpr int kMargin = 8;
constexpr int kButtonHeight = 26;
constexpr int kTreeWidth = 380;
constexpr int kFindingsHeight = 130;
constexpr int kSquare = 30;
constexpr const char* kNoDisplay =
    "quiretto: the window needs a display; quiretto --help lists the commands";

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void* NodeData(int node) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(node)); }
int NodeOf(const Fl_Tree_Item* item) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(item->user_data()));
}

// The position after the chosen move: light and dark squares, the pieces as
// letters on discs of their colour.
class BoardView final : public Fl_Widget {
 public:
  BoardView(int x, int y) : Fl_Widget(x, y, 8 * kSquare, 8 * kSquare) { diagram_.fill('.'); }
  void Show(const quiretto::Diagram& diagram) {
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
  quiretto::Diagram diagram_{};
};

class BookWindow final : public Fl_Double_Window {
 public:
  explicit BookWindow(bool italian) : Fl_Double_Window(kWidth, kHeight), italian_(italian) {
    int left = kMargin;
    auto button = [&](WindowText text, Fl_Callback* onClick) {
      fl_font(FL_HELVETICA, 13);
      const int width = static_cast<int>(fl_width(T(text).c_str())) + 24;
      auto* b = new Fl_Button(left, kMargin, width, kButtonHeight);
      b->copy_label(T(text).c_str());
      b->labelsize(13);
      b->callback(onClick, this);
      left += width + 4;
      return b;
    };
    button(WindowText::kOpen, [](Fl_Widget*, void* w) { Self(w)->OpenChosen(); });
    button(WindowText::kSave, [](Fl_Widget*, void* w) { Self(w)->Save(); });
    button(WindowText::kSaveAs, [](Fl_Widget*, void* w) { Self(w)->SaveAs(); });
    button(WindowText::kImport, [](Fl_Widget*, void* w) { Self(w)->Import(); });
    button(WindowText::kMerge, [](Fl_Widget*, void* w) { Self(w)->Merge(); });
    remove_ = button(WindowText::kRemove, [](Fl_Widget*, void* w) { Self(w)->Remove(); });

    const int top = kMargin + kButtonHeight + kMargin;
    const int findingsTop = kHeight - kFindingsHeight;
    moves_ = new Fl_Tree(kMargin, top, kTreeWidth, findingsTop - top - kMargin);
    moves_->showroot(0);
    moves_->selectmode(FL_TREE_SELECT_SINGLE);
    moves_->item_labelsize(13);
    moves_->callback([](Fl_Widget*, void* w) { Self(w)->ShowChosen(); }, this);

    const int right = kMargin + kTreeWidth + kMargin;
    const int rightWidth = kWidth - right - kMargin;
    line_ = new Fl_Box(right, top, rightWidth, 48);
    line_->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_WRAP);
    line_->labelsize(13);
    board_ = new BoardView(right, top + 54);
    allowed_ = new Fl_Check_Button(right, top + 54 + 8 * kSquare + 8, rightWidth, 24);
    allowed_->copy_label(T(WindowText::kAllowed).c_str());
    allowed_->labelsize(13);
    allowed_->callback([](Fl_Widget*, void* w) { Self(w)->ToggleMark(); }, this);

    auto* heading = new Fl_Box(kMargin, findingsTop, kWidth - 2 * kMargin, 20);
    heading->copy_label(T(WindowText::kFindings).c_str());
    heading->labelsize(13);
    heading->labelfont(FL_HELVETICA_BOLD);
    heading->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
    findings_ = new Fl_Hold_Browser(kMargin, findingsTop + 20, kWidth - 2 * kMargin,
                                    kFindingsHeight - 20 - kMargin);
    findings_->textsize(12);
    end();
    callback([](Fl_Widget*, void* w) { Self(w)->Close(); }, this);
    position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
    Refill({});
  }

  void Open(const std::string& path) {
    std::string error;
    if (!book_.Open(path, error)) {
      fl_alert("%s\n%s", T(WindowText::kCannotOpen).c_str(), error.c_str());
    }
    Refill({});
  }

  void Run() {
    show();
    while (shown()) Fl::wait();
  }

 private:
  // What survives a rebuild of the tree: the open branches and the chosen move.
  struct View {
    std::set<std::string> Open;
    std::string Chosen;
  };

  static BookWindow* Self(void* w) { return static_cast<BookWindow*>(w); }
  std::string T(WindowText id) const { return quiretto::Text(id, italian_); }

  View Capture() {
    View view;
    for (Fl_Tree_Item* item = moves_->first(); item != nullptr; item = moves_->next(item)) {
      if (item == moves_->root()) continue;
      const std::string& prefix = book_.Nodes()[static_cast<std::size_t>(NodeOf(item))].Prefix;
      if (item->has_children() && item->is_open()) view.Open.insert(prefix);
      if (item->is_selected()) view.Chosen = prefix;
    }
    return view;
  }

  void AddItems(Fl_Tree_Item* parent, const std::vector<int>& nodes, const View& view) {
    for (int n : nodes) {
      const BookNode& node = book_.Nodes()[static_cast<std::size_t>(n)];
      // As the command line's list: * marks a move the engine may play.
      const std::string label =
          node.Label + (node.Allowed ? "*" : "") + "   (" + std::to_string(node.Lines) + ")";
      Fl_Tree_Item* item = moves_->add(parent, label.c_str());
      item->user_data(NodeData(n));
      if (!node.Allowed) item->labelfgcolor(FL_DARK3);
      if (!node.Legal) item->labelfgcolor(FL_RED);
      AddItems(item, node.Children, view);
      if (!node.Children.empty() && view.Open.count(node.Prefix) == 0) item->close();
      if (node.Prefix == view.Chosen) item->select();
    }
  }

  void Refill(const View& view) {
    moves_->clear_children(moves_->root());
    AddItems(moves_->root(), book_.FirstMoves(), view);
    moves_->redraw();
    findings_->clear();
    if (book_.Findings().empty()) {
      findings_->add(("@." + T(WindowText::kNoFindings)).c_str());
    }
    for (const quiretto::Finding& f : book_.Findings()) {
      std::string text = f.File;
      if (f.Line > 0) text += ":" + std::to_string(f.Line);
      text += std::string(f.Error ? ": error: " : ": note: ") + f.Text;
      findings_->add(("@." + text).c_str());
    }
    ShowChosen();
  }

  // Runs an edit of the book and shows the book as it is after it.
  template <typename Edit>
  void Change(Edit edit) {
    const View view = Capture();
    edit();
    Refill(view);
  }

  int Chosen() {
    Fl_Tree_Item* item = moves_->first_selected_item();
    return item == nullptr ? -1 : NodeOf(item);
  }

  void ShowChosen() {
    const int node = Chosen();
    const std::string text =
        node < 0 ? T(WindowText::kStartPosition)
                 : book_.LineText(node) + "   (" +
                       std::to_string(book_.Nodes()[static_cast<std::size_t>(node)].Lines) + " " +
                       T(WindowText::kLines) + ")";
    line_->copy_label(text.c_str());
    board_->Show(book_.PositionAfter(node));
    allowed_->value(node >= 0 && book_.Nodes()[static_cast<std::size_t>(node)].Allowed ? 1 : 0);
    if (node < 0) {
      allowed_->deactivate();
      remove_->deactivate();
    } else {
      allowed_->activate();
      remove_->activate();
    }
    UpdateTitle();
    redraw();
  }

  void UpdateTitle() {
    std::string title = T(WindowText::kTitle) + " - " +
                        (book_.Path().empty() ? T(WindowText::kNoBook) : FileName(book_.Path()));
    if (book_.Modified()) title += " *";
    copy_label(title.c_str());
  }

  // True when the changes may go: there are none, the user saved them or let them go.
  bool ChangesMayGo() {
    if (!book_.Modified()) return true;
    switch (fl_choice("%s", T(WindowText::kCancel).c_str(), T(WindowText::kSaveChanges).c_str(),
                      T(WindowText::kDiscard).c_str(), T(WindowText::kUnsaved).c_str())) {
      case 1: return Save();
      case 2: return true;
      default: return false;
    }
  }

  std::string ChooseFile(WindowText title, WindowText filterName, const char* pattern, int type) {
    Fl_Native_File_Chooser chooser(type);
    chooser.title(T(title).c_str());
    const std::string filter = T(filterName) + "\t" + pattern;
    chooser.filter(filter.c_str());
    if (!book_.Path().empty()) chooser.preset_file(book_.Path().c_str());
    if (chooser.show() != 0 || chooser.filename() == nullptr) return {};
    return chooser.filename();
  }

  void OpenChosen() {
    if (!ChangesMayGo()) return;
    const std::string path = ChooseFile(WindowText::kChooseBook, WindowText::kBookFiles, "*.txt",
                                        Fl_Native_File_Chooser::BROWSE_FILE);
    if (!path.empty()) Open(path);
  }

  bool Save() {
    if (book_.Path().empty()) return SaveAs();
    return SaveTo("");
  }

  bool SaveAs() {
    const std::string path = ChooseFile(WindowText::kSaveAs, WindowText::kBookFiles, "*.txt",
                                        Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    return !path.empty() && SaveTo(path);
  }

  bool SaveTo(const std::string& path) {
    std::string error;
    bool saved = false;
    Change([&] { saved = book_.Save(path, error); });
    if (!saved) fl_alert("%s\n%s", T(WindowText::kCannotSave).c_str(), error.c_str());
    return saved;
  }

  void ToggleMark() {
    const int node = Chosen();
    if (node < 0) return;
    Change([&] { book_.ToggleMark(node); });
  }

  void Remove() {
    const int node = Chosen();
    if (node < 0) return;
    if (fl_choice("%s", T(WindowText::kCancel).c_str(), T(WindowText::kRemove).c_str(), nullptr,
                  T(WindowText::kRemoveAsk).c_str()) != 1) {
      return;
    }
    Change([&] { book_.RemoveBranch(node); });
  }

  void Merge() {
    const std::string path = ChooseFile(WindowText::kChooseMerge, WindowText::kBookFiles, "*.txt",
                                        Fl_Native_File_Chooser::BROWSE_FILE);
    if (path.empty()) return;
    std::string error;
    bool merged = false;
    Change([&] { merged = book_.Merge(path, error); });
    if (!merged) fl_alert("%s\n%s", T(WindowText::kCannotOpen).c_str(), error.c_str());
  }

  void Import() {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_MULTI_FILE);
    chooser.title(T(WindowText::kChoosePgn).c_str());
    const std::string filter = T(WindowText::kPgnFiles) + "\t*.pgn";
    chooser.filter(filter.c_str());
    if (chooser.show() != 0) return;
    std::vector<std::string> files;
    for (int n = 0; n < chooser.count(); ++n) files.emplace_back(chooser.filename(n));
    quiretto::ImportOptions options;
    if (files.empty() || !AskImportOptions(options)) return;
    quiretto::ImportTally tally;
    std::string error;
    bool imported = false;
    Change([&] { imported = book_.Import(files, options, tally, error); });
    if (!imported) {
      fl_alert("%s", error.c_str());
      return;
    }
    fl_message("%s %d, %d, %d", T(WindowText::kImported).c_str(), tally.Games,
               tally.Games - tally.Skipped, tally.Skipped);
  }

  // The options of the command line's import, in a small dialog.
  bool AskImportOptions(quiretto::ImportOptions& options) {
    Fl_Double_Window dialog(320, 190, T(WindowText::kImport).c_str());
    auto spinner = [&](int y, WindowText text, int low, int high, int value) {
      auto* s = new Fl_Spinner(200, y, 100, 25);
      s->copy_label(T(text).c_str());
      s->range(low, high);
      s->step(1);
      s->value(value);
      return s;
    };
    Fl_Spinner* plies = spinner(10, WindowText::kPlies, 1, 20, options.Plies);
    Fl_Spinner* games = spinner(42, WindowText::kMinGames, 1, 99999, options.MinGames);
    auto* winners = new Fl_Check_Button(20, 74, 280, 25);
    winners->copy_label(T(WindowText::kWinnersOnly).c_str());
    auto* side = new Fl_Choice(200, 106, 100, 25);
    side->copy_label(T(WindowText::kSide).c_str());
    side->add(T(WindowText::kBothSides).c_str());
    side->add(T(WindowText::kWhite).c_str());
    side->add(T(WindowText::kBlack).c_str());
    side->value(0);
    int answer = 0;
    auto* ok = new Fl_Button(120, 150, 90, 28, "OK");
    auto* cancel = new Fl_Button(220, 150, 90, 28);
    cancel->copy_label(T(WindowText::kCancel).c_str());
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
    options.Plies = static_cast<int>(plies->value());
    options.MinGames = static_cast<int>(games->value());
    options.WinnersOnly = winners->value() != 0;
    options.Plays = side->value() == 1   ? quiretto::Side::kWhite
                    : side->value() == 2 ? quiretto::Side::kBlack
                                         : quiretto::Side::kBoth;
    return true;
  }

  void Close() {
    // Escape would close the window as the close button does; only the button does.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (ChangesMayGo()) hide();
  }

  bool italian_;
  BookTree book_;
  Fl_Tree* moves_ = nullptr;
  Fl_Box* line_ = nullptr;
  BoardView* board_ = nullptr;
  Fl_Check_Button* allowed_ = nullptr;
  Fl_Button* remove_ = nullptr;
  Fl_Hold_Browser* findings_ = nullptr;
};

[[noreturn]] void NoDisplay(const char*, ...) {
  std::fprintf(stderr, "%s\n", kNoDisplay);
  std::exit(1);
}

}  // namespace

int RunBookWindow(const std::string& bookPath, std::string& whyNot) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    whyNot = kNoDisplay;
    return 1;
  }
  // FLTK ends the process when the display cannot be opened; say why in our words.
  void (*previous)(const char*, ...) = Fl::fatal;
  Fl::fatal = NoDisplay;
  fl_open_display();
  Fl::fatal = previous;
  BookWindow window(platform::UserLanguageIsItalian());
  if (!bookPath.empty()) window.Open(bookPath);
  window.Run();
  return 0;
}

}  // namespace zandrell
