#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "board/legal_move.h"
#include "board/move_text.h"
#include "board/movegen.h"
#include "book/book.h"
#include "platform/platform.h"

namespace zandrell {

namespace {

// The first-move choice is only played when it is a legal move of the side to move.
Move CheckedFirstMove(BoardState& b, const MoveList& list, const Move& choice) {
  for (int i = 0; i < list.Count; ++i) {
    const Move& m = list.Moves[i];
    if (m.From == choice.From && m.To == choice.To && m.Promotion == 0) {
      return IsLegalMove(b, m) ? choice : kNoMove;
    }
  }
  return kNoMove;
}

}  // namespace

bool BookMoveAllowed(const BookState& book, const std::string& line, int ply) {
  auto found = book.BookFlags.find(line);
  if (found == book.BookFlags.end() || ply < 1 || ply > 32) return false;
  return (static_cast<std::uint32_t>(found->second) >> (ply - 1) & 1u) != 0;
}

int RandomInt(int lo, int hi) {
  float now = platform::SecondsSinceMidnight();
  std::uint32_t seed = 0;
  std::memcpy(&seed, &now, sizeof seed);
  std::mt19937 generator(seed);
  float r = static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f);  // [0, 1)
  float value = static_cast<float>(hi - lo + 1) * r + static_cast<float>(lo);
  return std::clamp(static_cast<int>(std::floor(value)), lo, hi);
}

Move ProbeBook(Engine& e) {
  BoardState& b = e.board;
  const BookState& book = e.book;
  MoveList list;
  GenerateMoves(b, list);

  if (b.BookPly == 0) return CheckedFirstMove(b, list, book.FirstMoves[RandomInt(0, 3)]);

  Move candidates[kMaxMoves];
  int n = 0;
  std::string previous;
  const std::size_t offset = 4 * static_cast<std::size_t>(b.BookPly) + 1;
  const int ply = static_cast<int>(b.GameMoves.size() / 4) + 1;
  for (const std::string& line : book.BookLines) {
    if (line.find(b.GameMoves) == std::string::npos) continue;
    std::string candidate = offset < line.size() ? line.substr(offset, 4) : std::string();
    if (candidate == previous) continue;
    for (int i = 0; i < list.Count; ++i) {
      if (MoveToText(list.Moves[i]) != candidate) continue;
      if (IsLegalMove(b, list.Moves[i]) && BookMoveAllowed(book, line, ply) && n < kMaxMoves) {
        candidates[n++] = list.Moves[i];
      }
      break;
    }
    previous = std::move(candidate);
  }
  if (n == 0) return kNoMove;
  if (n == 1) return candidates[0];
  return candidates[RandomInt(0, n - 1)];
}

}  // namespace zandrell
