#include "quiretto/commands.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "board/board_state.h"
#include "board/legal_move.h"
#include "book/book_format.h"
#include "platform/platform.h"
#include "quiretto/book_files.h"
#include "quiretto/import_games.h"
#include "quiretto/san.h"

namespace zandrell::quiretto {

namespace {

constexpr const char* kUsage =
    R"(Quiretto writes and checks Zandrell's opening books: a text book of one line
per opening (" e2e4e7e5g1f3...", four characters a move) and its flag file
(same name, extension .opi) that says at which plies the engine may play a move.

usage: quiretto COMMAND ...

  import GAMES.pgn... -o BOOK.txt [--plies N] [--min-games K] [--winners-only]
                                  [--side white|black|both]
      Each game's first N plies (default 16, at most 20) become a line; a line
      ends before a promotion. Games with a FEN tag are skipped. A move may be
      played by the engine when it was seen in at least K games at that point
      (default 1), with --winners-only when K of them were won by the side that
      played it, and with --side only when that side played it.
  list BOOK.txt
      Every line in SAN; a move the engine may play is marked with *.
  check BOOK.txt
      Every problem with its line number; the status is 1 when the engine would
      misread the book or play something unintended.
  allow BOOK.txt (--line N | --prefix "e2e4 e7e5") (--ply K | --plies A-B)
  forbid BOOK.txt (--line N | --prefix "e2e4 e7e5") (--ply K | --plies A-B)
      Let the engine play (or not) the move at ply K of the chosen lines, in
      every line that reaches the same move. Plies count from 0, White's first
      move, like the bits of the flag file. Lines count from 1.
  remove BOOK.txt (--line N | --prefix "e2e4 e7e5")
  merge A.txt B.txt -o C.txt
      Both books in one; a move is allowed when either book allows it.
  --help
      This text.

Books are written sorted, without repeated lines or lines that lead another,
through temporary files that replace the old ones only when complete.
)";

int UsageError(std::ostream& err, const std::string& text) {
  err << "quiretto: " << text << "\n(quiretto --help lists the commands)\n";
  return 2;
}

int Failure(std::ostream& err, const std::string& text) {
  err << "quiretto: " << text << "\n";
  return 1;
}

// A whole non-negative number, nothing else.
bool ReadCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// Options after the command word: "--name value" pairs, flags and plain words.
struct Arguments {
  std::vector<std::string> Words;
  std::vector<std::pair<std::string, std::string>> Options;
  std::set<std::string> Flags;
  const std::string* Find(const std::string& name) const {
    for (const auto& [key, value] : Options) {
      if (key == name) return &value;
    }
    return nullptr;
  }
};

bool SplitArguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                    const std::set<std::string>& flags, Arguments& out, std::string& error) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (valued.count(a) != 0) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      if (out.Find(a) != nullptr) {
        error = a + " is given twice";
        return false;
      }
      out.Options.emplace_back(a, args[++i]);
    } else if (flags.count(a) != 0) {
      out.Flags.insert(a);
    } else if (a.size() > 1 && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else {
      out.Words.push_back(a);
    }
  }
  return true;
}

std::string PlainMoves(const std::string& text) {
  std::string moves;
  for (char c : text) {
    if (c != ' ' && c != ',' && c != '\t') moves += c;
  }
  return moves;
}

// The lines that --line or --prefix choose, as indices.
bool ChooseLines(const Arguments& a, const BookData& book, const std::string& path,
                 std::vector<std::size_t>& chosen, std::string& error) {
  const std::string* line = a.Find("--line");
  const std::string* prefix = a.Find("--prefix");
  if ((line == nullptr) == (prefix == nullptr)) {
    error = "give either --line N or --prefix \"MOVES\"";
    return false;
  }
  if (line != nullptr) {
    int n = 0;
    if (!ReadCount(*line, n) || n < 1 || n > static_cast<int>(book.Lines.size())) {
      error =
          "--line " + *line + ": " + path + " has lines 1 to " + std::to_string(book.Lines.size());
      return false;
    }
    chosen.push_back(static_cast<std::size_t>(n - 1));
    return true;
  }
  const std::string start = " " + PlainMoves(*prefix);
  const std::string fault = LineFault(start);
  if (!fault.empty()) {
    error = "--prefix \"" + *prefix + "\": " + fault;
    return false;
  }
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    if (book.Lines[i].compare(0, start.size(), start) == 0) chosen.push_back(i);
  }
  if (chosen.empty()) {
    error = path + ": no line begins with \"" + *prefix + "\"";
    return false;
  }
  return true;
}

bool ChoosePlies(const Arguments& a, int& first, int& last, std::string& error) {
  const std::string* ply = a.Find("--ply");
  const std::string* plies = a.Find("--plies");
  if ((ply == nullptr) == (plies == nullptr)) {
    error = "give either --ply K or --plies A-B";
    return false;
  }
  bool ok = false;
  if (ply != nullptr) {
    ok = ReadCount(*ply, first);
    last = first;
  } else {
    const std::size_t dash = plies->find('-');
    ok = dash != std::string::npos && ReadCount(plies->substr(0, dash), first) &&
         ReadCount(plies->substr(dash + 1), last) && first <= last;
  }
  if (!ok || last >= kBookMaxPlies) {
    error = (ply != nullptr ? "--ply " + *ply : "--plies " + *plies) +
            ": plies are 0 to 19 (0 is White's first move)";
    return false;
  }
  return true;
}

int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {"-o", "--plies", "--min-games", "--side"}, {"--winners-only"}, a,
                      error)) {
    return UsageError(err, "import: " + error);
  }
  if (a.Words.empty()) return UsageError(err, "import: name at least one PGN file");
  const std::string* output = a.Find("-o");
  if (output == nullptr) return UsageError(err, "import: name the book to write with -o BOOK.txt");
  ImportOptions options;
  if (const std::string* v = a.Find("--plies")) {
    if (!ReadCount(*v, options.Plies) || options.Plies < 1 || options.Plies > kBookMaxPlies) {
      return UsageError(err, "import: --plies " + *v + ": from 1 to 20 (the engine uses no more)");
    }
  }
  if (const std::string* v = a.Find("--min-games")) {
    if (!ReadCount(*v, options.MinGames) || options.MinGames < 1) {
      return UsageError(err, "import: --min-games " + *v + ": a number of games, 1 or more");
    }
  }
  if (const std::string* v = a.Find("--side")) {
    if (*v == "white") {
      options.Plays = Side::kWhite;
    } else if (*v == "black") {
      options.Plays = Side::kBlack;
    } else if (*v != "both") {
      return UsageError(err, "import: --side " + *v + ": white, black or both");
    }
  }
  options.WinnersOnly = a.Flags.count("--winners-only") != 0;

  std::vector<OpeningLine> lines;
  ImportTally tally;
  for (const std::string& file : a.Words) {
    std::string text;
    std::string reason;
    if (!platform::ReadWholeFile(file, text, &reason)) {
      return Failure(err, file + ": cannot read the games: " + reason + "; nothing written");
    }
    ReadGames(text, file, options, lines, tally);
  }
  const BookData book = BuildBook(lines, options);
  for (const std::string& note : tally.SkipNotes) out << note << "\n";
  for (const std::string& note : tally.DamageNotes) out << note << "\n";
  out << "games: " << tally.Games << " read, " << tally.Games - tally.Skipped << " used, "
      << tally.Skipped << " skipped\n";
  for (const auto& [reason, count] : tally.SkippedBy) {
    out << "  skipped, " << reason << ": " << count << "\n";
  }
  if (tally.Shortened > 0) {
    out << "  " << tally.Shortened
        << " games ended early (a promotion, a null move or a damaged end)\n";
  }
  // An empty book would put the engine out of book and lose the old one for nothing.
  if (book.Lines.empty()) {
    return Failure(err, "no game gave an opening line; " + *output + " is not written");
  }
  if (!SaveBook(*output, book, error)) return Failure(err, error);
  int moves = 0;
  int allowed = 0;
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    for (int k = 0; k < MoveCount(book.Lines[i]); ++k) {
      ++moves;
      if (HasBit(book.Masks[i], k)) ++allowed;
    }
  }
  out << "lines: " << book.Lines.size() << " written to " << *output << "\n";
  out << "moves allowed: " << allowed << " of " << moves << "\n";
  return 0;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {}, {}, a, error)) return UsageError(err, "list: " + error);
  if (a.Words.size() != 1) return UsageError(err, "list: name one book");
  BookData book;
  if (!ReadBook(a.Words[0], book, error)) return Failure(err, error);
  BoardState b{};
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    const std::string& line = book.Lines[i];
    std::string text = std::to_string(i + 1);
    text.insert(0, text.size() < 6 ? 6 - text.size() : 0, ' ');
    text += " ";
    ResetPosition(b, true);
    for (int k = 0; k < MoveCount(line); ++k) {
      if (k % 2 == 0) text += " " + std::to_string(k / 2 + 1) + ".";
      Move m{};
      if (!FindLegalMove(b, MoveAt(line, k), m)) {
        text += " " + MoveAt(line, k) + "(illegal)";
        break;
      }
      text += " " + MoveToSan(b, m);
      if (HasBit(book.Masks[i], k)) text += "*";
      PlayMove(b, m);
    }
    out << text << "\n";
  }
  out << book.Lines.size() << " lines; * marks a move the engine may play\n";
  return 0;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {}, {}, a, error)) return UsageError(err, "check: " + error);
  if (a.Words.size() != 1) return UsageError(err, "check: name one book");
  const std::string& path = a.Words[0];
  int errors = 0;
  int notes = 0;
  for (const Finding& f : CheckBook(path)) {
    out << f.File;
    if (f.Line > 0) out << ":" << f.Line;
    out << ": " << (f.Error ? "error: " : "note: ") << f.Text << "\n";
    ++(f.Error ? errors : notes);
  }
  std::string text;
  const std::size_t lines = platform::ReadWholeFile(path, text) ? SplitBookLines(text).size() : 0;
  out << path << ": " << lines << " lines, " << errors << (errors == 1 ? " error, " : " errors, ")
      << notes << (notes == 1 ? " note\n" : " notes\n");
  return errors == 0 ? 0 : 1;
}

int SetPlies(const std::vector<std::string>& args, bool allow, std::ostream& out,
             std::ostream& err) {
  const std::string command = allow ? "allow" : "forbid";
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {"--line", "--prefix", "--ply", "--plies"}, {}, a, error)) {
    return UsageError(err, command + ": " + error);
  }
  if (a.Words.size() != 1) return UsageError(err, command + ": name one book");
  int first = 0;
  int last = 0;
  if (!ChoosePlies(a, first, last, error)) return UsageError(err, command + ": " + error);
  const std::string& path = a.Words[0];
  BookData book;
  if (!ReadBook(path, book, error)) return Failure(err, error);
  std::vector<std::size_t> chosen;
  if (!ChooseLines(a, book, path, chosen, error)) return Failure(err, error);

  // A move's bit is the same in every line that reaches it, so the change goes to
  // all of them.
  std::set<std::string> targets;
  for (std::size_t i : chosen) {
    for (int k = first; k <= last && k < MoveCount(book.Lines[i]); ++k) {
      targets.insert(LeadingMoves(book.Lines[i], k + 1));
    }
  }
  if (targets.empty()) return Failure(err, path + ": the chosen lines have no move at those plies");
  NormalizeBook(book);
  int changed = 0;
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    const auto before = static_cast<std::uint32_t>(book.Masks[i]);
    std::uint32_t mask = before;
    for (int k = first; k <= last && k < MoveCount(book.Lines[i]); ++k) {
      if (targets.count(LeadingMoves(book.Lines[i], k + 1)) == 0) continue;
      mask = allow ? mask | 1u << k : mask & ~(1u << k);
    }
    book.Masks[i] = static_cast<std::int32_t>(mask);
    if (mask != before) ++changed;
  }
  if (!SaveBook(path, book, error)) return Failure(err, error);
  out << (allow ? "allowed " : "forbidden ") << targets.size()
      << (targets.size() == 1 ? " move" : " moves") << " in " << changed
      << (changed == 1 ? " line" : " lines") << " of " << path << "\n";
  return 0;
}

int Remove(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {"--line", "--prefix"}, {}, a, error)) {
    return UsageError(err, "remove: " + error);
  }
  if (a.Words.size() != 1) return UsageError(err, "remove: name one book");
  const std::string& path = a.Words[0];
  BookData book;
  if (!ReadBook(path, book, error)) return Failure(err, error);
  std::vector<std::size_t> chosen;
  if (!ChooseLines(a, book, path, chosen, error)) return Failure(err, error);
  BookData kept;
  std::size_t next = 0;
  for (std::size_t i = 0; i < book.Lines.size(); ++i) {
    if (next < chosen.size() && chosen[next] == i) {
      ++next;
      continue;
    }
    kept.Lines.push_back(book.Lines[i]);
    kept.Masks.push_back(book.Masks[i]);
  }
  NormalizeBook(kept);
  if (!SaveBook(path, kept, error)) return Failure(err, error);
  out << "removed " << chosen.size() << (chosen.size() == 1 ? " line" : " lines") << "; " << path
      << " holds " << kept.Lines.size() << "\n";
  return 0;
}

int Merge(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  std::string error;
  if (!SplitArguments(args, {"-o"}, {}, a, error)) return UsageError(err, "merge: " + error);
  const std::string* output = a.Find("-o");
  if (a.Words.size() != 2 || output == nullptr) {
    return UsageError(err, "merge: name two books and the result with -o C.txt");
  }
  BookData merged;
  for (const std::string& path : a.Words) {
    BookData book;
    if (!ReadBook(path, book, error)) return Failure(err, error);
    merged.Lines.insert(merged.Lines.end(), book.Lines.begin(), book.Lines.end());
    merged.Masks.insert(merged.Masks.end(), book.Masks.begin(), book.Masks.end());
  }
  NormalizeBook(merged);
  if (!SaveBook(*output, merged, error)) return Failure(err, error);
  out << "merged " << a.Words[0] << " and " << a.Words[1] << ": " << merged.Lines.size()
      << " lines written to " << *output << "\n";
  return 0;
}

}  // namespace

int RunQuiretto(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    err << kUsage;
    return 2;
  }
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help" || command == "/?") {
    out << kUsage;
    return 0;
  }
  if (command == "import") return Import(arguments, out, err);
  if (command == "list") return List(arguments, out, err);
  if (command == "check") return Check(arguments, out, err);
  if (command == "allow") return SetPlies(arguments, true, out, err);
  if (command == "forbid") return SetPlies(arguments, false, out, err);
  if (command == "remove") return Remove(arguments, out, err);
  if (command == "merge") return Merge(arguments, out, err);
  // The launcher passes the book alone: show what it holds and whether it is sound.
  if (arguments.size() == 1 && command.find('.') != std::string::npos && command[0] != '-') {
    return Check({"check", command}, out, err);
  }
  return UsageError(err, "unknown command \"" + command + "\"");
}

}  // namespace zandrell::quiretto
