#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace zandrell {

// Reads the book named by the "OpeningBook" setting and its flag file.
bool LoadBook(Engine& e);
// Reads the book of that name (none when empty) and its flag file.
bool LoadBookFile(Engine& e, std::string path);
// The flag file of a book: the path up to its extension's dot, then "opi"; empty
// when the file name itself has no dot.
std::string FlagFileName(const std::string& bookPath);
// A random allowed continuation of the game from the book, or the empty move.
Move ProbeBook(Engine& e);
// A move the book may play in the game's position, and how many of the book's
// lines continue the game with it.
struct BookChoice {
  Move Played;
  int Lines = 0;
};
// Every move ProbeBook may choose from here, in the book's order; none once the
// game has left the book's reach.
std::vector<BookChoice> ListBookMoves(Engine& e);
// Bit (ply - 1) of the line's mask.
bool BookMoveAllowed(const BookState& book, const std::string& line, int ply);
// A random integer in lo..hi, reseeded from the time of day before each draw.
int RandomInt(int lo, int hi);

}  // namespace zandrell
