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
  std::set<std::string> Probes(int times = 200) {
    std::set<std::string> seen;
    for (int i = 0; i < times; ++i) seen.insert(MoveToText(ProbeBook(*T)));
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

TEST(BookFiles, WithoutTheSettingThereIsNoBook) {
  TestEngine t;
  t.Init();
  EXPECT_FALSE(t->book.BookLoaded);
  EXPECT_EQ(t->board.BookPly, 21);
}

TEST(BookFiles, AnUnopenableBookLogsOneErrorAndLeavesNoBook) {
  TestEngine t;
  t.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=missing.txt\r\n");
  t.Init();
  EXPECT_FALSE(t->book.BookLoaded);
  EXPECT_EQ(t->board.BookPly, 21);
  std::string log = t.Log();
  ASSERT_EQ(log.rfind("Opening book error: ", 0), 0u);
  EXPECT_EQ(log.find("Opening book error: ", 1), std::string::npos);
  EXPECT_EQ(log.find("\r\n"), log.size() - 2);
}

TEST(BookFiles, AFolderNamedAsTheBookIsAnErrorNotAnEmptyBook) {
  TestEngine t;
  std::filesystem::create_directory(t.Folder().Path() / "openings");
  t.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=openings\r\n");
  t.Init();
  EXPECT_FALSE(t->book.BookLoaded);
  EXPECT_EQ(t->board.BookPly, 21);
  EXPECT_EQ(t.Log(), "Opening book error: " + std::string(std::strerror(EISDIR)) + "\r\n");
}

TEST_F(Book, MalformedLinesLoadAndAreCountedOnceInTheLog) {
  Load(" e2e4e7e5\r\nnot a move\r\n e2e4e7\r\n\r\n E2E4\r\n e2e4e7e5g1f3\r\n");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(T->book.BookLineCount, 6);
  EXPECT_EQ(T.Log(), "Opening book: 4 of 6 lines are not moves and are never played\r\n");
  T.Feed("e2e4\n");
  EXPECT_EQ(Probes(50), std::set<std::string>{"e7e5"});
}

TEST_F(Book, AWellFormedBookLogsNothing) {
  Load(" e2e4e7e5\r\n d2d4\r\n");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(T.Log(), "");
}

TEST_F(Book, LinesWithoutAFlagFileAllowEveryPly) {
  Load(" e2e4e7e5\r\n d2d4d7d5\r\n c2c4\r\n");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(T->board.BookPly, 0);
  ASSERT_EQ(T->book.BookLineCount, 3);
  EXPECT_EQ(T->book.BookLines[1], " d2d4d7d5");
  for (const std::string& line : T->book.BookLines) {
    EXPECT_EQ(T->book.BookFlags.at(line), kAllPliesMask);
  }
}

TEST_F(Book, FlagEntriesBelongToLinesInOrderAndAShortFileDefaultsTheRest) {
  Load(" e2e4e7e5\r\n d2d4d7d5\r\n c2c4\r\n", FlagBytes({5, 0xFFFFFFFF}), true);
  EXPECT_EQ(T->book.BookFlags.at(" e2e4e7e5"), 5);
  EXPECT_EQ(T->book.BookFlags.at(" d2d4d7d5"), -1);
  EXPECT_EQ(T->book.BookFlags.at(" c2c4"), kAllPliesMask);
  EXPECT_TRUE(BookMoveAllowed(T->book, " e2e4e7e5", 3));
  EXPECT_FALSE(BookMoveAllowed(T->book, " e2e4e7e5", 2));
  EXPECT_FALSE(BookMoveAllowed(T->book, " not in book", 1));
}

TEST_F(Book, ARepeatedLineKeepsItsFirstMask) {
  Load(" e2e4e7e5\n d2d4\n e2e4e7e5\n", FlagBytes({1, 2, 3}), true);
  EXPECT_EQ(T->book.BookLineCount, 2);
  EXPECT_EQ(T->book.BookFlags.at(" e2e4e7e5"), 1);
}

TEST_F(Book, TheFirstMoveIsOneOfTheFourFixedMovesEvenWithAnEmptyBook) {
  Load("");
  EXPECT_TRUE(T->book.BookLoaded);
  EXPECT_EQ(T->book.BookLineCount, 0);
  std::set<std::string> seen;
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (seen.size() < 4 && std::chrono::steady_clock::now() < until) {
    seen.insert(MoveToText(ProbeBook(*T)));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"e2e4", "d2d4", "c2c4", "g1f3"}));
  T.Feed("e2e4\n");
  EXPECT_EQ(ProbeBook(*T).From, 0);
}

TEST_F(Book, CandidatesFollowTheGameAndTheirMasks) {
  Load(" e2e4e7e5g1f3\r\n e2e4c7c5\r\n");
  T.Feed("e2e4\n");
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::set<std::string> seen;
  while (seen.size() < 2 && std::chrono::steady_clock::now() < until) {
    seen.insert(MoveToText(ProbeBook(*T)));
  }
  EXPECT_EQ(seen, (std::set<std::string>{"e7e5", "c7c5"}));
}

TEST_F(Book, AClearedPlyBitRemovesThatLinesMove) {
  Load(" e2e4e7e5g1f3\r\n e2e4c7c5\r\n", FlagBytes({kAllPliesMask & ~2u, kAllPliesMask}), true);
  T.Feed("e2e4\n");
  EXPECT_EQ(Probes(50), (std::set<std::string>{"c7c5"}));
}

TEST_F(Book, AdjacentLinesWithTheSameMoveUseTheFirstLinesMask) {
  Load(" e2e4e7e5g1f3\r\n e2e4e7e5b1c3\r\n", FlagBytes({kAllPliesMask & ~2u, kAllPliesMask}), true);
  T.Feed("e2e4\n");
  EXPECT_EQ(ProbeBook(*T).From, 0);
}

TEST_F(Book, AGameOutsideTheBookOrAPromotionFindsNothing) {
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
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (seen.size() < 4 && std::chrono::steady_clock::now() < until) {
    int value = RandomInt(0, 3);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 3);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 4u);
}

}  // namespace
}  // namespace zandrell
