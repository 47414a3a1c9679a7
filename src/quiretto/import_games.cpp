#include "quiretto/import_games.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "board/board_state.h"
#include "board/move_text.h"
#include "book/book_format.h"
#include "quiretto/pgn.h"
#include "quiretto/san.h"

namespace zandrell::quiretto {

namespace {

int WinnerOf(const std::string& result) {
  if (result == "1-0") return 1;
  if (result == "0-1") return 2;
  return 0;
}

bool IsStandardVariant(std::string variant) {
  std::transform(variant.begin(), variant.end(), variant.begin(),
                 [](unsigned char c) { return static_cast<char>(c | 0x20); });
  return variant.empty() || variant == "standard" || variant == "chess" || variant == "normal";
}

const char* Problem(SanResult result) {
  switch (result) {
    case SanResult::kUnreadable: return "unreadable move";
    case SanResult::kAmbiguous: return "ambiguous move";
    case SanResult::kMissingPromotion: return "promotion without a piece";
    default: return "illegal move";
  }
}

// What each node of the opening tree (a line's first moves) has seen.
struct NodeCount {
  int Games = 0;
  int Won = 0;  // games won by the side that played the node's last move
};

}  // namespace

void ReadGames(const std::string& text, const std::string& file, const ImportOptions& options,
               std::vector<OpeningLine>& lines, ImportTally& tally) {
  PgnReader reader(text, options.Plies);
  PgnGame game;
  BoardState b{};
  while (reader.Next(game)) {
    ++tally.Games;
    const std::string where = file + ":" + std::to_string(game.FirstLine);
    auto skip = [&](const std::string& reason, const std::string& detail) {
      ++tally.Skipped;
      ++tally.SkippedBy[reason];
      tally.SkipNotes.push_back(where + ": game " + std::to_string(tally.Games) +
                                " skipped: " + reason + detail);
    };
    if (game.HasSetUp) {
      skip("starts from a set-up position (FEN tag)", "");
      continue;
    }
    if (!IsStandardVariant(game.Variant)) {
      skip("not standard chess (Variant tag)", " \"" + game.Variant + "\"");
      continue;
    }
    ResetPosition(b, true);
    OpeningLine line;
    line.Winner = WinnerOf(game.Result);
    bool bad = false;
    bool shortened = !game.Damage.empty();
    for (std::size_t i = 0; i < game.Moves.size(); ++i) {
      const std::string& san = game.Moves[i];
      if (san == "--" || san == "Z0") {  // a null move: the game leaves chess here
        shortened = true;
        break;
      }
      Move m{};
      const SanResult result = ParseSan(b, san, m);
      if (result != SanResult::kFound) {
        skip(Problem(result), " \"" + san + "\" at line " + std::to_string(game.MoveLines[i]));
        bad = true;
        break;
      }
      // The book holds four-character moves: a line ends before a promotion.
      if (m.Promotion != 0) {
        shortened = true;
        break;
      }
      line.Moves.push_back(MoveToText(m));
      PlayMove(b, m);
    }
    if (bad) continue;
    if (!game.Damage.empty()) {
      tally.DamageNotes.push_back(where + ": game " + std::to_string(tally.Games) +
                                  " read up to damage at " + game.Damage);
    }
    if (shortened) ++tally.Shortened;
    if (!line.Moves.empty()) lines.push_back(std::move(line));
  }
}

BookData BuildBook(const std::vector<OpeningLine>& lines, const ImportOptions& options) {
  std::vector<std::string> texts;
  texts.reserve(lines.size());
  std::size_t moves = 0;
  for (const OpeningLine& line : lines) {
    std::string text = " ";
    for (const std::string& m : line.Moves) text += m;
    texts.push_back(std::move(text));
    moves += line.Moves.size();
  }
  // The tree's nodes are the lines' leading moves, viewed in place: the texts no
  // longer move, and no key is copied.
  std::unordered_map<std::string_view, NodeCount> nodes;
  nodes.reserve(moves);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string_view text = texts[i];
    for (int k = 0; k < MoveCount(texts[i]); ++k) {
      NodeCount& node =
          nodes[text.substr(0, 1 + kBookMoveLength * static_cast<std::size_t>(k + 1))];
      ++node.Games;
      const int mover = k % 2 == 0 ? 1 : 2;
      if (lines[i].Winner == mover) ++node.Won;
    }
  }
  std::vector<std::string_view> sorted(texts.begin(), texts.end());
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  BookData book;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const std::string_view text = sorted[i];
    // Sorted, a line that leads another stands right before one that it leads.
    if (i + 1 < sorted.size() && sorted[i + 1].substr(0, text.size()) == text) continue;
    std::uint32_t mask = 0;
    const int count = static_cast<int>((text.size() - 1) / kBookMoveLength);
    for (int k = 0; k < count && k < kMaskPlies; ++k) {
      if (options.Plays == Side::kWhite && k % 2 != 0) continue;
      if (options.Plays == Side::kBlack && k % 2 == 0) continue;
      const NodeCount& node =
          nodes[text.substr(0, 1 + kBookMoveLength * static_cast<std::size_t>(k + 1))];
      const int counted = options.WinnersOnly ? node.Won : node.Games;
      if (counted >= std::max(1, options.MinGames)) mask |= 1u << k;
    }
    book.Lines.emplace_back(text);
    book.Masks.push_back(static_cast<std::int32_t>(mask));
  }
  return book;
}

}  // namespace zandrell::quiretto
