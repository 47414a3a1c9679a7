// The book's choices in the game's position, for people: the same lines and
// masks ProbeBook reads.
#include <string>
#include <utility>
#include <vector>

#include "board/legal_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "book/book.h"

namespace zandrell {

namespace {
constexpr int kBookReach = 20;  // plies of the game the book is asked about
}  // namespace

std::vector<BookChoice> ListBookMoves(Engine& e) {
  std::vector<BookChoice> choices;
  BoardState& b = e.board;
  const BookState& book = e.book;
  if (!book.BookLoaded || b.BookPly >= kBookReach) return choices;
  MoveList list;
  GenerateMoves(b, list);
  const std::size_t offset = 4 * static_cast<std::size_t>(b.BookPly) + 1;
  const int ply = static_cast<int>(b.GameMoves.size() / 4) + 1;
  // Every line through the game so far counts for its next move; a move is a
  // choice when the first line of some run of adjacent lines with it allows it.
  std::vector<std::pair<std::string, int>> lineCounts;
  std::vector<bool> allowed;
  std::string previous;
  for (const std::string& line : book.BookLines) {
    if (line.find(b.GameMoves) == std::string::npos) continue;
    std::string candidate = offset < line.size() ? line.substr(offset, 4) : std::string();
    std::size_t k = 0;
    while (k < lineCounts.size() && lineCounts[k].first != candidate) ++k;
    if (k == lineCounts.size()) {
      lineCounts.emplace_back(candidate, 0);
      allowed.push_back(false);
    }
    ++lineCounts[k].second;
    if (candidate == previous) continue;
    previous = candidate;
    if (BookMoveAllowed(book, line, ply)) allowed[k] = true;
  }
  for (std::size_t k = 0; k < lineCounts.size(); ++k) {
    if (!allowed[k] || lineCounts[k].first.empty()) continue;
    for (int i = 0; i < list.Count; ++i) {
      if (MoveToText(list.Moves[i]) != lineCounts[k].first) continue;
      if (IsLegalMove(b, list.Moves[i])) choices.push_back({list.Moves[i], lineCounts[k].second});
      break;
    }
  }
  return choices;
}

}  // namespace zandrell
