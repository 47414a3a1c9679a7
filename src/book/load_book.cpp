#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/file_locations.h"
#include "base/log.h"
#include "base/settings.h"
#include "book/book.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

bool IsSeparator(char c) { return c == platform::kPathSeparator || c == '/'; }

// Lines end with CR LF, a lone CR or a lone LF; a last line without an ending counts.
std::vector<std::string> SplitBookLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

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

  path = FindBookFile(e, path);

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
    std::int32_t mask = kAllPliesMask;
    // A flag file shorter than the book leaves the remaining lines on the default.
    if (4 * entry + 4 <= flags.size()) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(flags.data() + 4 * entry);
      mask = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                       static_cast<std::uint32_t>(bytes[1]) << 8 |
                                       static_cast<std::uint32_t>(bytes[2]) << 16 |
                                       static_cast<std::uint32_t>(bytes[3]) << 24);
    }
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
