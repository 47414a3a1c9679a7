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

// The system's description, or the file and what stands there instead of a file.
std::string Refusal(const std::string& path, const std::string& reason) {
  const std::string kind = platform::FileKindText(platform::KindOfFile(path));
  return kind.empty() ? reason : path + " is " + kind + ", not a book file";
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

  // A folder, a FIFO or a device is refused without waiting on it, by name: the
  // system's own description would not say which file of which folder it was.
  std::string text;
  std::string reason;
  if (!platform::ReadWholeFile(path, text, &reason)) return Fail(e, Refusal(path, reason));

  std::string flags;
  const std::string flagPath = FlagFileName(path);
  if (!flagPath.empty() && platform::KindOfFile(flagPath) != platform::FileKind::kNothing &&
      !platform::ReadWholeFile(flagPath, flags, &reason)) {
    return Fail(e, Refusal(flagPath, reason));
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
