#pragma once
// From PGN games to a book: each game's first plies as a line, the lines merged,
// and the flag file's bits set for the moves the options let the engine play.
#include <map>
#include <string>
#include <vector>

#include "quiretto/book_files.h"

namespace zandrell::quiretto {

enum class Side { kBoth, kWhite, kBlack };

struct ImportOptions {
  int Plies = 16;
  int MinGames = 1;
  bool WinnersOnly = false;
  Side Plays = Side::kBoth;
};

// One game's usable opening: coordinate texts and who won (0 nobody or unknown,
// 1 White, 2 Black).
struct OpeningLine {
  std::vector<std::string> Moves;
  int Winner = 0;
};

struct ImportTally {
  int Games = 0;  // games read, skipped ones included
  int Skipped = 0;
  std::map<std::string, int> SkippedBy;  // reason -> games
  std::vector<std::string> SkipNotes;    // one per skipped game: where and why
  std::vector<std::string> DamageNotes;  // one per damaged game: where its line ends and why
  int Shortened = 0;                     // lines ended before a promotion, a null move or damage
};

// Reads every game of a PGN text into lines; file names the text in the notes.
void ReadGames(const std::string& text, const std::string& file, const ImportOptions& options,
               std::vector<OpeningLine>& lines, ImportTally& tally);
// The book of the lines, normalised, with the options' masks.
BookData BuildBook(const std::vector<OpeningLine>& lines, const ImportOptions& options);

}  // namespace zandrell::quiretto
