#include "protocol/xboard_options.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/numeric.h"
#include "base/wire.h"
#include "protocol/level_setting.h"
#include "protocol/uci_text.h"
#include "search/hash_table.h"
#include "search/playing_level.h"

namespace zandrell {

namespace {

constexpr char kLimitStrength[] = "Limit strength";
constexpr char kElo[] = "Elo";

void RefuseOption(Engine& e, std::string_view args) {
  SendLine(e, "Error (bad option): option " + std::string(args));
}

// A whole number from low to high, or NaN.
double WholeNumberIn(std::string_view text, double low, double high) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 9) return std::nan("");
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((text[i] < '0' || text[i] > '9') && !(i == 0 && text[i] == '-')) return std::nan("");
  }
  const double number = NumericValue(text);
  return number >= low && number <= high ? number : std::nan("");
}

// The number of "cores N" or "memory N", brought within 1..most; NaN when the
// text is no positive whole number.
double CountWithin(std::string_view text, double most) {
  const double number = WholeNumberIn(text, 1, 1e9);
  return std::isnan(number) ? number : std::min(number, most);
}

}  // namespace

void SendXboardOptionFeatures(Engine& e) {
  SendLine(e, std::string("feature option=\"") + kLimitStrength + " -check " +
                  (e.uci.LimitStrength ? "1" : "0") + "\"");
  SendLine(e, std::string("feature option=\"") + kElo + " -spin " + std::to_string(e.uci.Elo) +
                  " " + std::to_string(kLowestLevelElo) + " " + std::to_string(kHighestLevelElo) +
                  "\"");
}

void SetXboardOption(Engine& e, std::string_view args) {
  const std::size_t equals = args.find('=');
  if (equals == std::string_view::npos) {
    RefuseOption(e, args);
    return;
  }
  const std::string_view name = TrimBlanks(args.substr(0, equals));
  const std::string_view value = args.substr(equals + 1);
  if (name == kLimitStrength) {
    const double on = WholeNumberIn(value, 0, 1);
    if (std::isnan(on)) {
      RefuseOption(e, args);
      return;
    }
    e.uci.LimitStrength = on != 0;
  } else if (name == kElo) {
    const double elo = WholeNumberIn(value, kLowestLevelElo, kHighestLevelElo);
    if (std::isnan(elo)) {
      RefuseOption(e, args);
      return;
    }
    e.uci.Elo = static_cast<int>(elo);
  } else {
    RefuseOption(e, args);
    return;
  }
  SetPlayingLevel(e, e.uci.LimitStrength ? e.uci.Elo : 0);
}

}  // namespace zandrell

namespace zandrell {

void SetXboardCores(Engine& e, std::string_view count) {
  const double cores = CountWithin(count, kMaxThreads);
  if (std::isnan(cores)) {
    SendLine(e, "Error (bad value): cores " + std::string(count));
    return;
  }
  e.threads.Count = static_cast<int>(cores);
}

void SetXboardMemory(Engine& e, std::string_view megabytes) {
  const double size = CountWithin(megabytes, kMaxHashMb);
  if (std::isnan(size)) {
    SendLine(e, "Error (bad value): memory " + std::string(megabytes));
    return;
  }
  // A new size only: the same one keeps the table and what it holds.
  if (static_cast<int>(size) == e.search.Hash.SizeMb) return;
  ResizeHashTable(e, static_cast<int>(size));
  e.uci.HashMegabytes = e.search.Hash.SizeMb;
}

}  // namespace zandrell
