#include "protocol/uci_options.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/numeric.h"
#include "base/settings.h"
#include "base/wire.h"
#include "book/book.h"
#include "protocol/init_engine.h"
#include "protocol/level_setting.h"
#include "protocol/uci_text.h"
#include "search/hash_table.h"
#include "search/playing_level.h"

namespace zandrell {

namespace {

struct SpinOption {
  const char* Name;
  int Min;
  int Max;
  int& (*Value)(Engine&);
  void (*Apply)(Engine&);  // what follows a new value; nullptr: nothing
};

void ApplyPieceValues(Engine& e) { SetPieceValues(e.tables); }
void ApplyLevel(Engine& e) { SetPlayingLevel(e, e.uci.LimitStrength ? e.uci.Elo : 0); }
void ApplyHashSize(Engine& e) {
  ResizeHashTable(e, e.uci.HashMegabytes);
  e.search.HashMadeFor960 = false;  // the interface's size from now on
  e.uci.HashMegabytes = e.search.Hash.SizeMb;
}

constexpr SpinOption kSpinOptions[] = {
    {"Hash", 0, kMaxHashMb, [](Engine& e) -> int& { return e.uci.HashMegabytes; }, ApplyHashSize},
    {"Threads", 1, kMaxThreads, [](Engine& e) -> int& { return e.threads.Count; }, nullptr},
    {"MultiPV", 1, 8, [](Engine& e) -> int& { return e.uci.Lines; }, nullptr},
    {"Move Overhead", 0, 5000, [](Engine& e) -> int& { return e.uci.MoveOverheadMs; }, nullptr},
    {"Contempt", -1000, 1000, [](Engine& e) -> int& { return e.tables.Contempt; }, nullptr},
    {"PawnValue", 1, 1000, [](Engine& e) -> int& { return e.tables.PawnValue; }, ApplyPieceValues},
    {"KnightValue", 1, 2000, [](Engine& e) -> int& { return e.tables.KnightValue; },
     ApplyPieceValues},
    {"BishopValue", 1, 2000, [](Engine& e) -> int& { return e.tables.BishopValue; },
     ApplyPieceValues},
    {"RookValue", 1, 3000, [](Engine& e) -> int& { return e.tables.RookValue; }, ApplyPieceValues},
    {"QueenValue", 1, 4000, [](Engine& e) -> int& { return e.tables.QueenValue; },
     ApplyPieceValues},
    {"UCI_Elo", kLowestLevelElo, kHighestLevelElo, [](Engine& e) -> int& { return e.uci.Elo; },
     ApplyLevel},
};

struct CheckOption {
  const char* Name;
  bool (*Get)(const Engine&);
  void (*Set)(Engine&, bool);
};

void SetLog(Engine& e, bool on) {
  e.shell.LogEnabled = on;
  // As the log switch on the command line does.
  if (on) e.shell.LogPV = NumericValue(ReadSetting(e, "LogPV", "0")) != 0;
}

constexpr CheckOption kCheckOptions[] = {
    {"Ponder", [](const Engine& e) { return e.uci.Ponder; },
     [](Engine& e, bool on) { e.uci.Ponder = on; }},
    {"OwnBook", [](const Engine& e) { return e.uci.OwnBook; },
     [](Engine& e, bool on) { e.uci.OwnBook = on; }},
    {"Log", [](const Engine& e) { return e.shell.LogEnabled; }, SetLog},
    {"UCI_LimitStrength", [](const Engine& e) { return e.uci.LimitStrength; },
     [](Engine& e, bool on) {
       e.uci.LimitStrength = on;
       ApplyLevel(e);
     }},
    {"UCI_Chess960", [](const Engine& e) { return e.uci.Chess960; },
     [](Engine& e, bool on) { e.uci.Chess960 = on; }},
    {"UCI_ShowWDL", [](const Engine& e) { return e.uci.ShowWdl; },
     [](Engine& e, bool on) { e.uci.ShowWdl = on; }},
};

constexpr char kClearHash[] = "Clear Hash";
constexpr char kBookFile[] = "BookFile";

// A value from the settings file outside the usual range widens it, so the
// default always lies inside.
int LowestOf(Engine& e, const SpinOption& option) { return std::min(option.Min, option.Value(e)); }
int HighestOf(Engine& e, const SpinOption& option) { return std::max(option.Max, option.Value(e)); }

void Tell(Engine& e, const std::string& text) { SendBareLine(e, "info string " + text); }

bool IsWholeNumber(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void SetSpin(Engine& e, const SpinOption& option, std::string_view value) {
  const int lowest = LowestOf(e, option);
  const int highest = HighestOf(e, option);
  const double number = IsWholeNumber(value) ? NumericValue(value) : std::nan("");
  if (!(number >= lowest && number <= highest)) {
    Tell(e, std::string(option.Name) + " takes a whole number from " + std::to_string(lowest) +
                " to " + std::to_string(highest) + ", not \"" + std::string(value) + "\"");
    return;
  }
  option.Value(e) = static_cast<int>(number);
  if (option.Apply != nullptr) option.Apply(e);
}

void SetCheck(Engine& e, const CheckOption& option, std::string_view value) {
  if (SameIgnoringCase(value, "true")) {
    option.Set(e, true);
  } else if (SameIgnoringCase(value, "false")) {
    option.Set(e, false);
  } else {
    Tell(e, std::string(option.Name) + " takes true or false, not \"" + std::string(value) + "\"");
  }
}

void SetBookFile(Engine& e, std::string_view value) {
  std::string name(value);
  if (name == "<empty>") name.clear();
  e.book.BookLoaded = LoadBookFile(e, name);
  if (!name.empty() && !e.book.BookLoaded) Tell(e, "no book could be read from " + name);
}

}  // namespace

void SendUciOptions(Engine& e) {
  auto spin = [&](const SpinOption& option) {
    SendBareLine(e, std::string("option name ") + option.Name + " type spin default " +
                        std::to_string(option.Value(e)) + " min " +
                        std::to_string(LowestOf(e, option)) + " max " +
                        std::to_string(HighestOf(e, option)));
  };
  auto check = [&](const CheckOption& option) {
    SendBareLine(e, std::string("option name ") + option.Name + " type check default " +
                        (option.Get(e) ? "true" : "false"));
  };
  spin(kSpinOptions[0]);
  SendBareLine(e, std::string("option name ") + kClearHash + " type button");
  spin(kSpinOptions[1]);
  for (const CheckOption& option : kCheckOptions) check(option);
  const std::string& book = e.book.BookName;
  SendBareLine(e, std::string("option name ") + kBookFile + " type string default " +
                      (book.empty() ? "<empty>" : book));
  for (std::size_t i = 2; i < std::size(kSpinOptions); ++i) spin(kSpinOptions[i]);
}

void SetUciOption(Engine& e, std::string_view args) {
  const std::vector<std::string_view> words = UciWords(args);
  if (words.empty() || !SameIgnoringCase(words[0], "name")) {
    Tell(e, "setoption needs: name <name> [value <value>]");
    return;
  }
  // The name runs up to the word "value"; the value is the rest of the line.
  std::string name;
  std::string_view value;
  bool hasValue = false;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (SameIgnoringCase(words[i], "value")) {
      const std::size_t at = static_cast<std::size_t>(words[i].data() - args.data()) + 5;
      value = TrimBlanks(args.substr(at));
      hasValue = true;
      break;
    }
    if (!name.empty()) name += ' ';
    name += words[i];
  }

  if (SameIgnoringCase(name, kClearHash)) {
    ClearHashTable(e);
    return;
  }
  if (SameIgnoringCase(name, kBookFile)) {
    SetBookFile(e, value);
    return;
  }
  for (const SpinOption& option : kSpinOptions) {
    if (!SameIgnoringCase(name, option.Name)) continue;
    if (hasValue) {
      SetSpin(e, option, value);
    } else {
      Tell(e, std::string(option.Name) + " needs a value");
    }
    return;
  }
  for (const CheckOption& option : kCheckOptions) {
    if (!SameIgnoringCase(name, option.Name)) continue;
    SetCheck(e, option, value);
    return;
  }
  Tell(e, "no option named \"" + name + "\"");
}

}  // namespace zandrell
