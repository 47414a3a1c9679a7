#include "board/position_text.h"

#include "board/board_tables.h"
#include "board/position_key.h"

namespace zandrell {

namespace {

// The gap count of a rank; nothing for no gap.
void AppendGap(std::string& text, int gap) {
  if (gap > 0) text += std::to_string(gap);
}

// X-FEN: K or Q (k or q) for the outermost rook on its wing, else the rook's file.
std::string Castling960Text(const BoardState& b) {
  std::string castling;
  for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
    if (!HasCastling960(b, kind)) continue;
    const Castle960Rule& r = b.Castles960[kind];
    const int step = r.Rook > r.King ? 1 : -1;
    bool outermost = true;
    for (int square = r.Rook + step; b.Board[square] != kBorder; square += step) {
      if (b.Board[square] == b.Board[r.Rook]) outermost = false;
    }
    const bool white = kind <= kWhiteLong;
    if (outermost) {
      castling += "KQkq"[kind - 1];
    } else {
      castling += static_cast<char>((white ? 'A' : 'a') + FileOf(r.Rook) - 1);
    }
  }
  return castling;
}

}  // namespace

std::string PieceChar(int code) {
  static constexpr char kLetters[] = ".PpNnKkRrQqBb";
  if (code < kWhitePawn || code > kBlackBishop) return ".";
  return std::string(1, kLetters[code]);
}

std::string PositionText(const BoardState& b) {
  std::string ep = "-";
  std::string placement;
  std::string rank;
  int gap = 0;
  for (int i = 0; i < 64; ++i) {
    if (i % 8 == 0 && i > 0) {
      placement += '/';
      placement += rank;
      AppendGap(placement, gap);
      gap = 0;
      rank.clear();
    }
    const int s = Square64[i];
    const int c = b.Board[s];
    if (c == kEmpty) {
      ++gap;
    } else if (c == kWhiteMarker || c == kBlackMarker) {
      // A marker square is empty for the placement and names the en-passant field.
      ep = std::string(1, static_cast<char>(96 + FileOf(s))) + std::to_string(RankOf(s));
      ++gap;
    } else {
      AppendGap(rank, gap);
      rank += PieceChar(c);
      gap = 0;
    }
  }
  placement += '/';
  placement += rank;
  AppendGap(placement, gap);
  placement.erase(0, 1);

  placement += b.WhiteToMove ? " w" : " b";

  std::string castling;
  if (b.Chess960) {
    castling = Castling960Text(b);
  } else {
    // K, Q, k, q: the king and that rook never touched.
    for (int kind = kWhiteShort; kind <= kBlackLong; ++kind) {
      const CastleRule& r = kCastles[kind];
      if (b.TouchCount[r.King] == 0 && b.TouchCount[r.Rook] == 0) castling += "KQkq"[kind - 1];
    }
  }
  if (castling.empty()) castling = "-";
  return placement + " " + castling + " " + ep;
}

}  // namespace zandrell
