// The built quiretto and the built engine together, through real pipes: a book
// made from PGN is played as its masks say, and the shipped book is sound.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/child_process.h"
#include "support/engine_process.h"
#include "support/temp_folder.h"

namespace zandrell {
namespace {

struct Outcome {
  int Status = -1;
  std::string Out, Err;
};

Outcome RunQuirettoProgram(const std::vector<std::string>& arguments,
                           std::vector<std::string> environment = {}) {
  platform::ChildProcess child;
  Outcome result;
  environment.push_back("ZANDRELL_HEADLESS=1");
  if (!child.Start(QUIRETTO_BINARY, arguments, environment)) return result;
  child.CloseInput();
  result.Out = child.ReadToEnd(60000);
  result.Err = child.ReadErrorToEnd(10000);
  result.Status = child.Wait(10000);
  return result;
}

std::vector<std::string> PlayedMoves(const std::string& out) {
  std::vector<std::string> moves;
  for (std::size_t at = out.find("\nmove "); at != std::string::npos;
       at = out.find("\nmove ", at + 1)) {
    moves.push_back(out.substr(at + 6, out.find('\n', at + 6) - at - 6));
  }
  return moves;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(QuirettoProgram, HelpAndUsage) {
  Outcome help = RunQuirettoProgram({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("usage: quiretto COMMAND"), std::string::npos);
  Outcome none = RunQuirettoProgram({}, {"DISPLAY="});
  EXPECT_EQ(none.Status, 2);
  EXPECT_NE(none.Err.find("usage: quiretto COMMAND"), std::string::npos);
  // The book alone opens the window; without a display (a desktop on Windows) it
  // is checked as before.
  const std::string book = (std::filesystem::path(ZANDRELL_DIST_DIR) / "book.txt").string();
  Outcome alone = RunQuirettoProgram({book}, {"DISPLAY="});
  EXPECT_EQ(alone.Status, 0) << alone.Err;
  EXPECT_NE(alone.Out.find(" lines, 0 errors"), std::string::npos) << alone.Out;
  EXPECT_NE(alone.Err.find("quiretto: the window needs a d"), std::string::npos) << alone.Err;
}

TEST(QuirettoProgram, ABookImportedFromPgnIsPlayedOnlyWhereItsMasksAllow) {
  testing::EngineProcess engine;
  engine.Folder().Write("games.pgn",
                        "[Result \"1-0\"]\n1. e4 e5 2. Nf3 Nc6 1-0\n"
                        "[Result \"0-1\"]\n1. e4 e5 2. Nf3 Nf6 0-1\n"
                        "1. e4 e6 2. d4 d5 *\n1. e4 e6 2. d4 c5 *\n"
                        "1. e4 c5 2. Nf3 d6 *\n"
                        "[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n1. Kd2 *\n");
  Outcome import = RunQuirettoProgram({"import", engine.Folder().File("games.pgn"), "-o",
                                       engine.Folder().File("book.txt"), "--min-games", "2"});
  ASSERT_EQ(import.Status, 0) << import.Err;
  EXPECT_NE(import.Out.find("games: 6 read, 5 used, 1 skipped"), std::string::npos) << import.Out;
  EXPECT_NE(import.Out.find("lines: 5 written"), std::string::npos) << import.Out;
  EXPECT_EQ(RunQuirettoProgram({"check", engine.Folder().File("book.txt")}).Status, 0);

  engine.Folder().Write("Zandrell.ini", "[Engine]\r\nOpeningBook=book.txt\r\n");
  ASSERT_TRUE(engine.Start());
  // As Black after 1. e4, twelve games: e5 and e6 were seen twice, c5 once. The
  // engine moves between reads, so each game waits for its answer.
  std::string out;
  for (int i = 0; i < 12; ++i) {
    engine.Send("new\ne2e4\n");
    out += engine.ReadUntil("move ", 20000);
    out += engine.ReadUntil("\n", 5000);
  }
  out += engine.Session("", 20000);
  std::vector<std::string> moves = PlayedMoves(out);
  EXPECT_EQ(moves.size(), 12u) << out;
  EXPECT_EQ(Count(out, "\n0 0 0 0 (Book Move)\n"), 12u) << out;
  for (const std::string& m : moves) EXPECT_TRUE(m == "e7e5" || m == "e7e6") << m;
}

TEST(QuirettoProgram, TheShippedBookIsSoundAndTheShippedEngineOpensFromIt) {
  const std::filesystem::path dist(ZANDRELL_DIST_DIR);
  Outcome check = RunQuirettoProgram({"check", (dist / "book.txt").string()});
  EXPECT_EQ(check.Status, 0) << check.Out;
  const std::size_t comma = check.Out.rfind(" lines, 0 errors");
  ASSERT_NE(comma, std::string::npos) << check.Out;
  const std::size_t start = check.Out.rfind(' ', comma - 1) + 1;
  EXPECT_GE(std::stoi(check.Out.substr(start, comma - start)), 200) << check.Out;

  const std::string engineName = std::filesystem::path(ZANDRELL_BINARY).filename().string();
  platform::ChildProcess engine;
  ASSERT_TRUE(engine.Start((dist / engineName).string(), {"-xboard"}, {"ZANDRELL_HEADLESS=1"},
                           dist.string()));
  engine.Write("new\ngo\n");
  std::string out = engine.ReadUntil("move ", 20000);
  EXPECT_NE(out.find("\n0 0 0 0 (Book Move)\n"), std::string::npos) << out;
  // Then as Black, the book answers the reply too.
  engine.Write("new\nd2d4\n");
  out = engine.ReadUntil("move ", 20000);
  out += engine.ReadUntil("\n", 5000);
  EXPECT_NE(out.find("\n0 0 0 0 (Book Move)\n"), std::string::npos) << out;
  engine.Write("quit\n");
  EXPECT_EQ(engine.Wait(10000), 0);
}

}  // namespace
}  // namespace zandrell
