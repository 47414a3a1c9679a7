#pragma once
// Games of a PGN text as people have them: tag pairs, comments in braces and after
// semicolons, nested variations, NAGs, move numbers, results. Only the main line's
// moves are kept, as SAN texts; reading them on a board is the importer's work.
#include <string>
#include <vector>

namespace zandrell::quiretto {

struct PgnGame {
  int FirstLine = 0;               // line of the game's first tag or move
  bool HasSetUp = false;           // a FEN tag or SetUp "1": not from the start position
  std::string Variant;             // the Variant tag, when there is one
  std::string Result;              // "1-0", "0-1", "1/2-1/2", "*" or "" (unknown)
  std::vector<std::string> Moves;  // SAN of the main line, up to the reader's limit
  std::vector<int> MoveLines;      // the line of each move
  bool Ended = false;              // a result token closed the movetext
  std::string Damage;              // what cut the game short, with its line ("" when nothing)
};

class PgnReader {
 public:
  // Keeps at most maxMoves moves of each game; the rest is read past.
  PgnReader(const std::string& text, int maxMoves);
  // The next game, false when the text holds no more.
  bool Next(PgnGame& game);

 private:
  void SkipLine();
  void SkipComment(PgnGame& game);
  static void Damaged(PgnGame& game, const std::string& what);  // the first damage counts
  void ReadTag(PgnGame& game);
  std::string ReadToken();

  const std::string& text_;
  std::size_t at_ = 0;
  int line_ = 1;
  int maxMoves_;
};

}  // namespace zandrell::quiretto
