#include "launcher/book_window_controller.h"

#include "launcher/book_window.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

using platform::BookCommand;
using platform::FileChoice;
using quiretto::WindowText;

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

platform::BookWindowTexts BookWindowTexts(bool italian) {
  platform::BookWindowTexts texts;
  const WindowText buttons[] = {WindowText::kOpen,   WindowText::kSave,  WindowText::kSaveAs,
                                WindowText::kImport, WindowText::kMerge, WindowText::kRemove};
  for (std::size_t i = 0; i < texts.Buttons.size(); ++i) {
    texts.Buttons[i] = quiretto::Text(buttons[i], italian);
  }
  texts.Mark = quiretto::Text(WindowText::kAllowed, italian);
  texts.Findings = quiretto::Text(WindowText::kFindings, italian);
  texts.Ok = "OK";
  texts.Cancel = quiretto::Text(WindowText::kCancel, italian);
  return texts;
}

void BookWindowController::Attach(platform::BookWindow& window) {
  window_ = &window;
  Show({}, {});
}

void BookWindowController::Open(const std::string& path) {
  std::string error;
  const bool opened = book_.Open(path, error);
  Show({}, {});
  if (!opened) window_->Tell(T(WindowText::kCannotOpen) + "\n" + error, true);
}

void BookWindowController::Show(const std::vector<std::string>& openPrefixes,
                                const std::string& chosenPrefix) {
  std::vector<platform::BookRow> rows;
  rows.reserve(book_.Nodes().size());
  // Parents before children: depth first from the first moves.
  std::vector<int> pending(book_.FirstMoves().rbegin(), book_.FirstMoves().rend());
  while (!pending.empty()) {
    const int n = pending.back();
    pending.pop_back();
    const quiretto::BookNode& node = book_.Nodes()[static_cast<std::size_t>(n)];
    // As the command line's list: * marks a move the engine may play.
    rows.push_back(
        {n, node.Parent,
         node.Label + (node.Allowed ? "*" : "") + "   (" + std::to_string(node.Lines) + ")",
         !node.Allowed, !node.Legal});
    pending.insert(pending.end(), node.Children.rbegin(), node.Children.rend());
  }
  std::vector<int> open;
  for (const std::string& prefix : openPrefixes) {
    const int n = book_.Find(prefix);
    if (n >= 0) open.push_back(n);
  }
  chosen_ = chosenPrefix.empty() ? -1 : book_.Find(chosenPrefix);
  window_->ShowTree(rows, open, chosen_);

  std::vector<std::string> findings;
  if (book_.Findings().empty()) findings.push_back(T(WindowText::kNoFindings));
  for (const quiretto::Finding& f : book_.Findings()) {
    std::string text = f.File;
    if (f.Line > 0) text += ":" + std::to_string(f.Line);
    findings.push_back(text + (f.Error ? ": error: " : ": note: ") + f.Text);
  }
  window_->ShowFindings(findings);
  ShowChosen();
}

void BookWindowController::ShowChosen() {
  const int node = chosen_;
  std::string line = T(WindowText::kStartPosition);
  bool mark = false;
  if (node >= 0) {
    const quiretto::BookNode& n = book_.Nodes()[static_cast<std::size_t>(node)];
    line =
        book_.LineText(node) + "   (" + std::to_string(n.Lines) + " " + T(WindowText::kLines) + ")";
    mark = n.Allowed;
  }
  window_->ShowChosen(line, book_.PositionAfter(node), mark, node >= 0);
  ShowCaption();
}

void BookWindowController::ShowCaption() {
  std::string caption = T(WindowText::kTitle) + " - " +
                        (book_.Path().empty() ? T(WindowText::kNoBook) : FileName(book_.Path()));
  if (book_.Modified()) caption += " *";
  window_->SetCaption(caption);
}

template <typename Edit>
void BookWindowController::Change(Edit edit) {
  std::vector<std::string> open;
  for (int n : window_->OpenNodes()) {
    if (n >= 0 && n < static_cast<int>(book_.Nodes().size())) {
      open.push_back(book_.Nodes()[static_cast<std::size_t>(n)].Prefix);
    }
  }
  const std::string chosen =
      chosen_ >= 0 ? book_.Nodes()[static_cast<std::size_t>(chosen_)].Prefix : std::string();
  edit();
  Show(open, chosen);
}

void BookWindowController::Chosen(int node) {
  chosen_ = node >= 0 && node < static_cast<int>(book_.Nodes().size()) ? node : -1;
  ShowChosen();
}

bool BookWindowController::MayClose() { return ChangesMayGo(); }

bool BookWindowController::ChangesMayGo() {
  if (!book_.Modified()) return true;
  switch (window_->Ask(
      T(WindowText::kUnsaved),
      {T(WindowText::kCancel), T(WindowText::kSaveChanges), T(WindowText::kDiscard)})) {
    case 1: return Save();
    case 2: return true;
    default: return false;
  }
}

std::string BookWindowController::ChooseOne(FileChoice kind, WindowText title) {
  const std::vector<std::string> files =
      window_->ChooseFiles(kind, T(title), T(WindowText::kBookFiles), "*.txt", book_.Path());
  return files.empty() ? std::string() : files.front();
}

void BookWindowController::Command(BookCommand command) {
  switch (command) {
    case BookCommand::kOpen:
      if (ChangesMayGo()) {
        const std::string path = ChooseOne(FileChoice::kOpen, WindowText::kChooseBook);
        if (!path.empty()) Open(path);
      }
      break;
    case BookCommand::kSave: Save(); break;
    case BookCommand::kSaveAs: {
      const std::string path = ChooseOne(FileChoice::kSave, WindowText::kSaveAs);
      if (!path.empty()) SaveTo(path);
      break;
    }
    case BookCommand::kImport: Import(); break;
    case BookCommand::kMerge: Merge(); break;
    case BookCommand::kRemove: Remove(); break;
    case BookCommand::kToggleMark:
      if (chosen_ >= 0) {
        const int node = chosen_;
        Change([&] { book_.ToggleMark(node); });
      }
      break;
  }
}

bool BookWindowController::Save() {
  if (book_.Path().empty()) {
    const std::string path = ChooseOne(FileChoice::kSave, WindowText::kSaveAs);
    return !path.empty() && SaveTo(path);
  }
  return SaveTo("");
}

bool BookWindowController::SaveTo(const std::string& path) {
  std::string error;
  bool saved = false;
  Change([&] { saved = book_.Save(path, error); });
  if (!saved) window_->Tell(T(WindowText::kCannotSave) + "\n" + error, true);
  return saved;
}

void BookWindowController::Remove() {
  if (chosen_ < 0) return;
  if (window_->Ask(T(WindowText::kRemoveAsk), {T(WindowText::kCancel), T(WindowText::kRemove)}) !=
      1) {
    return;
  }
  const int node = chosen_;
  Change([&] { book_.RemoveBranch(node); });
}

void BookWindowController::Merge() {
  const std::string path = ChooseOne(FileChoice::kOpen, WindowText::kChooseMerge);
  if (path.empty()) return;
  std::string error;
  bool merged = false;
  Change([&] { merged = book_.Merge(path, error); });
  if (!merged) window_->Tell(T(WindowText::kCannotOpen) + "\n" + error, true);
}

void BookWindowController::Import() {
  const std::vector<std::string> files = window_->ChooseFiles(
      FileChoice::kOpenMany, T(WindowText::kChoosePgn), T(WindowText::kPgnFiles), "*.pgn", {});
  if (files.empty()) return;
  platform::ImportDialogTexts texts;
  texts.Title = T(WindowText::kImport);
  texts.Plies = T(WindowText::kPlies);
  texts.MinGames = T(WindowText::kMinGames);
  texts.WinnersOnly = T(WindowText::kWinnersOnly);
  texts.Side = T(WindowText::kSide);
  texts.Sides = {T(WindowText::kBothSides), T(WindowText::kWhite), T(WindowText::kBlack)};
  texts.Ok = "OK";
  texts.Cancel = T(WindowText::kCancel);
  platform::ImportChoices choices;
  if (!window_->AskImport(texts, choices)) return;
  quiretto::ImportOptions options;
  options.Plies = choices.Plies < 1 ? 1 : choices.Plies > 20 ? 20 : choices.Plies;
  options.MinGames = choices.MinGames < 1 ? 1 : choices.MinGames;
  options.WinnersOnly = choices.WinnersOnly;
  options.Plays = choices.Side == 1   ? quiretto::Side::kWhite
                  : choices.Side == 2 ? quiretto::Side::kBlack
                                      : quiretto::Side::kBoth;
  quiretto::ImportTally tally;
  std::string error;
  bool imported = false;
  Change([&] { imported = book_.Import(files, options, tally, error); });
  if (!imported) {
    window_->Tell(error, true);
    return;
  }
  window_->Tell(T(WindowText::kImported) + " " + std::to_string(tally.Games) + ", " +
                    std::to_string(tally.Games - tally.Skipped) + ", " +
                    std::to_string(tally.Skipped),
                false);
}

int RunBookWindow(const std::string& bookPath, std::string& whyNot) {
  BookWindowController controller(platform::UserLanguageIsItalian());
  std::unique_ptr<platform::BookWindow> window = platform::CreateBookWindow(
      BookWindowTexts(platform::UserLanguageIsItalian()), controller, whyNot);
  if (!window) return 1;
  controller.Attach(*window);
  if (!bookPath.empty()) controller.Open(bookPath);
  window->Run();
  return 0;
}

}  // namespace zandrell
