#include "board/movegen.h"

#include "board/attacks.h"
#include "board/board_tables.h"

namespace zandrell {

namespace {

constexpr std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }

// Rank 1..8 of every square (0 on the border), instead of a division per pawn.
constexpr struct RankTable {
  std::uint8_t Rank[kSquareCount];
  constexpr RankTable() : Rank{} {
    for (int s = 0; s < kSquareCount; ++s) {
      const int file = (s % 12) - 1;
      const int row = (s / 12) - 1;
      Rank[s] = U8(file >= 1 && file <= 8 && row >= 1 && row <= 8 ? row : 0);
    }
  }
} kRanks;
static_assert(kRanks.Rank[kA1] == 1 && kRanks.Rank[kH1] == 1 && kRanks.Rank[kA8] == 8 &&
              kRanks.Rank[kH8] == 8);
static_assert(kRanks.Rank[kA1 - 1] == 0 && kRanks.Rank[kH1 + 1] == 0 && kRanks.Rank[kA2] == 2);

// The list being filled. The count lives in a local while the list is built:
// stores into the byte-sized move fields would otherwise force the compiler to
// reload it after every write.
struct Generator {
  const std::uint8_t* Board;
  Move* Moves;
  int Count;
};

// Copies one record into the next free entry. A full list drops the move: only a
// composed position can produce that many pseudo-legal moves.
inline void Append(Generator& g, int from, int to, int captured, int enPassant, int promotion,
                   int castle) {
  if (g.Count >= kMaxMoves) return;
  Move m;
  m.From = U8(from);
  m.To = U8(to);
  m.Captured = U8(captured);
  m.EnPassant = U8(enPassant);
  m.Promotion = U8(promotion);
  m.Castle = U8(castle);
  m.CapturedIndex = 0;
  g.Moves[g.Count++] = m;
}

inline void AppendPlain(Generator& g, int from, int to, int captured) {
  Append(g, from, to, captured, 0, 0, 0);
}

// Queen, rook, knight, bishop: the order every promotion is listed in.
template <Side kSide>
inline void AppendPromotions(Generator& g, int from, int to, int captured) {
  constexpr int kColour = IsWhite(kSide) ? 0 : 1;
  Append(g, from, to, captured, 0, kWhiteQueen + kColour, 0);
  Append(g, from, to, captured, 0, kWhiteRook + kColour, 0);
  Append(g, from, to, captured, 0, kWhiteKnight + kColour, 0);
  Append(g, from, to, captured, 0, kWhiteBishop + kColour, 0);
}

// A piece of the other side (the border, empty squares and markers are not).
template <Side kSide>
constexpr bool IsEnemy(int code) {
  if constexpr (IsWhite(kSide)) {
    return (code & 1) == 0 && code != kBorder && code < kEmpty;
  } else {
    return (code & 1) == 1 && code < kEmpty;
  }
}

// A pawn's diagonal step onto a code of the other parity: en passant onto the
// enemy's marker, else a capture that promotes from the seventh rank. (Any
// other non-piece code there would count as a quiet target, as for a push.)
template <Side kSide, bool kCapturesOnly>
inline void PawnCapture(Generator& g, int from, int to, int t, bool promotes) {
  constexpr int kEnemyMarker = IsWhite(kSide) ? kBlackMarker : kWhiteMarker;
  if (t == kEnemyMarker) {
    Append(g, from, to, t, 1, 0, 0);
  } else if (promotes) {
    AppendPromotions<kSide>(g, from, to, t);
  } else if (!kCapturesOnly || t < kEmpty) {
    AppendPlain(g, from, to, t);
  }
}

// Pawn targets in the fixed order: double step, the two captures (+13 then +11
// as White sees the board), single step. Only a promoting push survives the
// captures-only mode among the pushes.
template <Side kSide, bool kCapturesOnly>
inline void Pawn(Generator& g, int s) {
  const std::uint8_t* board = g.Board;
  constexpr int kUp = IsWhite(kSide) ? 12 : -12;
  constexpr int kCapture1 = IsWhite(kSide) ? 13 : -13;
  constexpr int kCapture2 = IsWhite(kSide) ? 11 : -11;
  const int rank = kRanks.Rank[s];
  const bool promotes = IsWhite(kSide) ? rank == 7 : rank == 2;
  if (!kCapturesOnly) {
    const bool home = IsWhite(kSide) ? rank == 2 : rank == 7;
    if (home && board[s + 2 * kUp] == kEmpty && board[s + kUp] == kEmpty)
      AppendPlain(g, s, s + 2 * kUp, kEmpty);
  }
  // White takes the even codes but the border (Black's pieces and marker),
  // Black the odd codes but the empty square (White's pieces and marker).
  const int t1 = board[s + kCapture1];
  if (IsWhite(kSide) ? ((t1 & 1) == 0 && t1 != kBorder) : ((t1 & 1) == 1 && t1 != kEmpty)) {
    PawnCapture<kSide, kCapturesOnly>(g, s, s + kCapture1, t1, promotes);
  }
  const int t2 = board[s + kCapture2];
  if (IsWhite(kSide) ? ((t2 & 1) == 0 && t2 != kBorder) : ((t2 & 1) == 1 && t2 != kEmpty)) {
    PawnCapture<kSide, kCapturesOnly>(g, s, s + kCapture2, t2, promotes);
  }
  if (board[s + kUp] == kEmpty) {
    if (promotes) {
      AppendPromotions<kSide>(g, s, s + kUp, kEmpty);
    } else if (!kCapturesOnly) {
      AppendPlain(g, s, s + kUp, kEmpty);
    }
  }
}

// One jump of a knight or a king step: any non-piece square is a quiet target
// (markers included), an enemy piece a capture.
template <Side kSide, bool kCapturesOnly>
inline void Step(Generator& g, int from, int to) {
  const int t = g.Board[to];
  if (t >= kEmpty) {
    if (!kCapturesOnly) AppendPlain(g, from, to, t);
  } else if (IsEnemy<kSide>(t)) {
    AppendPlain(g, from, to, t);
  }
}

// A slider passes over empty squares and markers (quiet targets in the full
// mode, stepped over without a look in captures-only mode) and stops at the
// first piece, taking it if it is an enemy, or at the border.
template <Side kSide, bool kCapturesOnly>
inline void Slide(Generator& g, int from, int direction) {
  const std::uint8_t* board = g.Board;
  int to = from + direction;
  int t = board[to];
  while (t >= kEmpty) {
    if (!kCapturesOnly) AppendPlain(g, from, to, t);
    to += direction;
    t = board[to];
  }
  if (IsEnemy<kSide>(t)) AppendPlain(g, from, to, t);
}

template <Side kSide, bool kCapturesOnly>
inline void Knight(Generator& g, int s) {
  Step<kSide, kCapturesOnly>(g, s, s + 10);
  Step<kSide, kCapturesOnly>(g, s, s - 10);
  Step<kSide, kCapturesOnly>(g, s, s + 14);
  Step<kSide, kCapturesOnly>(g, s, s - 14);
  Step<kSide, kCapturesOnly>(g, s, s + 23);
  Step<kSide, kCapturesOnly>(g, s, s - 23);
  Step<kSide, kCapturesOnly>(g, s, s + 25);
  Step<kSide, kCapturesOnly>(g, s, s - 25);
}

template <Side kSide, bool kCapturesOnly>
inline void Bishop(Generator& g, int s) {
  Slide<kSide, kCapturesOnly>(g, s, 13);
  Slide<kSide, kCapturesOnly>(g, s, -13);
  Slide<kSide, kCapturesOnly>(g, s, 11);
  Slide<kSide, kCapturesOnly>(g, s, -11);
}

template <Side kSide, bool kCapturesOnly>
inline void Rook(Generator& g, int s) {
  Slide<kSide, kCapturesOnly>(g, s, 12);
  Slide<kSide, kCapturesOnly>(g, s, -12);
  Slide<kSide, kCapturesOnly>(g, s, 1);
  Slide<kSide, kCapturesOnly>(g, s, -1);
}

// One castling, listed when its king and rook have never been touched, the rook
// stands at home and the squares between are empty; attacks on the king's path
// are tested after the move is made. Castling moves are listed in both modes.
template <int kKind>
inline void Castle(const BoardState& b, Generator& g) {
  constexpr CastleRule kRule = kCastles[kKind];
  const std::uint8_t* board = g.Board;
  if (b.TouchCount[kRule.Rook] != 0 || board[kRule.Rook] != kRule.RookCode) return;
  for (int i = 0; i < kRule.EmptyCount; ++i) {
    if (board[kRule.MustBeEmpty[i]] != kEmpty) return;
  }
  Append(g, kRule.King, kRule.KingTo, board[kRule.KingTo], 0, 0, kKind);
}

// One Chess960 castling from the king's square s: the game has it, king and rook
// are untouched, every square the two cross or land on is empty but for
// themselves, and no square of the king's way is attacked before the move (its
// destination is tested after it, like any king move). Recorded as the king
// taking its own rook.
template <Side kSide>
void Castle960(const BoardState& b, Generator& g, int s, int kind) {
  constexpr int kRookCode = IsWhite(kSide) ? kWhiteRook : kBlackRook;
  constexpr Side kOpponent = IsWhite(kSide) ? Side::kBlack : Side::kWhite;
  const Castle960Rule& r = b.Castles960[kind];
  if (r.King != s || b.TouchCount[r.Rook] != 0 || g.Board[r.Rook] != kRookCode) return;
  for (int square = r.Low; square <= r.High; ++square) {
    if (square != r.King && square != r.Rook && g.Board[square] != kEmpty) return;
  }
  // The king's own square always: a king that stays put while the rook moves
  // in beside it would otherwise escape a check along the rank.
  if (IsAttacked(b, r.King, kOpponent)) return;
  const int step = r.KingTo > r.King ? 1 : -1;
  for (int square = r.King + step; square != r.KingTo && r.King != r.KingTo; square += step) {
    if (IsAttacked(b, square, kOpponent)) return;
  }
  Append(g, r.King, r.Rook, kEmpty, 0, 0, kind + kChess960Castle);
}

template <Side kSide, bool kCapturesOnly>
inline void King(const BoardState& b, Generator& g, int s) {
  Step<kSide, kCapturesOnly>(g, s, s + 1);
  Step<kSide, kCapturesOnly>(g, s, s - 1);
  Step<kSide, kCapturesOnly>(g, s, s + 11);
  Step<kSide, kCapturesOnly>(g, s, s - 11);
  Step<kSide, kCapturesOnly>(g, s, s + 12);
  Step<kSide, kCapturesOnly>(g, s, s - 12);
  Step<kSide, kCapturesOnly>(g, s, s + 13);
  Step<kSide, kCapturesOnly>(g, s, s - 13);
  constexpr int kShort = IsWhite(kSide) ? kWhiteShort : kBlackShort;
  constexpr int kLong = IsWhite(kSide) ? kWhiteLong : kBlackLong;
  if (b.Chess960) {
    if (b.TouchCount[s] == 0) {
      Castle960<kSide>(b, g, s, kShort);
      Castle960<kSide>(b, g, s, kLong);
    }
  } else if (s == kCastles[kShort].King && b.TouchCount[s] == 0) {
    Castle<kShort>(b, g);
    Castle<kLong>(b, g);
  }
}

// The pieces of one side in slot order; each mode and side is its own copy, so
// that the per-square tests fold to constants.
template <Side kSide, bool kCapturesOnly>
int Generate(const BoardState& b, Move* moves) {
  constexpr int kColour = IsWhite(kSide) ? 0 : 1;
  Generator g{b.Board, moves, 0};
  const int slots = b.PieceCount < kPieceSlots ? b.PieceCount : kPieceSlots - 1;
  for (int i = 1; i <= slots; ++i) {
    const int s = b.PieceList[i];
    const int c = b.Board[s];
    // Skips the other side, and the square 0 (border) of a captured piece's
    // slot, before the jump on the piece.
    if (((c + kColour) & 1) == 0 || c > kBlackBishop || c == kBorder) continue;
    switch (c - kColour) {
      case kWhitePawn: Pawn<kSide, kCapturesOnly>(g, s); break;
      case kWhiteKnight: Knight<kSide, kCapturesOnly>(g, s); break;
      case kWhiteBishop: Bishop<kSide, kCapturesOnly>(g, s); break;
      case kWhiteRook: Rook<kSide, kCapturesOnly>(g, s); break;
      case kWhiteQueen:
        Rook<kSide, kCapturesOnly>(g, s);
        Bishop<kSide, kCapturesOnly>(g, s);
        break;
      case kWhiteKing: King<kSide, kCapturesOnly>(b, g, s); break;
      default: break;
    }
  }
  return g.Count;
}

}  // namespace

void GenerateMoves(const BoardState& b, MoveList& list, GenerationMode mode) {
  const bool capturesOnly = mode == GenerationMode::kCapturesOnly;
  if (b.WhiteToMove) {
    list.Count = capturesOnly ? Generate<Side::kWhite, true>(b, list.Moves)
                              : Generate<Side::kWhite, false>(b, list.Moves);
  } else {
    list.Count = capturesOnly ? Generate<Side::kBlack, true>(b, list.Moves)
                              : Generate<Side::kBlack, false>(b, list.Moves);
  }
}

}  // namespace zandrell
