#include "quiretto/book_files.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "board/board_state.h"
#include "board/perft.h"
#include "book/book.h"
#include "book/book_format.h"
#include "engine/book_state.h"
#include "platform/platform.h"

namespace zandrell::quiretto {

namespace {

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }

std::string Where(const std::string& path, int line) {
  return line > 0 ? path + ":" + std::to_string(line) : path;
}

// A mask has no bit for plies from kMaskPlies on: none is ever set.
std::uint32_t Bit(int ply) { return ply < kMaskPlies ? 1u << ply : 0u; }

// Anything there but a file (a folder, a FIFO, a device, a loop of links) is
// refused, naming the file: reading it could wait for ever, writing over it would
// replace what the user keeps there.
std::string NotAFile(const std::string& path) {
  const std::string kind = platform::FileKindText(platform::KindOfFile(path));
  return kind.empty() ? std::string() : path + " is " + kind + ", not a book file";
}

bool ReadText(const std::string& path, const char* what, std::string& text, std::string& error) {
  std::string reason;
  if (platform::ReadWholeFile(path, text, &reason)) return true;
  error = path + ": cannot read the " + what + ": " + reason;
  return false;
}

}  // namespace

bool ReadBookText(const std::string& path, std::string& text, std::string& error) {
  return ReadText(path, "book", text, error);
}

bool HasBit(std::int32_t mask, int ply) {
  return ply >= 0 && ply < kMaskPlies && (static_cast<std::uint32_t>(mask) >> ply & 1u) != 0;
}

int MoveCount(const std::string& line) {
  return line.empty() ? 0 : static_cast<int>((line.size() - 1) / kBookMoveLength);
}

std::string MoveAt(const std::string& line, int ply) {
  return line.substr(1 + kBookMoveLength * static_cast<std::size_t>(ply), kBookMoveLength);
}

std::string LeadingMoves(const std::string& line, int n) {
  return line.substr(0, 1 + kBookMoveLength * static_cast<std::size_t>(n));
}

std::string LineFault(const std::string& line) {
  if (line.empty()) return "an empty line";
  if (line[0] != ' ') return "misplaced blank: a line begins with exactly one blank";
  if (line.size() == 1) return "a line without moves";
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == ' ' || line[i] == '\t') {
      return "misplaced blank at column " + std::to_string(i + 1) +
             ": only the one at the start of the line is allowed";
    }
  }
  if ((line.size() - 1) % kBookMoveLength != 0) {
    return "malformed move \"" + line.substr(1 + (line.size() - 1) / 4 * 4) +
           "\": every move has four characters (e2e4)";
  }
  for (std::size_t at = 1; at < line.size(); at += kBookMoveLength) {
    if (!IsFile(line[at]) || !IsRank(line[at + 1]) || !IsFile(line[at + 2]) ||
        !IsRank(line[at + 3])) {
      return "malformed move \"" + line.substr(at, kBookMoveLength) + "\" (move " +
             std::to_string((at - 1) / kBookMoveLength + 1) + ")";
    }
  }
  return {};
}

bool ReadBook(const std::string& path, BookData& book, std::string& error) {
  std::string text;
  if (!ReadBookText(path, text, error)) return false;
  book = BookData{};
  book.Lines = SplitBookLines(text);
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    std::string fault = LineFault(book.Lines[i]);
    if (!fault.empty()) {
      error = Where(path, static_cast<int>(i) + 1) + ": " + fault;
      return false;
    }
  }
  std::string flags;
  const std::string flagPath = FlagFileName(path);
  const bool hasFlags =
      !flagPath.empty() && platform::KindOfFile(flagPath) != platform::FileKind::kNothing;
  if (hasFlags && !ReadText(flagPath, "flag file", flags, error)) return false;
  if (hasFlags && flags.size() != 4 * book.Lines.size()) {
    error = flagPath + ": " + std::to_string(flags.size()) + " bytes for " +
            std::to_string(book.Lines.size()) + " lines of " + path + " (4 bytes a line)";
    return false;
  }
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    book.Masks.push_back(hasFlags ? FlagEntry(flags, i, kAllPliesMask) : kAllPliesMask);
  }
  return true;
}

void NormalizeBook(BookData& book) {
  std::unordered_map<std::string, bool> allowed;  // leading moves -> the last one may be played
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    const std::string& line = book.Lines[i];
    for (int k = 0; k < MoveCount(line); ++k) {
      bool& bit = allowed[LeadingMoves(line, k + 1)];
      bit = bit || HasBit(book.Masks[i], k);
    }
  }
  std::vector<std::string> lines = book.Lines;
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  BookData result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Sorted, a line that leads another stands right before one that it leads.
    if (i + 1 < lines.size() && lines[i + 1].compare(0, lines[i].size(), lines[i]) == 0) continue;
    std::uint32_t mask = 0;
    for (int k = 0; k < MoveCount(lines[i]); ++k) {
      if (allowed[LeadingMoves(lines[i], k + 1)]) mask |= Bit(k);
    }
    result.Lines.push_back(lines[i]);
    result.Masks.push_back(static_cast<std::int32_t>(mask));
  }
  book = std::move(result);
}

bool SaveBook(const std::string& path, const BookData& book, std::string& error) {
  const std::string flagPath = FlagFileName(path);
  if (flagPath.empty()) {
    error = path +
            ": the book's name needs an extension (book.txt), so that its flag file "
            "(book.opi) can stand beside it";
    return false;
  }
  for (const std::string& target : {path, flagPath}) {
    const std::string refusal = NotAFile(target);
    if (!refusal.empty()) {
      error = refusal + "; nothing written";
      return false;
    }
  }
  std::string text;
  std::string flags;
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    text += book.Lines[i];
    text += kBookLineEnd;
    AppendFlagEntry(flags, book.Masks[i]);
  }
  const std::string textPart = path + ".part";
  const std::string flagPart = flagPath + ".part";
  if (!platform::WriteWholeFile(textPart, text)) {
    platform::RemoveFile(textPart);
    error = textPart + ": cannot write the new book; " + path + " is unchanged";
    return false;
  }
  if (!platform::WriteWholeFile(flagPart, flags)) {
    platform::RemoveFile(textPart);
    platform::RemoveFile(flagPart);
    error = flagPart + ": cannot write the new flag file; " + path + " and " + flagPath +
            " are unchanged";
    return false;
  }
  // Both new files are complete on disk; each rename replaces one file whole.
  if (!platform::MoveFileOver(flagPart, flagPath)) {
    platform::RemoveFile(textPart);
    platform::RemoveFile(flagPart);
    error = flagPath + ": cannot replace the flag file; " + path + " and " + flagPath +
            " are unchanged";
    return false;
  }
  if (!platform::MoveFileOver(textPart, path)) {
    platform::RemoveFile(textPart);
    error = path +
            ": cannot replace the book; its flag file already holds the new masks, "
            "write the book again";
    return false;
  }
  return true;
}

std::vector<Finding> CheckBook(const std::string& path) {
  std::vector<Finding> findings;
  auto add = [&](const std::string& file, int line, bool isError, std::string text) {
    findings.push_back({file, line, isError, std::move(text)});
  };
  std::string text;
  std::string reason;
  if (!platform::ReadWholeFile(path, text, &reason)) {
    add(path, 0, true, "cannot read the book: " + reason);
    return findings;
  }
  const std::vector<std::string> lines = SplitBookLines(text);
  if (text.find('\n') != std::string::npos && text.find("\r\n") == std::string::npos) {
    add(path, 0, false,
        "lines end with a line feed alone; the engine reads them, its format is CR LF");
  }

  std::vector<bool> good(lines.size(), false);
  std::unordered_map<std::string, int> firstSeen;
  std::unordered_map<std::string, int> ledBy;  // leading moves -> first line that goes on past them
  bool unsortedNoted = false;
  BoardState b{};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const std::string& line = lines[i];
    const std::string fault = LineFault(line);
    if (!fault.empty()) {
      add(path, number, true, fault);
      continue;
    }
    ResetPosition(b, true);
    bool legal = true;
    for (int k = 0; k < MoveCount(line) && legal; ++k) {
      if (!CommitMoveText(b, MoveAt(line, k))) {
        add(path, number, true,
            "illegal move \"" + MoveAt(line, k) + "\" (move " + std::to_string(k + 1) + ")");
        legal = false;
      }
    }
    if (!legal) continue;
    good[i] = true;
    if (MoveCount(line) > kMaskPlies) {
      add(path, number, false,
          std::to_string(MoveCount(line)) +
              " moves: the engine uses only the first 20, and the flag file has no mark for "
              "plies from " +
              std::to_string(kMaskPlies) + " on (list shows them unmarked)");
    } else if (MoveCount(line) > kBookMaxPlies) {
      add(path, number, false,
          std::to_string(MoveCount(line)) + " moves: the engine uses only the first 20");
    }
    auto [seen, isNew] = firstSeen.emplace(line, number);
    if (!isNew) {
      add(path, number, true,
          "duplicate of line " + std::to_string(seen->second) + " (its mask is not read)");
    }
    for (int k = 1; k < MoveCount(line); ++k) ledBy.emplace(LeadingMoves(line, k), number);
    if (!unsortedNoted && i > 0 && good[i - 1] && line < lines[i - 1]) {
      add(path, number, false,
          "lines are not sorted (this one belongs before line " + std::to_string(number - 1) +
              "): a move on lines apart is chosen more often");
      unsortedNoted = true;
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!good[i]) continue;
    auto led = ledBy.find(lines[i]);
    if (led != ledBy.end()) {
      add(path, static_cast<int>(i) + 1, true,
          "a leading part of line " + std::to_string(led->second));
    }
  }

  const std::string flagPath = FlagFileName(path);
  if (flagPath.empty() || platform::KindOfFile(flagPath) == platform::FileKind::kNothing) {
    add(path, 0, false, "no flag file: the engine may play every move of every line");
  } else {
    std::string flags;
    if (!platform::ReadWholeFile(flagPath, flags, &reason)) {
      add(flagPath, 0, true, "cannot read the flag file: " + reason);
    } else {
      if (flags.size() % 4 != 0) {
        add(flagPath, 0, true,
            std::to_string(flags.size()) + " bytes, not a whole number of 4-byte masks");
      }
      const std::size_t entries = flags.size() / 4;
      if (entries < lines.size()) {
        add(flagPath, 0, true,
            std::to_string(entries) + " masks for " + std::to_string(lines.size()) +
                " lines: lines from " + std::to_string(entries + 1) + " on get every ply allowed");
      } else if (entries > lines.size()) {
        add(flagPath, 0, true,
            std::to_string(entries) + " masks for " + std::to_string(lines.size()) +
                " lines: the flag file belongs to another book");
      }
      // The probe merges adjacent lines with the same next move; the first decides.
      for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!good[i] || !good[i - 1]) continue;
        const std::int32_t mine = FlagEntry(flags, i, kAllPliesMask);
        const std::int32_t above = FlagEntry(flags, i - 1, kAllPliesMask);
        const int shared = std::min(MoveCount(lines[i]), MoveCount(lines[i - 1]));
        std::string plies;
        for (int k = 0; k < shared && k < kBookMaxPlies; ++k) {
          if (MoveAt(lines[i], k) != MoveAt(lines[i - 1], k)) break;
          if (k > 0 && HasBit(mine, k) != HasBit(above, k)) {
            plies += (plies.empty() ? "" : ", ") + std::to_string(k);
          }
        }
        if (!plies.empty()) {
          add(path, static_cast<int>(i) + 1, true,
              "mask disagrees with line " + std::to_string(i) + " at ply " + plies +
                  " (same moves so far; the engine follows line " + std::to_string(i) + ")");
        }
      }
    }
  }
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& x, const Finding& y) {
    return x.File == y.File ? x.Line < y.Line : x.File < y.File;
  });
  return findings;
}

}  // namespace zandrell::quiretto
