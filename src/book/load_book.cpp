#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/log.h"
#include "base/settings.h"
#include "book/book.h"
#include "book/book_format.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

bool IsSeparator(char c) { return c == platform::kPathSeparator || c == '/'; }

bool ReadWholeFile(std::ifstream& in, std::string& content) {
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return false;
  content = text.str();
  return true;
}

bool Fail(const Engine& e, const std::string& description) {
  WriteLog(e, "Opening book error: " + description, false, true);
  return false;
}

void FillFirstMoves(BookState& book) {
  constexpr std::uint8_t squares[4][2] = {{42, 66}, {41, 65}, {40, 64}, {32, 55}};
  for (int i = 0; i < 4; ++i) {
    book.FirstMoves[i] = kNoMove;
    book.FirstMoves[i].From = squares[i][0];
    book.FirstMoves[i].To = squares[i][1];
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

bool LoadBook(Engine& e) {
  std::string path = ReadSetting(e, "OpeningBook", "");
  if (path.empty()) return false;

  BookState& book = e.book;
  book.BookLineCount = 0;
  book.BookLines.clear();
  book.BookFlags.clear();

  bool hasSeparator = false;
  for (char c : path) hasSeparator = hasSeparator || IsSeparator(c);
  if (!hasSeparator) path = e.shell.ProgramFolder + platform::kPathSeparator + path;

  std::ifstream bookFile(path, std::ios::binary);
  if (!bookFile) return Fail(e, std::strerror(errno));
  std::string text;
  if (!ReadWholeFile(bookFile, text)) return Fail(e, "read error in " + path);

  std::string flags;
  const std::string flagPath = FlagFileName(path);
  if (!flagPath.empty() && platform::FileExists(flagPath)) {
    std::ifstream flagFile(flagPath, std::ios::binary);
    if (!flagFile || !ReadWholeFile(flagFile, flags)) return Fail(e, "read error in " + flagPath);
  }

  std::size_t entry = 0;
  for (std::string& line : SplitBookLines(text)) {
    // A flag file shorter than the book leaves the remaining lines on the default.
    const std::int32_t mask = FlagEntry(flags, entry, kAllPliesMask);
    ++entry;
    // A repeated line keeps the first copy and its mask.
    if (!book.BookFlags.emplace(line, mask).second) continue;
    book.BookLines.push_back(std::move(line));
    ++book.BookLineCount;
  }
  FillFirstMoves(book);
  return true;
}

}  // namespace zandrell
