#pragma once
// A book and its flag file as Quiretto reads, checks and writes them.
#include <cstdint>
#include <string>
#include <vector>

namespace zandrell::quiretto {

struct BookData {
  std::vector<std::string> Lines;   // " e2e4e7e5...", as in the file
  std::vector<std::int32_t> Masks;  // one per line
};

// A flag file's mask holds 32 bits: plies from 32 on have no mark and are never
// allowed.
constexpr int kMaskPlies = 32;
// Whether the mask lets the engine play the move at ply k.
bool HasBit(std::int32_t mask, int ply);

// Number of four-character moves of a well-formed line.
int MoveCount(const std::string& line);
// The move at ply k of a well-formed line.
std::string MoveAt(const std::string& line, int ply);
// The line's first n moves, with the leading blank.
std::string LeadingMoves(const std::string& line, int n);
// One blank, then moves of a file letter, a rank digit, a file letter and a rank
// digit; empty when the line is well-formed, else what is wrong with it.
std::string LineFault(const std::string& line);

// The book's text; anything but a regular file is refused at once, and error then
// names the file and says why.
bool ReadBookText(const std::string& path, std::string& text, std::string& error);

// Reads a book for editing: every line well-formed and a flag file, when there is
// one, with one mask per line. Without a flag file every move is allowed. On
// failure error names the file, the line and what is wrong.
bool ReadBook(const std::string& path, BookData& book, std::string& error);

// Sorted, without repeats and without lines that are a leading part of another;
// each move's bit made the same in every line that reaches it (set when any of
// them had it set), bits past a line's end cleared. This is the form the engine's
// probe reads as meant: it lets the first line of a run of equal next moves decide.
void NormalizeBook(BookData& book);

// Writes the book and its flag file through temporary files beside them and
// renames them into place, so an interrupted write leaves the old files as they
// were. On failure error says which file could not be written.
bool SaveBook(const std::string& path, const BookData& book, std::string& error);

// Everything that would make the engine misread the book or play something the
// book's writer did not mean, and a few notes. Line 0 is about the whole file.
struct Finding {
  std::string File;
  int Line = 0;
  bool Error = true;
  std::string Text;
};
std::vector<Finding> CheckBook(const std::string& path);

}  // namespace zandrell::quiretto
