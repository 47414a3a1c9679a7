#include "board/movegen.h"

namespace zandrell {

namespace {

inline std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }

// The list being filled. The count and the mode live in locals while the list is
// built: stores into the byte-sized move fields would otherwise force the
// compiler to reload them after every write.
struct Generator {
  const std::uint8_t* board;
  Move* moves;
  int count;
  bool capturesOnly;
};

// Copies one record into the next free entry. A full list drops the move: only a
// composed position can produce that many pseudo-legal moves.
inline void Append(Generator& g, int from, int to, int captured, int enPassant, int promotion, int castle) {
  if (g.count >= kMaxMoves) return;
  Move m;
  m.From = U8(from);
  m.To = U8(to);
  m.Captured = U8(captured);
  m.EnPassant = U8(enPassant);
  m.Promotion = U8(promotion);
  m.Castle = U8(castle);
  m.CapturedIndex = 0;
  g.moves[g.count++] = m;
}

// Queen, rook, knight, bishop: the order every promotion is listed in.
inline void AppendPromotions(Generator& g, int from, int to, int captured, bool white) {
  const int colour = white ? 0 : 1;
  Append(g, from, to, captured, 0, kWhiteQueen + colour, 0);
  Append(g, from, to, captured, 0, kWhiteRook + colour, 0);
  Append(g, from, to, captured, 0, kWhiteKnight + colour, 0);
  Append(g, from, to, captured, 0, kWhiteBishop + colour, 0);
}

// Adds the move from -> to (piece p) if the target allows it; true when a slider
// may go on past the target in the same direction.
inline bool AddMove(Generator& g, int p, int from, int to) {
  const int t = g.board[to];
  if (t == kBorder) return false;
  if ((p == kWhitePawn && t == kBlackMarker) || (p == kBlackPawn && t == kWhiteMarker)) {
    Append(g, from, to, t, 1, 0, 0);
    return true;
  }
  if (t >= kEmpty) {
    if (p == kWhitePawn && RankOf(from) == 7) {
      AppendPromotions(g, from, to, t, true);
    } else if (p == kBlackPawn && RankOf(from) == 2) {
      AppendPromotions(g, from, to, t, false);
    } else if (!g.capturesOnly) {
      Append(g, from, to, t, 0, 0, 0);
    }
    return true;
  }
  if ((t & 1) == (p & 1)) return false;  // own piece
  if (p == kWhitePawn && RankOf(from) == 7) {
    AppendPromotions(g, from, to, t, true);
    return true;
  }
  if (p == kBlackPawn && RankOf(from) == 2) {
    AppendPromotions(g, from, to, t, false);
    return true;
  }
  Append(g, from, to, t, 0, 0, 0);
  return false;
}

// A piece other than a pawn: no promotion and no en passant to consider.
inline bool AddPieceMove(Generator& g, int p, int from, int to) {
  const int t = g.board[to];
  if (t >= kEmpty) {
    if (!g.capturesOnly) Append(g, from, to, t, 0, 0, 0);
    return true;
  }
  if (t != kBorder && (t & 1) != (p & 1)) Append(g, from, to, t, 0, 0, 0);
  return false;
}

inline void Slide(Generator& g, int p, int from, int direction) {
  int to = from + direction;
  while (AddPieceMove(g, p, from, to)) to += direction;
}

void WhitePawn(Generator& g, int s) {
  const std::uint8_t* board = g.board;
  const int p = kWhitePawn;
  if (RankOf(s) == 2 && board[s + 24] == kEmpty && board[s + 12] == kEmpty) AddMove(g, p, s, s + 24);
  // Black pieces and Black's marker: the even codes other than the border.
  if ((board[s + 13] & 1) == 0 && board[s + 13] != kBorder) AddMove(g, p, s, s + 13);
  if ((board[s + 11] & 1) == 0 && board[s + 11] != kBorder) AddMove(g, p, s, s + 11);
  if (board[s + 12] == kEmpty) AddMove(g, p, s, s + 12);
}

void BlackPawn(Generator& g, int s) {
  const std::uint8_t* board = g.board;
  const int p = kBlackPawn;
  if (RankOf(s) == 7 && board[s - 24] == kEmpty && board[s - 12] == kEmpty) AddMove(g, p, s, s - 24);
  // White pieces and White's marker: the odd codes other than the empty square.
  if ((board[s - 13] & 1) == 1 && board[s - 13] != kEmpty) AddMove(g, p, s, s - 13);
  if ((board[s - 11] & 1) == 1 && board[s - 11] != kEmpty) AddMove(g, p, s, s - 11);
  if (board[s - 12] == kEmpty) AddMove(g, p, s, s - 12);
}

void Knight(Generator& g, int p, int s) {
  AddPieceMove(g, p, s, s + 10);
  AddPieceMove(g, p, s, s - 10);
  AddPieceMove(g, p, s, s + 14);
  AddPieceMove(g, p, s, s - 14);
  AddPieceMove(g, p, s, s + 23);
  AddPieceMove(g, p, s, s - 23);
  AddPieceMove(g, p, s, s + 25);
  AddPieceMove(g, p, s, s - 25);
}

void Bishop(Generator& g, int p, int s) {
  Slide(g, p, s, 13);
  Slide(g, p, s, -13);
  Slide(g, p, s, 11);
  Slide(g, p, s, -11);
}

void Rook(Generator& g, int p, int s) {
  Slide(g, p, s, 12);
  Slide(g, p, s, -12);
  Slide(g, p, s, 1);
  Slide(g, p, s, -1);
}

// The castling move of one kind: PendingCastle is set for the king's AddMove,
// which stamps the kind on the move it adds and clears it again.
void AddCastle(BoardState& b, Generator& g, int kind, int from, int to) {
  b.PendingCastle = kind;
  Append(g, from, to, g.board[to], 0, 0, b.PendingCastle);
  b.PendingCastle = 0;
}

// Castling needs the king and rook never touched and the squares between empty;
// attacks on the king's path are tested after the move is made.
void WhiteCastling(BoardState& b, Generator& g) {
  const std::uint8_t* board = g.board;
  if (b.TouchCount[30] != 0) return;
  if (b.TouchCount[33] == 0 && board[33] == kWhiteRook && board[32] == kEmpty && board[31] == kEmpty) {
    AddCastle(b, g, 1, 30, 32);
  }
  if (b.TouchCount[26] == 0 && board[26] == kWhiteRook && board[28] == kEmpty && board[27] == kEmpty &&
      board[29] == kEmpty) {
    AddCastle(b, g, 2, 30, 28);
  }
}

void BlackCastling(BoardState& b, Generator& g) {
  const std::uint8_t* board = g.board;
  if (b.TouchCount[114] != 0) return;
  if (b.TouchCount[117] == 0 && board[117] == kBlackRook && board[116] == kEmpty && board[115] == kEmpty) {
    AddCastle(b, g, 3, 114, 116);
  }
  if (b.TouchCount[110] == 0 && board[110] == kBlackRook && board[112] == kEmpty && board[111] == kEmpty &&
      board[113] == kEmpty) {
    AddCastle(b, g, 4, 114, 112);
  }
}

void King(BoardState& b, Generator& g, int p, int s) {
  AddPieceMove(g, p, s, s + 1);
  AddPieceMove(g, p, s, s - 1);
  AddPieceMove(g, p, s, s + 11);
  AddPieceMove(g, p, s, s - 11);
  AddPieceMove(g, p, s, s + 12);
  AddPieceMove(g, p, s, s - 12);
  AddPieceMove(g, p, s, s + 13);
  AddPieceMove(g, p, s, s - 13);
  if (p == kWhiteKing && s == 30) WhiteCastling(b, g);
  if (p == kBlackKing && s == 114) BlackCastling(b, g);
}

}  // namespace

void GenerateMoves(BoardState& b, MoveList& list) {
  Generator g{b.Board, list.Moves, 0, b.CapturesOnly};
  const int side = b.WhiteToMove ? 1 : 0;  // parity of the mover's codes
  const int slots = b.PieceCount < kPieceSlots ? b.PieceCount : kPieceSlots - 1;
  for (int i = 1; i <= slots; ++i) {
    const int s = b.PieceList[i];
    const int c = b.Board[s];
    // Skips the other side, and the square 0 (border) of a captured piece's slot.
    if (c < kWhitePawn || c > kBlackBishop || (c & 1) != side) continue;
    switch (c) {
      case kWhitePawn: WhitePawn(g, s); break;
      case kBlackPawn: BlackPawn(g, s); break;
      case kWhiteKnight:
      case kBlackKnight: Knight(g, c, s); break;
      case kWhiteBishop:
      case kBlackBishop: Bishop(g, c, s); break;
      case kWhiteRook:
      case kBlackRook: Rook(g, c, s); break;
      case kWhiteQueen:
      case kBlackQueen:
        Rook(g, c, s);
        Bishop(g, c, s);
        break;
      case kWhiteKing:
      case kBlackKing: King(b, g, c, s); break;
      default: break;
    }
  }
  list.Count = g.count;
}

}  // namespace zandrell
