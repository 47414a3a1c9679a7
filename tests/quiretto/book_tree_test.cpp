// Quiretto's window without a display: the book as a tree of moves and the edits
// made on it, checked on the files they write.
#include <gtest/gtest.h>

#include "engine/book_state.h"
#include "quiretto/book_tree.h"
#include "quiretto/window_text.h"
#include "support/temp_folder.h"

namespace zandrell::quiretto {
namespace {

using zandrell::testing::TempFolder;

// e4 in three lines, e5 in two of them; d4 once.
const std::vector<std::string> kLines = {
    " d2d4d7d5",
    " e2e4c7c5",
    " e2e4e7e5g1f3b8c6",
    " e2e4e7e5g1f3g8f6",
};

std::string WriteBook(const TempFolder& folder, const std::string& name,
                      const std::vector<std::string>& lines, std::vector<std::int32_t> masks = {}) {
  BookData book{lines, masks};
  if (book.Masks.empty()) book.Masks.assign(lines.size(), kAllPliesMask);
  std::string error;
  EXPECT_TRUE(SaveBook(folder.File(name), book, error)) << error;
  return folder.File(name);
}

int Node(const BookTree& tree, const std::string& prefix) {
  const int node = tree.Find(prefix);
  EXPECT_GE(node, 0) << prefix;
  return node;
}

std::vector<Finding> Errors(const std::string& path) {
  std::vector<Finding> errors;
  for (const Finding& f : CheckBook(path)) {
    if (f.Error) errors.push_back(f);
  }
  return errors;
}

TEST(BookTree, OneNodePerDistinctMoveWithMoveNumbersLineCountsAndBoard) {
  TempFolder folder;
  BookTree tree;
  std::string error;
  ASSERT_TRUE(tree.Open(WriteBook(folder, "book.txt", kLines), error)) << error;
  ASSERT_EQ(tree.FirstMoves().size(), 2u);
  const BookNode& d4 = tree.Nodes()[static_cast<std::size_t>(tree.FirstMoves()[0])];
  const BookNode& e4 = tree.Nodes()[static_cast<std::size_t>(tree.FirstMoves()[1])];
  EXPECT_EQ(d4.Label, "1. d4");
  EXPECT_EQ(d4.Lines, 1);
  EXPECT_EQ(e4.Lines, 3);
  ASSERT_EQ(e4.Children.size(), 2u);  // c5 and e5, once each
  const BookNode& e5 = tree.Nodes()[static_cast<std::size_t>(Node(tree, " e2e4e7e5"))];
  EXPECT_EQ(e5.Label, "1... e5");
  EXPECT_EQ(e5.Lines, 2);
  EXPECT_EQ(e5.Ply, 1);
  EXPECT_TRUE(e5.Allowed);
  const int nf6 = Node(tree, " e2e4e7e5g1f3g8f6");
  EXPECT_EQ(tree.Nodes()[static_cast<std::size_t>(nf6)].Label, "2... Nf6");
  EXPECT_EQ(tree.LineText(nf6), "1. e4 e5 2. Nf3 Nf6");
  EXPECT_EQ(tree.Nodes().size(), 8u);
  EXPECT_EQ(tree.Find(" e2e4e7e6"), -1);

  const Diagram start = tree.PositionAfter(-1);
  const Diagram after = tree.PositionAfter(nf6);
  EXPECT_EQ(std::string(start.begin(), start.begin() + 8), "rnbqkbnr");
  EXPECT_EQ(std::string(after.begin(), after.begin() + 8), "rnbqkb.r");
  EXPECT_EQ(after[5 * 8 + 5], 'N');  // f3
  EXPECT_EQ(after[4 * 8 + 4], 'P');  // e4
  EXPECT_EQ(after[6 * 8 + 4], '.');  // e2
  EXPECT_FALSE(tree.Modified());
  EXPECT_TRUE(tree.Findings().empty());
}

TEST(BookTree, ToggleChangesExactlyTheMasksOfTheRunThroughTheMove) {
  TempFolder folder;
  BookTree tree;
  std::string error;
  const std::string path = WriteBook(folder, "book.txt", kLines, {0b11, 0b11, 0b1111, 0b1111});
  ASSERT_TRUE(tree.Open(path, error)) << error;
  tree.ToggleMark(Node(tree, " e2e4e7e5"));
  EXPECT_EQ(tree.Book().Lines, kLines);
  EXPECT_EQ(tree.Book().Masks, (std::vector<std::int32_t>{0b11, 0b11, 0b1101, 0b1101}));
  EXPECT_FALSE(tree.Nodes()[static_cast<std::size_t>(Node(tree, " e2e4e7e5"))].Allowed);
  EXPECT_TRUE(tree.Modified());
  tree.ToggleMark(Node(tree, " e2e4e7e5"));
  EXPECT_FALSE(tree.Modified()) << "back as it was on disk";

  tree.ToggleMark(Node(tree, " e2e4"));
  EXPECT_EQ(tree.Book().Masks, (std::vector<std::int32_t>{0b11, 0b10, 0b1110, 0b1110}));
  ASSERT_TRUE(tree.Save("", error)) << error;
  EXPECT_FALSE(tree.Modified());
  EXPECT_TRUE(Errors(path).empty());
  BookData reread;
  ASSERT_TRUE(ReadBook(path, reread, error)) << error;
  EXPECT_EQ(reread.Masks, tree.Book().Masks);
}

TEST(BookTree, AMarkIsShownAndToggledAsTheEngineReadsIt) {
  // Disagreeing bits for e5: the engine takes the first line's (forbidden).
  TempFolder folder;
  BookTree tree;
  std::string error;
  ASSERT_TRUE(tree.Open(
      WriteBook(folder, "book.txt", {" e2e4e7e5b1c3", " e2e4e7e5g1f3"}, {0b101, 0b111}), error))
      << error;
  EXPECT_FALSE(tree.Nodes()[static_cast<std::size_t>(Node(tree, " e2e4e7e5"))].Allowed);
  tree.ToggleMark(Node(tree, " e2e4e7e5"));
  EXPECT_EQ(tree.Book().Masks, (std::vector<std::int32_t>{0b111, 0b111}));
}

TEST(BookTree, RemoveImportAndMergeKeepTheBookSortedAndConsistent) {
  TempFolder folder;
  BookTree tree;
  std::string error;
  const std::string path = WriteBook(folder, "book.txt", kLines);
  ASSERT_TRUE(tree.Open(path, error)) << error;

  tree.RemoveBranch(Node(tree, " e2e4e7e5"));
  EXPECT_EQ(tree.Book().Lines, (std::vector<std::string>{" d2d4d7d5", " e2e4c7c5"}));
  EXPECT_EQ(tree.Nodes().size(), 4u);

  folder.Write("games.pgn",
               "[Result \"1-0\"]\n1. e4 e6 2. d4 d5 1-0\n[Result \"0-1\"]\n1. c4 e5 0-1\n");
  ImportOptions options;
  options.Plays = Side::kWhite;
  ImportTally tally;
  ASSERT_TRUE(tree.Import({folder.File("games.pgn")}, options, tally, error)) << error;
  EXPECT_EQ(tally.Games, 2);
  EXPECT_EQ(tree.Book().Lines,
            (std::vector<std::string>{" c2c4e7e5", " d2d4d7d5", " e2e4c7c5", " e2e4e7e6d2d4d7d5"}));
  // White's moves only from the games; e4 stays allowed as the book had it.
  EXPECT_EQ(tree.Book().Masks, (std::vector<std::int32_t>{0b01, 0b11, 0b11, 0b0101}));
  EXPECT_FALSE(tree.Import({folder.File("missing.pgn")}, options, tally, error));
  EXPECT_NE(error.find("missing.pgn"), std::string::npos);

  const std::string other = WriteBook(folder, "other.txt", {" c2c4e7e5g1f3", " g1f3d7d5"});
  ASSERT_TRUE(tree.Merge(other, error)) << error;
  EXPECT_EQ(tree.Book().Lines, (std::vector<std::string>{" c2c4e7e5g1f3", " d2d4d7d5", " e2e4c7c5",
                                                         " e2e4e7e6d2d4d7d5", " g1f3d7d5"}));
  EXPECT_EQ(tree.Book().Masks[0], 0b111) << "allowed when either book allows it";

  EXPECT_TRUE(tree.Modified());
  const std::string saved = folder.File("saved.txt");
  ASSERT_TRUE(tree.Save(saved, error)) << error;
  EXPECT_EQ(tree.Path(), saved);
  EXPECT_FALSE(tree.Modified());
  EXPECT_TRUE(folder.Exists("saved.opi"));
  EXPECT_TRUE(Errors(saved).empty());
  EXPECT_TRUE(tree.Findings().empty());
}

TEST(BookTree, ADamagedBookListsItsFindings) {
  TempFolder folder;
  BookTree tree;
  std::string error;
  folder.Write("bad.txt", " e2e4e7e5\r\n e2e4 e7e5\r\n");
  EXPECT_FALSE(tree.Open(folder.File("bad.txt"), error));
  EXPECT_NE(error.find("bad.txt:2"), std::string::npos) << error;
  EXPECT_TRUE(tree.Nodes().empty());
  EXPECT_TRUE(tree.Path().empty()) << "nothing may be saved over the damaged book";
  bool blank = false;
  for (const Finding& f : tree.Findings()) {
    blank = blank || (f.Line == 2 && f.Error && f.Text.find("misplaced blank") == 0);
  }
  EXPECT_TRUE(blank);

  // Readable but wrong: an illegal move stays in the tree as written, and is listed.
  folder.Write("illegal.txt", " e2e4e7e5\r\n e2e5e7e5\r\n");
  ASSERT_TRUE(tree.Open(folder.File("illegal.txt"), error)) << error;
  const int illegal = Node(tree, " e2e5");
  EXPECT_FALSE(tree.Nodes()[static_cast<std::size_t>(illegal)].Legal);
  EXPECT_EQ(tree.Nodes()[static_cast<std::size_t>(illegal)].Label, "1. e2e5");
  bool listed = false;
  for (const Finding& f : tree.Findings()) {
    listed = listed || (f.Line == 2 && f.Text.find("illegal move \"e2e5\"") != std::string::npos);
  }
  EXPECT_TRUE(listed);

  EXPECT_FALSE(tree.Open(folder.File("missing.txt"), error));
  ASSERT_EQ(tree.Findings().size(), 1u);
  // The system's reason follows, in its own words.
  EXPECT_EQ(tree.Findings()[0].Text.rfind("cannot read the book", 0), 0u)
      << tree.Findings()[0].Text;
}

TEST(BookTree, ANewBookNeedsANameToBeSaved) {
  TempFolder folder;
  BookTree tree;
  tree.New();
  std::string error;
  EXPECT_FALSE(tree.Save("", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(tree.Save(folder.File("new.txt"), error)) << error;
  EXPECT_TRUE(folder.Exists("new.txt"));
  EXPECT_TRUE(folder.Exists("new.opi"));
}

TEST(QuirettoWindowText, EveryTextInEnglishAndItalian) {
  for (int id = 0; id <= static_cast<int>(WindowText::kPgnFiles); ++id) {
    EXPECT_FALSE(Text(static_cast<WindowText>(id), false).empty()) << id;
    EXPECT_FALSE(Text(static_cast<WindowText>(id), true).empty()) << id;
  }
  EXPECT_EQ(Text(WindowText::kSaveAs, true), "Salva con nome...");
}

}  // namespace
}  // namespace zandrell::quiretto
