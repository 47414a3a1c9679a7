// The opening book against real book and flag files on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>

#include "board/move_text.h"
#include "book/book.h"
#include "support/test_engine.h"

namespace zandrell {
namespace {

using testing::TestEngine;

std::string FlagBytes(std::initializer_list<std::uint32_t> masks) {
  std::string bytes;
  for (std::uint32_t mask : masks) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(mask >> shift & 0xFF);
  }
  return bytes;
}

class Book : public ::testing::Test {
 protected:
  // Writes the book (and its flag file when given) and starts the engine with it.
  void Load(const std::string& lines, const std::string& flags = {}, bool withFlags = false) {
    T.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=book.txt\r\n");
    T.Folder().Write("book.txt", lines);
    if (withFlags) T.Folder().Write("book.opi", flags);
    T.Init();
  }
  std::set<std::string> Probes(int times) {
    std::set<std::string> seen;
    for (int i = 0; i < times; ++i) seen.insert(MoveToText(ProbeBook(*T)));
    return seen;
  }
  // The random source follows the clock: probes until this many moves were seen,
  // for at most five seconds.
  std::set<std::string> ProbesUntil(std::size_t distinct) {
    std::set<std::string> seen;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (seen.size() < distinct && std::chrono::steady_clock::now() < until) {
      seen.insert(MoveToText(ProbeBook(*T)));
    }
    return seen;
  }
  TestEngine T;
};

TEST(BookFiles, FlagFileNameNeedsADotInTheFileName) {
  EXPECT_EQ(FlagFileName("book.txt"), "book.opi");
  EXPECT_EQ(FlagFileName("/games/my.books/open.bk"), "/games/my.books/open.opi");
  EXPECT_EQ(FlagFileName("/games/my.books/open"), "");
  EXPECT_EQ(FlagFileName("open"), "");
  EXPECT_EQ(FlagFileName("a.b.c"), "a.b.opi");
}

TEST(BookFiles, NoSettingOrAnUnreadableBookLeavesNoBookWithOneErrorLogged) {
  struct Case {
    const char* Settings;
    std::string Log;              // "" for none; else the one entry
    const char* Named = nullptr;  // the entry names this file and says it is a folder
  };
  for (const Case& c : {Case{"", ""},
                        Case{"[Engine]\r\nOpeningBook=missing.txt\r\n",
                             "Opening book error: " + std::string(std::strerror(ENOENT))},
                        Case{"[Engine]\r\nOpeningBook=openings\r\n", "", "openings"},
                        Case{"[Engine]\r\nOpeningBook=book.txt\r\n", "", "book.opi"}}) {
    TestEngine t;
    std::filesystem::create_directory(t.Folder().Path() / "openings");  // a folder, not a book
    t.Folder().Write("book.txt", " e2e4e7e5\r\n");
    std::filesystem::create_directory(t.Folder().Path() / "book.opi");  // nor a flag file
    if (*c.Settings != '\0') t.Folder().Write("Zandrell.ini", c.Settings);
    t.Init();
    EXPECT_FALSE(t->book.BookLoaded) << c.Settings;
    EXPECT_EQ(t->board.BookPly, 21) << c.Settings;
    const std::string log = t.Log();
    if (c.Named != nullptr) {
      EXPECT_EQ(log, "Opening book error: " + t.Folder().File(c.Named) +
                         " is a folder, not a book file\r\n");
    } else if (!c.Log.empty()) {
      EXPECT_EQ(log, c.Log + "\r\n");
    }
  }
}

TEST_F(Book, MalformedLinesLoadAndAreCountedOnceInTheLog) {
  Load(" e2e4e7e5\r\nnot a move\r\n e2e4e7\r\n\r\n E2E4\r\n e2e4e7e5g1f3\r\n");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(T->book.BookLineCount, 6);
  EXPECT_EQ(T.Log(), "Opening book: 4 of 6 lines are not moves and are never played\r\n");
  T.Feed("e2e4\n");
  EXPECT_EQ(Probes(50), std::set<std::string>{"e7e5"});

  TestEngine sound;
  sound.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=book.txt\r\n");
  sound.Folder().Write("book.txt", " e2e4e7e5\r\n d2d4\r\n");
  sound.Init();
  EXPECT_TRUE(sound->book.BookLoaded);
  EXPECT_EQ(sound.Log(), "");
}

TEST_F(Book, EachLineHasItsMaskInOrderAndMissingOnesAllowEveryPly) {
  Load(" e2e4e7e5\r\n d2d4d7d5\r\n c2c4\r\n d2d4d7d5\r\n", FlagBytes({5, 0xFFFFFFFF, 7}), true);
  EXPECT_EQ(T->board.BookPly, 0);
  ASSERT_EQ(T->book.BookLineCount, 3);  // a repeated line keeps its first mask
  EXPECT_EQ(T->book.BookLines[1], " d2d4d7d5");
  EXPECT_EQ(T->book.BookFlags.at(" e2e4e7e5"), 5);
  EXPECT_EQ(T->book.BookFlags.at(" d2d4d7d5"), -1);
  EXPECT_EQ(T->book.BookFlags.at(" c2c4"), 7);
  EXPECT_TRUE(BookMoveAllowed(T->book, " e2e4e7e5", 3));
  EXPECT_FALSE(BookMoveAllowed(T->book, " e2e4e7e5", 2));
  EXPECT_FALSE(BookMoveAllowed(T->book, " not in book", 1));

  Load(" e2e4e7e5\r\n c2c4\r\n", FlagBytes({5}), true);  // a short flag file
  EXPECT_EQ(T->book.BookFlags.at(" c2c4"), kAllPliesMask);
  std::filesystem::remove(T.Folder().Path() / "book.opi");
  Load(" e2e4e7e5\r\n c2c4\r\n");  // none at all
  EXPECT_EQ(T->book.BookFlags.at(" e2e4e7e5"), kAllPliesMask);
}

TEST_F(Book, TheFirstMoveIsOneOfTheFourFixedMovesEvenWithAnEmptyBook) {
  Load("");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(ProbesUntil(4), (std::set<std::string>{"e2e4", "d2d4", "c2c4", "g1f3"}));
  T.Feed("e2e4\n");
  EXPECT_EQ(ProbeBook(*T).From, 0);
}

TEST_F(Book, CandidatesFollowTheGameAndTheirMasks) {
  Load(" e2e4e7e5g1f3\r\n e2e4c7c5\r\n");
  T.Feed("e2e4\n");
  EXPECT_EQ(ProbesUntil(2), (std::set<std::string>{"e7e5", "c7c5"}));
  // A cleared ply bit removes that line's move.
  Load(" e2e4e7e5g1f3\r\n e2e4c7c5\r\n", FlagBytes({kAllPliesMask & ~2u, kAllPliesMask}), true);
  T.Feed("e2e4\n");
  EXPECT_EQ(Probes(50), (std::set<std::string>{"c7c5"}));
  // Adjacent lines with the same move use the first line's mask.
  Load(" e2e4e7e5g1f3\r\n e2e4e7e5b1c3\r\n", FlagBytes({kAllPliesMask & ~2u, kAllPliesMask}), true);
  T.Feed("e2e4\n");
  EXPECT_EQ(ProbeBook(*T).From, 0);
  // Outside the book: nothing, and the game stays as it was.
  Load(" e2e4e7e5g1f3\r\n");
  T.Feed("d2d4\n");
  EXPECT_EQ(ProbeBook(*T).From, 0);
  EXPECT_EQ(T->board.GameMoves, " d2d4");
}

TEST_F(Book, ProbingLeavesTheGamePositionAsItWas) {
  Load(" e2e4a7a6e4e5d7d5e5d6\r\n");
  T.Feed("e2e4\na7a6\ne4e5\nd7d5\n");
  Move m = ProbeBook(*T);
  EXPECT_EQ(MoveToText(m), "e5d6");
  EXPECT_EQ(m.EnPassant, 1);
  // The marker survived the probe, so the capture is still accepted.
  T.Feed("e5d6\n");
  EXPECT_EQ(T.TakeOutput(), "");
}

TEST(BookRandom, RandomIntStaysInItsRange) {
  EXPECT_EQ(RandomInt(0, 0), 0);
  std::set<int> seen;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (seen.size() < 4 && std::chrono::steady_clock::now() < until) seen.insert(RandomInt(0, 3));
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace zandrell
