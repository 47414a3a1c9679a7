#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "base/file_locations.h"
#include "base/log.h"
#include "base/settings.h"
#include "book/book.h"
#include "book/book_format.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

bool IsSeparator(char c) { return c == platform::kPathSeparator || c == '/'; }

// False when a read fails on the way (the stream's own error, not its end).
bool ReadStream(std::ifstream& in, std::string& content) {
  content.clear();
  char buffer[64 * 1024];
  errno = 0;
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    content.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return !in.bad();
}

std::string ReadErrorText(const std::string& path) {
  return (errno != 0 ? std::string(std::strerror(errno)) + " reading " : "read error in ") + path;
}

bool IsSquare(char file, char rank) {
  return file >= 'a' && file <= 'h' && rank >= '1' && rank <= '8';
}

// A blank, then one or more four-character moves from square to square.
bool IsMoveLine(const std::string& line) {
  if (line.size() < 5 || line[0] != ' ' || (line.size() - 1) % 4 != 0) return false;
  for (std::size_t i = 1; i < line.size(); i += 4) {
    if (!IsSquare(line[i], line[i + 1]) || !IsSquare(line[i + 2], line[i + 3])) return false;
  }
  return true;
}

bool Fail(const Engine& e, const std::string& description) {
  WriteLog(e, "Opening book error: " + description, false, true);
  return false;
}

void FillFirstMoves(BookState& book) {
  constexpr std::uint8_t kSquares[4][2] = {{kE2, kE4}, {kD2, kD4}, {kC2, kC4}, {kG1, kF3}};
  for (int i = 0; i < 4; ++i) {
    book.FirstMoves[i] = kNoMove;
    book.FirstMoves[i].From = kSquares[i][0];
    book.FirstMoves[i].To = kSquares[i][1];
  }
}

}  // namespace

std::string FlagFileName(const std::string& bookPath) {
  std::size_t dot = bookPath.rfind('.');
  if (dot == std::string::npos) return {};
  for (std::size_t i = dot + 1; i < bookPath.size(); ++i) {
    if (IsSeparator(bookPath[i])) return {};  // the dot belongs to a folder name
  }
  return bookPath.substr(0, dot + 1) + "opi";
}

bool LoadBook(Engine& e) { return LoadBookFile(e, ReadSetting(e, "OpeningBook", "")); }

bool LoadBookFile(Engine& e, std::string path) {
  e.book.BookName = path;
  if (path.empty()) return false;

  BookState& book = e.book;
  book.BookLineCount = 0;
  book.BookLines.clear();
  book.BookFlags.clear();

  path = FindBookFile(e, path);

  // A folder opens as a stream on some systems and then reads as an empty book.
  if (platform::FolderExists(path)) return Fail(e, std::strerror(EISDIR));
  std::ifstream bookFile(path, std::ios::binary);
  if (!bookFile) return Fail(e, std::strerror(errno));
  std::string text;
  if (!ReadStream(bookFile, text)) return Fail(e, ReadErrorText(path));

  std::string flags;
  const std::string flagPath = FlagFileName(path);
  if (!flagPath.empty() && platform::FileExists(flagPath)) {
    std::ifstream flagFile(flagPath, std::ios::binary);
    if (!flagFile || !ReadStream(flagFile, flags)) return Fail(e, ReadErrorText(flagPath));
  }

  std::size_t entry = 0;
  std::size_t malformed = 0;
  for (std::string& line : SplitBookLines(text)) {
    // Kept like any line (it never matches a game), but counted for the log.
    if (!IsMoveLine(line)) ++malformed;
    // A flag file shorter than the book leaves the remaining lines on the default.
    const std::int32_t mask = FlagEntry(flags, entry, kAllPliesMask);
    ++entry;
    // A repeated line keeps the first copy and its mask.
    if (!book.BookFlags.emplace(line, mask).second) continue;
    book.BookLines.push_back(std::move(line));
    ++book.BookLineCount;
  }
  if (malformed > 0) {
    WriteLog(e,
             "Opening book: " + std::to_string(malformed) + " of " + std::to_string(entry) +
                 " lines are not moves and are never played",
             false, true);
  }
  FillFirstMoves(book);
  return true;
}

}  // namespace zandrell
