// Quiretto's library in this process: SAN, PGN import, check, edits and writes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "board/board_test_support.h"
#include "board/move_text.h"
#include "book/book_format.h"
#include "quiretto/book_files.h"
#include "quiretto/commands.h"
#include "quiretto/import_games.h"
#include "quiretto/san.h"
#include "support/temp_folder.h"

namespace zandrell::quiretto {
namespace {

using zandrell::testing::TempFolder;

// SAN read in a position: the move's coordinates, "ambiguous", "no promotion" or
// "none"; and the SAN Quiretto writes for coordinates.
std::string Coordinates(const std::string& fen, const std::string& san) {
  BoardState b = test::FenBoard(fen);
  Move m{};
  switch (ParseSan(b, san, m)) {
    case SanResult::kFound: return MoveToText(m);
    case SanResult::kAmbiguous: return "ambiguous";
    case SanResult::kMissingPromotion: return "no promotion";
    default: return "none";
  }
}

std::string Sanned(const std::string& fen, const std::string& coordinates) {
  BoardState b = test::FenBoard(fen);
  return MoveToSan(b, test::GeneratedMove(b, coordinates));
}

TEST(QuirettoSan, DisambiguationEnPassantPromotionAndCastling) {
  const std::string queens = "1k6/8/8/8/Q6Q/8/8/K6Q w - - 0 1";     // by file, rank or both
  const std::string knights = "4k3/8/8/1N6/8/1N6/8/4K3 w - - 0 1";  // on one file
  const std::string passant = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2";
  const std::string promote = "3rk3/4P3/8/8/8/8/8/4K3 w - - 0 1";
  const std::string castle = "5k2/8/8/8/8/8/8/R3K2R w KQ - 0 1";
  struct Case {
    const std::string& Fen;
    const char* San;
    const char* Move;
    bool Written;  // also what Quiretto writes for the move
  };
  for (const Case& c : {
           Case{queens, "Qh4e4", "h4e4", true},
           Case{queens, "Qae4", "a4e4", true},
           Case{queens, "Q1e4", "h1e4", true},
           Case{queens, "Q4e4", "ambiguous", false},
           Case{queens, "Qhe4", "ambiguous", false},
           Case{queens, "Qe4", "ambiguous", false},
           Case{knights, "N5d4", "b5d4", false},
           Case{knights, "N3xd4", "b3d4", false},
           Case{knights, "N3d4", "b3d4", true},
           Case{passant, "exd6", "e5d6", true},
           Case{promote, "exd8=Q+", "e7d8q", true},
           Case{promote, "exd8N", "e7d8n", false},
           Case{promote, "exd8=r", "e7d8r", false},
           Case{promote, "exd8", "no promotion", false},
           Case{castle, "O-O+", "e1g1", true},
           Case{castle, "0-0-0", "e1c1", false},
           Case{castle, "Kf9", "none", false},
           Case{castle, "Nf3", "none", false},
       }) {
    EXPECT_EQ(Coordinates(c.Fen, c.San), c.Move) << c.Fen << " " << c.San;
    if (c.Written) {
      EXPECT_EQ(Sanned(c.Fen, c.Move), c.San) << c.Fen << " " << c.Move;
    }
  }
}

ImportTally Import(const std::string& pgn, BookData& book, ImportOptions options = {}) {
  std::vector<OpeningLine> lines;
  ImportTally tally;
  ReadGames(pgn, "games.pgn", options, lines, tally);
  book = BuildBook(lines, options);
  return tally;
}

TEST(QuirettoImport, PgnAsPeopleWriteIt) {
  const std::string pgn =
      "[Event \"with \\\"quotes\\\" and ] inside\"]\n"
      "[Result \"1-0\"]\n"
      "\n"
      "{A comment; with (parentheses)} 1.e4 $1 e5!? 2. Nf3 (2. f4 exf4 (2...d5 3. exd5) 3. Nf3 "
      "{x}) "
      "2... Nc6 ; to the end of the line 3. Bb4\n"
      "3. Bb5\n"
      "% an escaped line 4. d4\n"
      "a6 1-0\n"
      "\n"
      "[Event \"set up\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. Kd2 *\n"
      "\n"
      "[Event \"en passant and a promotion\"]\n\n"
      "1. e4 d5 2. exd5 c6 3. dxc6 Nf6 4. cxb7 Nbd7 5. bxa8=Q Nb6 0-1\n"
      "\n"
      "[Event \"illegal\"]\n\n1. e4 e5 2. Ke3 *\n"
      "\n"
      "[Event \"truncated\"]\n\n1. d4 Nf6 2. c4 e6 3. Nc3 {cut off";
  BookData book;
  ImportTally tally = Import(pgn, book);
  EXPECT_EQ(tally.Games, 5);
  EXPECT_EQ(tally.Skipped, 2);
  EXPECT_EQ(tally.SkippedBy["starts from a set-up position (FEN tag)"], 1);
  EXPECT_EQ(tally.SkippedBy["illegal move"], 1);
  ASSERT_EQ(tally.SkipNotes.size(), 2u);
  EXPECT_EQ(tally.SkipNotes[1], "games.pgn:19: game 4 skipped: illegal move \"Ke3\" at line 21");
  EXPECT_EQ(book.Lines, (std::vector<std::string>{
                            " d2d4g8f6c2c4e7e6b1c3",
                            " e2e4d7d5e4d5c7c6d5c6g8f6c6b7b8d7",  // ends before the promotion
                            " e2e4e7e5g1f3b8c6f1b5a7a6",
                        }));
}

// A variation left open or closed twice is damage, reported like an unclosed
// comment: the game's line ends where it struck, and the next game is read whole.
// Annotations standing alone between moves are read past.
TEST(QuirettoImport, VariationDamageIsReportedAndAnnotationsAreNoMoves) {
  const std::string pgn =
      "[Event \"left open\"]\n\n1. e4 e5 2. Nf3 (2. f4 exf4 3. Nf3 Nc6 *\n\n"
      "[Event \"closed twice\"]\n\n1. d4 d5 2. c4 (2. Nf3) ) e6 3. Nc3 *\n\n"
      "[Event \"annotated\"]\n\n1. c4 !! e5 +- 2. Nc3 ?! Nf6 += 3. g3 \xC2\xB1 d5 =\n*\n";
  BookData book;
  ImportTally tally = Import(pgn, book);
  EXPECT_EQ(tally.Games, 3);
  EXPECT_EQ(tally.Skipped, 0);
  EXPECT_EQ(tally.Shortened, 2);
  EXPECT_EQ(tally.DamageNotes,
            (std::vector<std::string>{
                "games.pgn:1: game 1 read up to damage at line 3: a variation \"(\" is never "
                "closed",
                "games.pgn:5: game 2 read up to damage at line 7: \")\" closes no variation"}));
  EXPECT_EQ(book.Lines, (std::vector<std::string>{
                            " c2c4e7e5b1c3g8f6g2g3d7d5",
                            " d2d4d7d5c2c4",
                            " e2e4e7e5g1f3",
                        }));
}

TEST(QuirettoImport, MasksFollowTheOptionsAndAgreeAlongSharedMoves) {
  const std::string pgn =
      "1. e4 e5 2. Nf3 Nc6 1-0\n"
      "1. e4 e5 2. Nf3 Nf6 0-1\n"
      "1. e4 c5 2. Nf3 d6 0-1\n"
      "1. e4 e5 2. Bc4 *\n";
  BookData book;
  ImportOptions options;
  options.MinGames = 2;
  Import(pgn, book, options);
  ASSERT_EQ(book.Lines.size(), 4u);
  EXPECT_EQ(book.Lines[0], " e2e4c7c5g1f3d7d6");
  // e4 in four games, e5 in three, Nf3 after e5 in two; the rest once.
  EXPECT_EQ(book.Masks[0], 0b0001);
  EXPECT_EQ(book.Masks[1], 0b0011);  // e2e4e7e5f1c4
  EXPECT_EQ(book.Masks[2], 0b0111);  // ...g1f3b8c6
  EXPECT_EQ(book.Masks[3], 0b0111);  // ...g1f3g8f6

  options = ImportOptions{};
  options.WinnersOnly = true;
  options.Plays = Side::kBlack;
  Import(pgn, book, options);
  // Black won the Nf6 and the Sicilian games: e5, Nf6, c5 and d6 may be played.
  EXPECT_EQ(book.Masks[0], 0b1010);
  EXPECT_EQ(book.Masks[1], 0b0010);
  EXPECT_EQ(book.Masks[2], 0b0010);
  EXPECT_EQ(book.Masks[3], 0b1010);
}

struct Files {
  TempFolder Folder;
  std::string Book() const { return Folder.File("book.txt"); }
  void Write(const std::string& text, const std::vector<std::uint32_t>& masks) const {
    Folder.Write("book.txt", text);
    std::string flags;
    for (std::uint32_t m : masks) AppendFlagEntry(flags, static_cast<std::int32_t>(m));
    Folder.Write("book.opi", flags);
  }
  std::vector<std::string> Findings() const {
    std::vector<std::string> out;
    for (const Finding& f : CheckBook(Book())) {
      out.push_back(std::filesystem::path(f.File).filename().string() + ":" +
                    std::to_string(f.Line) + (f.Error ? " error: " : " note: ") + f.Text);
    }
    return out;
  }
};

TEST(QuirettoCheck, FindsEachKindOfDamageWithItsLine) {
  Files files;
  files.Write(
      " e2e4e7e5\r\n"      // 1: a leading part of line 2
      " e2e4e7e5g1f3\r\n"  // 2
      " e2e4e7e5g1f3\r\n"  // 3: duplicate
      "e2e4c7c5\r\n"       // 4: no blank
      " e2e4 c7c5\r\n"     // 5: blank inside
      " e2e4c7c\r\n"       // 6: short move
      " e2e4x7c5\r\n"      // 7: not a square
      " e2e5e7e5\r\n"      // 8: illegal
      " d2d4d7d5c2c4\r\n"  // 9
      " d2d4d7d5g1f3\r\n"  // 10: d7d5 allowed above, not here
      "\r\n",              // 11: empty
      {0xFFFFF, 0xFFFFF, 0xFFFFF, 0, 0, 0, 0, 0, 0xFFFFF, 0xFFFFD, 0});
  EXPECT_EQ(files.Findings(),
            (std::vector<std::string>{
                "book.txt:1 error: a leading part of line 2",
                "book.txt:3 error: duplicate of line 2 (its mask is not read)",
                "book.txt:4 error: misplaced blank: a line begins with exactly one blank",
                "book.txt:5 error: misplaced blank at column 6: only the one at the start of the "
                "line is allowed",
                "book.txt:6 error: malformed move \"c7c\": every move has four characters (e2e4)",
                "book.txt:7 error: malformed move \"x7c5\" (move 2)",
                "book.txt:8 error: illegal move \"e2e5\" (move 1)",
                "book.txt:10 error: mask disagrees with line 9 at ply 1 (same moves so far; the "
                "engine follows line 9)",
                "book.txt:11 error: an empty line",
            }));

  // A short flag file, line feeds alone, a line past 20 moves, lines out of order.
  std::string longLine = " ";
  for (int i = 0; i < 6; ++i) longLine += "g1f3g8f6f3g1f6g8";
  files.Write(" e2e4e7e5\n" + longLine.substr(0, 1 + 4 * 22) + "\n d2d4\n", {0xFFFFF});
  EXPECT_EQ(files.Findings(),
            (std::vector<std::string>{
                "book.opi:0 error: 1 masks for 3 lines: lines from 2 on get every ply allowed",
                "book.txt:0 note: lines end with a line feed alone; the engine reads them, its "
                "format is CR LF",
                "book.txt:2 note: 22 moves: the engine uses only the first 20",
                "book.txt:3 note: lines are not sorted (this one belongs before line 2): a move "
                "on lines apart is chosen more often",
            }));
}

TEST(QuirettoCheck, FlagFileSizesAndASoundBook) {
  Files files;
  files.Write(" d2d4d7d5\r\n e2e4e7e5\r\n", {0xFFFFF, 0xFFFFF, 0xFFFFF});
  EXPECT_EQ(files.Findings(),
            std::vector<std::string>{
                "book.opi:0 error: 3 masks for 2 lines: the flag file belongs to another book"});
  files.Folder.Write("book.opi", std::string(7, '\xFF'));
  EXPECT_EQ(files.Findings(),
            (std::vector<std::string>{
                "book.opi:0 error: 7 bytes, not a whole number of 4-byte masks",
                "book.opi:0 error: 1 masks for 2 lines: lines from 2 on get every ply allowed"}));
  files.Write(" d2d4d7d5\r\n e2e4e7e5\r\n", {0xFFFFF, 2});
  EXPECT_TRUE(files.Findings().empty());
  std::filesystem::remove(files.Folder.File("book.opi"));
  EXPECT_EQ(files.Findings(),
            std::vector<std::string>{
                "book.txt:0 note: no flag file: the engine may play every move of every line"});
}

int RunCommand(const std::vector<std::string>& args, std::string* out = nullptr,
               std::string* err = nullptr) {
  std::ostringstream o, e;
  int status = RunQuiretto(args, o, e);
  if (out != nullptr) *out = o.str();
  if (err != nullptr) *err = e.str();
  return status;
}

std::vector<std::uint32_t> Masks(const TempFolder& folder, const std::string& name) {
  std::string flags = folder.Read(name);
  std::vector<std::uint32_t> masks;
  for (std::size_t i = 0; 4 * i + 4 <= flags.size(); ++i) {
    masks.push_back(static_cast<std::uint32_t>(FlagEntry(flags, i, 0)));
  }
  return masks;
}

TEST(QuirettoEdit, AllowForbidRemoveAndMergeKeepRunsInAgreement) {
  Files files;
  const std::string book = files.Book();
  files.Write(" e2e4c7c5\r\n e2e4e7e5b1c3\r\n e2e4e7e5g1f3\r\n", {0b11, 0b111, 0b111});

  // Forbidding e5 through line 3 forbids it in line 2 too, which reaches the same move.
  EXPECT_EQ(RunCommand({"forbid", book, "--line", "3", "--ply", "1"}), 0);
  EXPECT_EQ(Masks(files.Folder, "book.opi"), (std::vector<std::uint32_t>{0b11, 0b101, 0b101}));
  EXPECT_EQ(RunCommand({"allow", book, "--prefix", "e2e4 e7e5", "--plies", "1-2"}), 0);
  EXPECT_EQ(Masks(files.Folder, "book.opi"), (std::vector<std::uint32_t>{0b11, 0b111, 0b111}));
  EXPECT_EQ(RunCommand({"forbid", book, "--prefix", "e2e4", "--ply", "0"}), 0);
  EXPECT_EQ(Masks(files.Folder, "book.opi"), (std::vector<std::uint32_t>{0b10, 0b110, 0b110}));
  std::string out;
  EXPECT_EQ(RunCommand({"list", book}, &out), 0);
  EXPECT_EQ(out,
            "     1  1. e4 c5*\n"
            "     2  1. e4 e5* 2. Nc3*\n"
            "     3  1. e4 e5* 2. Nf3*\n"
            "3 lines; * marks a move the engine may play\n");

  EXPECT_EQ(RunCommand({"remove", book, "--prefix", "e2e4e7e5g1f3"}), 0);
  EXPECT_EQ(files.Folder.Read("book.txt"), " e2e4c7c5\r\n e2e4e7e5b1c3\r\n");

  // Merging: the union, sorted, lines that lead another dropped, a bit set in either.
  files.Folder.Write("other.txt", " e2e4e7e5b1c3g8f6\r\n d2d4\r\n");
  EXPECT_EQ(RunCommand({"merge", book, files.Folder.File("other.txt"), "-o",
                        files.Folder.File("both.txt")}),
            0);
  EXPECT_EQ(files.Folder.Read("both.txt"), " d2d4\r\n e2e4c7c5\r\n e2e4e7e5b1c3g8f6\r\n");
  EXPECT_EQ(Masks(files.Folder, "both.opi"), (std::vector<std::uint32_t>{0b1, 0b11, 0b1111}));
  EXPECT_TRUE(CheckBook(files.Folder.File("both.txt")).empty());
}

TEST(QuirettoEdit, BadInputGetsOneErrorAndTheFilesStayAsTheyWere) {
  Files files;
  const std::string book = files.Book();
  files.Write(" e2e4c7c5\r\n e2e4e7e5 g1f3\r\n", {0b11, 0b111});
  std::string err;
  EXPECT_EQ(RunCommand({"forbid", book, "--line", "1", "--ply", "1"}, nullptr, &err), 1);
  EXPECT_EQ(err, "quiretto: " + book +
                     ":2: misplaced blank at column 10: only the one at the start of the line is "
                     "allowed\n");
  files.Write(" e2e4c7c5\r\n", {0b11});
  EXPECT_EQ(RunCommand({"forbid", book, "--line", "2", "--ply", "1"}, nullptr, &err), 1);
  EXPECT_EQ(err, "quiretto: --line 2: " + book + " has lines 1 to 1\n");
  EXPECT_EQ(RunCommand({"forbid", book, "--line", "1", "--ply", "20"}, nullptr, &err), 2);
  EXPECT_EQ(RunCommand({"allow", book, "--prefix", "d2d4", "--ply", "1"}, nullptr, &err), 1);
  EXPECT_EQ(RunCommand({"import", "missing.pgn", "-o", book}, nullptr, &err), 1);
  EXPECT_EQ(err, "quiretto: missing.pgn: cannot read the games: " +
                     std::string(std::strerror(ENOENT)) + "; nothing written\n");
  EXPECT_EQ(RunCommand({"frobnicate"}, nullptr, &err), 2);
  EXPECT_EQ(files.Folder.Read("book.txt"), " e2e4c7c5\r\n");
  EXPECT_EQ(Masks(files.Folder, "book.opi"), std::vector<std::uint32_t>{0b11});
}

TEST(QuirettoEdit, AnInterruptedWriteLeavesTheOldFilesIntact) {
  Files files;
  files.Write(" e2e4c7c5\r\n", {0b11});
  BookData book;
  book.Lines = {" d2d4d7d5"};
  book.Masks = {0b11};
  // The flag file's temporary cannot be made: nothing is replaced, nothing is left behind.
  std::filesystem::create_directory(files.Folder.File("book.opi.part"));
  std::string error;
  EXPECT_FALSE(SaveBook(files.Book(), book, error));
  EXPECT_NE(error.find("book.opi.part: cannot write the new flag file"), std::string::npos);
  EXPECT_EQ(files.Folder.Read("book.txt"), " e2e4c7c5\r\n");
  EXPECT_EQ(Masks(files.Folder, "book.opi"), std::vector<std::uint32_t>{0b11});
  EXPECT_FALSE(files.Folder.Exists("book.txt.part"));
  // The same through a command, which reports it and fails.
  std::string err;
  EXPECT_EQ(RunCommand({"forbid", files.Book(), "--line", "1", "--ply", "1"}, nullptr, &err), 1);
  EXPECT_EQ(files.Folder.Read("book.txt"), " e2e4c7c5\r\n");
  EXPECT_EQ(Masks(files.Folder, "book.opi"), std::vector<std::uint32_t>{0b11});

  std::filesystem::remove(files.Folder.File("book.opi.part"));
  EXPECT_TRUE(SaveBook(files.Book(), book, error));
  EXPECT_EQ(files.Folder.Read("book.txt"), " d2d4d7d5\r\n");
  EXPECT_FALSE(files.Folder.Exists("book.txt.part"));
  EXPECT_FALSE(files.Folder.Exists("book.opi.part"));
  EXPECT_FALSE(SaveBook(files.Folder.File("noextension"), book, error));
}

}  // namespace
}  // namespace zandrell::quiretto
