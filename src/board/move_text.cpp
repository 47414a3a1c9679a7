#include "board/move_text.h"

#include "board/board_tables.h"

namespace zandrell {

namespace {

// File letter and rank number of a square; square 0 (no move) reads "_-1".
void AppendSquare(std::string& text, int square) {
  text += static_cast<char>(96 + FileOf(square));
  text += std::to_string(RankOf(square));
}

// The character code of the first character, 0 for an empty text.
int FirstCode(std::string_view text) {
  return text.empty() ? 0 : static_cast<unsigned char>(text.front());
}

}  // namespace

std::string MoveToText(const Move& m) {
  std::string text;
  text.reserve(6);
  AppendSquare(text, m.From);
  AppendSquare(text, m.To);
  switch (m.Promotion) {
    case kWhiteQueen:
    case kBlackQueen: text += 'q'; break;
    case kWhiteRook:
    case kBlackRook: text += 'r'; break;
    case kWhiteKnight:
    case kBlackKnight: text += 'n'; break;
    case kWhiteBishop:
    case kBlackBishop: text += 'b'; break;
    default: break;
  }
  return text;
}

std::string MoveToGameText(const Move& m) {
  if (m.Castle <= kBlackLong) return MoveToText(m);
  const int kind = m.Castle - kChess960Castle;
  return kind == kWhiteShort || kind == kBlackShort ? "O-O" : "O-O-O";
}

int FileValue(std::string_view text) { return FirstCode(text) - 71; }

int RankValue(std::string_view text) { return FirstCode(text) * 12 - 588; }

}  // namespace zandrell
