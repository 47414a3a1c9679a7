// What Quiretto's window does, through a fake window: the tree it is given, the
// mark of the chosen move, and the question before unsaved changes are lost.
#include <gtest/gtest.h>

#include "engine/book_state.h"
#include "launcher/book_window_controller.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

using platform::BookCommand;

struct FakeWindow final : platform::BookWindow {
  void SetCaption(const std::string& caption) override { Caption = caption; }
  void ShowTree(const std::vector<platform::BookRow>& rows, const std::vector<int>& open,
                int chosen) override {
    Rows = rows;
    Open = open;
    Chosen = chosen;
  }
  std::vector<int> OpenNodes() override { return Open; }
  void ShowChosen(const std::string& line, const std::array<char, 64>&, bool mark,
                  bool enabled) override {
    Line = line;
    Mark = mark;
    MarkEnabled = enabled;
  }
  void ShowFindings(const std::vector<std::string>& lines) override { Findings = lines; }
  std::vector<std::string> ChooseFiles(platform::FileChoice, const std::string&, const std::string&,
                                       const std::string&, const std::string&) override {
    return Files;
  }
  int Ask(const std::string& question, const std::vector<std::string>&) override {
    Questions.push_back(question);
    return Answer;
  }
  void Tell(const std::string& text, bool) override { Told.push_back(text); }
  bool AskImport(const platform::ImportDialogTexts&, platform::ImportChoices&) override {
    return true;
  }
  void Run() override {}

  std::string Caption, Line;
  std::vector<platform::BookRow> Rows;
  std::vector<int> Open;
  int Chosen = -1;
  bool Mark = false, MarkEnabled = false;
  std::vector<std::string> Findings, Files, Questions, Told;
  int Answer = 0;
};

int RowOf(const FakeWindow& w, const std::string& label) {
  for (const platform::BookRow& row : w.Rows) {
    if (row.Label.rfind(label, 0) == 0) return row.Node;
  }
  return -1;
}

TEST(BookWindowController, ShowsTheTreeTogglesTheChosenMarkAndAsksBeforeLosingIt) {
  testing::TempFolder folder;
  quiretto::BookData book{{" d2d4d7d5", " e2e4c7c5", " e2e4e7e5"}, {3, 3, 3}};
  std::string error;
  ASSERT_TRUE(quiretto::SaveBook(folder.File("book.txt"), book, error)) << error;
  FakeWindow window;
  BookWindowController controller(false);
  controller.Attach(window);
  EXPECT_EQ(window.Caption, "Quiretto - no book");
  controller.Open(folder.File("book.txt"));
  EXPECT_EQ(window.Caption, "Quiretto - book.txt");
  ASSERT_EQ(window.Rows.size(), 5u);
  EXPECT_EQ(window.Rows[0].Label, "1. d4*   (1)");
  EXPECT_EQ(window.Rows[2].Label, "1. e4*   (2)");
  EXPECT_EQ(window.Rows[3].Parent, window.Rows[2].Node) << "children right after their parent";
  EXPECT_EQ(window.Findings, std::vector<std::string>{"The check finds nothing wrong."});
  EXPECT_FALSE(window.MarkEnabled);

  const int e5 = RowOf(window, "1... e5");
  window.Open = {RowOf(window, "1. e4")};
  controller.Chosen(e5);
  EXPECT_EQ(window.Line, "1. e4 e5   (1 lines)");
  EXPECT_TRUE(window.Mark);
  controller.Command(BookCommand::kToggleMark);
  EXPECT_EQ(window.Caption, "Quiretto - book.txt *");
  EXPECT_FALSE(window.Mark);
  EXPECT_EQ(window.Chosen, e5) << "the chosen move stays chosen";
  EXPECT_EQ(window.Open, std::vector<int>{RowOf(window, "1. e4")});
  EXPECT_TRUE(window.Rows[4].Dim);

  window.Answer = 0;  // cancel
  EXPECT_FALSE(controller.MayClose());
  EXPECT_EQ(window.Questions.size(), 1u);
  window.Answer = 2;  // let the changes go
  EXPECT_TRUE(controller.MayClose());
  window.Answer = 1;  // save them
  EXPECT_TRUE(controller.MayClose());
  EXPECT_EQ(window.Caption, "Quiretto - book.txt");
  quiretto::BookData saved;
  ASSERT_TRUE(quiretto::ReadBook(folder.File("book.txt"), saved, error)) << error;
  EXPECT_EQ(saved.Masks, (std::vector<std::int32_t>{3, 3, 1}));
  EXPECT_TRUE(controller.MayClose());
  EXPECT_EQ(window.Questions.size(), 3u) << "nothing to ask once saved";

  // Removing asks, then the branch is gone.
  controller.Chosen(RowOf(window, "1. e4"));
  controller.Command(BookCommand::kRemove);
  EXPECT_EQ(controller.Book().Book().Lines, std::vector<std::string>{" d2d4d7d5"});
}

TEST(BookWindowController, ADamagedBookIsToldAndItsFindingsListed) {
  testing::TempFolder folder;
  folder.Write("bad.txt", " e2e4\r\nnot a line\r\n");
  FakeWindow window;
  BookWindowController controller(true);
  controller.Attach(window);
  controller.Open(folder.File("bad.txt"));
  ASSERT_EQ(window.Told.size(), 1u);
  EXPECT_EQ(window.Told[0].rfind("Impossibile aprire il libro:", 0), 0u) << window.Told[0];
  EXPECT_TRUE(window.Rows.empty());
  bool listed = false;
  for (const std::string& line : window.Findings) {
    listed = listed || line.find("bad.txt:2: error: ") != std::string::npos;
  }
  EXPECT_TRUE(listed);
  EXPECT_EQ(window.Caption, "Quiretto - nessun libro");
}

}  // namespace
}  // namespace zandrell
