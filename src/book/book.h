#pragma once
#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace zandrell {

// Reads the book named by the "OpeningBook" setting and its flag file.
bool LoadBook(Engine& e);
// The flag file of a book: the path up to its extension's dot, then "opi"; empty
// when the file name itself has no dot.
std::string FlagFileName(const std::string& bookPath);
// A random allowed continuation of the game from the book, or the empty move.
Move ProbeBook(Engine& e);
// Bit (ply - 1) of the line's mask.
bool BookMoveAllowed(const BookState& book, const std::string& line, int ply);
// A random integer in lo..hi, reseeded from the time of day before each draw.
int RandomInt(int lo, int hi);

}  // namespace zandrell
