// The built quiretto on what a user's disk can hold instead of a good book or good
// games: nothing is lost, nothing waits, and every refusal names the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "platform/child_process.h"
#include "support/non_regular_files.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int Status = -1;
  std::string Out, Err;
};

Outcome RunQuiretto(const std::vector<std::string>& arguments) {
  platform::ChildProcess child;
  Outcome result;
  if (!child.Start(QUIRETTO_BINARY, arguments, {"ZANDRELL_HEADLESS=1"})) return result;
  child.CloseInput();
  result.Out = child.ReadToEnd(30000);
  result.Err = child.ReadErrorToEnd(10000);
  result.Status = child.Wait(10000);
  return result;
}

constexpr const char* kGames = "1. e4 e5 2. Nf3 Nc6 1-0\n1. d4 d5 *\n";

TEST(QuirettoDamage, AnImportWithoutAnyLineFailsAndKeepsTheBook) {
  testing::TempFolder folder;
  folder.Write("games.pgn", kGames);
  const std::string book = folder.File("book.txt");
  ASSERT_EQ(RunQuiretto({"import", folder.File("games.pgn"), "-o", book}).Status, 0);
  const std::string text = folder.Read("book.txt");
  const std::string flags = folder.Read("book.opi");
  ASSERT_FALSE(text.empty());

  std::mt19937 random(21);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  folder.Write("noise.pgn", noise);
  folder.Write("empty.pgn", "");
  folder.Write("illegal.pgn", "1. e5 *\n");
  for (const char* games : {"noise.pgn", "empty.pgn", "illegal.pgn"}) {
    const Outcome import = RunQuiretto({"import", folder.File(games), "-o", book});
    EXPECT_EQ(import.Status, 1) << games << "\n" << import.Out;
    EXPECT_EQ(
        import.Err.rfind("quiretto: no game gave an opening line; " + book + " is not written", 0),
        0u)
        << games << "\n"
        << import.Err;
    EXPECT_EQ(folder.Read("book.txt"), text) << games;
    EXPECT_EQ(folder.Read("book.opi"), flags) << games;
  }
}

// A folder, a FIFO, a device and a loop of links, as a book to read and as one to
// write: each command ends at once with status 1, names the file and says what it
// is, and writes nothing beside it.
TEST(QuirettoDamage, WhatIsNoFileIsRefusedAtOnceByName) {
  testing::TempFolder folder;
  folder.Write("games.pgn", kGames);
  fs::create_directory(folder.Path() / "dir.txt");
  struct Target {
    std::string Path;
    const char* Kind;
  };
  std::vector<Target> targets = {{folder.File("dir.txt"), "a folder"}};
  if (testing::MakeFifo(folder.File("fifo.txt")))
    targets.push_back({folder.File("fifo.txt"), "a FIFO (named pipe)"});
  if (testing::MakeLinkLoop(folder.File("loop.txt")))
    targets.push_back({folder.File("loop.txt"), "a loop of symbolic links"});
  if (fs::exists("/dev/null")) targets.push_back({"/dev/null", "a device"});

  for (const Target& t : targets) {
    for (const std::vector<std::string>& command : {std::vector<std::string>{"list", t.Path},
                                                    {"check", t.Path},
                                                    {"allow", t.Path, "--line", "1", "--ply", "2"},
                                                    {"remove", t.Path, "--line", "1"}}) {
      const Outcome o = RunQuiretto(command);
      EXPECT_EQ(o.Status, 1) << command[0] << " " << t.Path;
      // check lists its findings as "file: error: text".
      const std::string said = command[0] == "check" ? ": error: " : ": ";
      EXPECT_NE((o.Out + o.Err).find(t.Path + said + "cannot read the book: " + t.Kind),
                std::string::npos)
          << command[0] << "\n"
          << o.Out << o.Err;
    }
    if (t.Path == "/dev/null") continue;
    const Outcome import = RunQuiretto({"import", folder.File("games.pgn"), "-o", t.Path});
    EXPECT_EQ(import.Status, 1) << t.Path;
    EXPECT_NE(import.Err.find(t.Path + " is " + t.Kind + ", not a book file; nothing written"),
              std::string::npos)
        << import.Err;
    const fs::path flags = fs::path(t.Path).replace_extension(".opi");
    EXPECT_FALSE(fs::exists(fs::symlink_status(flags))) << flags;
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(t.Path))) << t.Path;
  }
}

// A line of 40 plies with a flag file of every bit: plies 32 to 39 have no bit,
// so they are listed without a mark, and check says why.
TEST(QuirettoDamage, PliesPastTheMaskHaveNoMark) {
  testing::TempFolder folder;
  std::string line = " ";
  for (int i = 0; i < 10; ++i) line += "g1f3g8f6f3g1f6g8";
  folder.Write("long.txt", line + "\r\n");
  folder.Write("long.opi", std::string(4, '\xFF'));
  const Outcome list = RunQuiretto({"list", folder.File("long.txt")});
  ASSERT_EQ(list.Status, 0) << list.Err;
  const std::size_t ply32 = list.Out.find("17. Nf3");
  ASSERT_NE(ply32, std::string::npos) << list.Out;
  const std::string before = list.Out.substr(0, ply32);
  const std::string after = list.Out.substr(ply32, list.Out.find('\n', ply32) - ply32);
  EXPECT_EQ(std::count(before.begin(), before.end(), '*'), 32) << list.Out;
  EXPECT_EQ(after.find('*'), std::string::npos) << list.Out;

  const Outcome check = RunQuiretto({"check", folder.File("long.txt")});
  EXPECT_NE(check.Out.find("long.txt:1: note: 40 moves: the engine uses only the first 20, "
                           "and the flag file has no mark for plies from 32 on"),
            std::string::npos)
      << check.Out;
}

}  // namespace
}  // namespace zandrell
