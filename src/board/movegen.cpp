#include "board/movegen.h"

namespace zandrell {

namespace {

inline std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }

// Copies one record into the next free entry. A full list drops the move: only a
// composed position can produce that many pseudo-legal moves.
inline void Append(MoveList& list, int from, int to, int captured, int enPassant, int promotion,
                   int castle) {
  if (list.Count >= kMaxMoves) return;
  Move& m = list.Moves[list.Count++];
  m.From = U8(from);
  m.To = U8(to);
  m.Captured = U8(captured);
  m.EnPassant = U8(enPassant);
  m.Promotion = U8(promotion);
  m.Castle = U8(castle);
  m.CapturedIndex = 0;
}

// Queen, rook, knight, bishop: the order every promotion is listed in.
inline void AppendPromotions(MoveList& list, int from, int to, int captured, bool white) {
  if (white) {
    Append(list, from, to, captured, 0, kWhiteQueen, 0);
    Append(list, from, to, captured, 0, kWhiteRook, 0);
    Append(list, from, to, captured, 0, kWhiteKnight, 0);
    Append(list, from, to, captured, 0, kWhiteBishop, 0);
  } else {
    Append(list, from, to, captured, 0, kBlackQueen, 0);
    Append(list, from, to, captured, 0, kBlackRook, 0);
    Append(list, from, to, captured, 0, kBlackKnight, 0);
    Append(list, from, to, captured, 0, kBlackBishop, 0);
  }
}

// Adds the move from -> to if the target allows it; true when a slider may go on
// past the target in the same direction.
inline bool AddMove(BoardState& b, MoveList& list, int from, int to) {
  const int t = b.Board[to];
  const int p = b.Board[from];
  if (t == kBorder) return false;
  if (b.PendingCastle != 0) {
    Append(list, from, to, t, 0, 0, b.PendingCastle);
    b.PendingCastle = 0;
    return true;
  }
  if ((p == kWhitePawn && t == kBlackMarker) || (p == kBlackPawn && t == kWhiteMarker)) {
    Append(list, from, to, t, 1, 0, 0);
    return true;
  }
  if (t >= kEmpty) {
    if (p == kWhitePawn && RankOf(from) == 7) {
      AppendPromotions(list, from, to, t, true);
    } else if (p == kBlackPawn && RankOf(from) == 2) {
      AppendPromotions(list, from, to, t, false);
    } else if (!b.CapturesOnly) {
      Append(list, from, to, t, 0, 0, 0);
    }
    return true;
  }
  if ((t & 1) == (p & 1)) return false;  // own piece
  if (p == kWhitePawn && RankOf(from) == 7) {
    AppendPromotions(list, from, to, t, true);
    return true;
  }
  if (p == kBlackPawn && RankOf(from) == 2) {
    AppendPromotions(list, from, to, t, false);
    return true;
  }
  Append(list, from, to, t, 0, 0, 0);
  return false;
}

inline void Slide(BoardState& b, MoveList& list, int from, int direction) {
  int to = from + direction;
  while (AddMove(b, list, from, to)) to += direction;
}

void WhitePawn(BoardState& b, MoveList& list, int s) {
  const std::uint8_t* board = b.Board;
  if (RankOf(s) == 2 && board[s + 24] == kEmpty && board[s + 12] == kEmpty) AddMove(b, list, s, s + 24);
  // Black pieces and Black's marker: the even codes other than the border.
  if ((board[s + 13] & 1) == 0 && board[s + 13] != kBorder) AddMove(b, list, s, s + 13);
  if ((board[s + 11] & 1) == 0 && board[s + 11] != kBorder) AddMove(b, list, s, s + 11);
  if (board[s + 12] == kEmpty) AddMove(b, list, s, s + 12);
}

void BlackPawn(BoardState& b, MoveList& list, int s) {
  const std::uint8_t* board = b.Board;
  if (RankOf(s) == 7 && board[s - 24] == kEmpty && board[s - 12] == kEmpty) AddMove(b, list, s, s - 24);
  // White pieces and White's marker: the odd codes other than the empty square.
  if ((board[s - 13] & 1) == 1 && board[s - 13] != kEmpty) AddMove(b, list, s, s - 13);
  if ((board[s - 11] & 1) == 1 && board[s - 11] != kEmpty) AddMove(b, list, s, s - 11);
  if (board[s - 12] == kEmpty) AddMove(b, list, s, s - 12);
}

void Knight(BoardState& b, MoveList& list, int s) {
  AddMove(b, list, s, s + 10);
  AddMove(b, list, s, s - 10);
  AddMove(b, list, s, s + 14);
  AddMove(b, list, s, s - 14);
  AddMove(b, list, s, s + 23);
  AddMove(b, list, s, s - 23);
  AddMove(b, list, s, s + 25);
  AddMove(b, list, s, s - 25);
}

void Bishop(BoardState& b, MoveList& list, int s) {
  Slide(b, list, s, 13);
  Slide(b, list, s, -13);
  Slide(b, list, s, 11);
  Slide(b, list, s, -11);
}

void Rook(BoardState& b, MoveList& list, int s) {
  Slide(b, list, s, 12);
  Slide(b, list, s, -12);
  Slide(b, list, s, 1);
  Slide(b, list, s, -1);
}

// Castling needs the king and rook never touched and the squares between empty;
// attacks on the king's path are tested after the move is made.
void WhiteCastling(BoardState& b, MoveList& list) {
  const std::uint8_t* board = b.Board;
  if (b.TouchCount[30] != 0) return;
  if (b.TouchCount[33] == 0 && board[33] == kWhiteRook && board[32] == kEmpty && board[31] == kEmpty) {
    b.PendingCastle = 1;
    AddMove(b, list, 30, 32);
  }
  if (b.TouchCount[26] == 0 && board[26] == kWhiteRook && board[28] == kEmpty && board[27] == kEmpty &&
      board[29] == kEmpty) {
    b.PendingCastle = 2;
    AddMove(b, list, 30, 28);
  }
}

void BlackCastling(BoardState& b, MoveList& list) {
  const std::uint8_t* board = b.Board;
  if (b.TouchCount[114] != 0) return;
  if (b.TouchCount[117] == 0 && board[117] == kBlackRook && board[116] == kEmpty && board[115] == kEmpty) {
    b.PendingCastle = 3;
    AddMove(b, list, 114, 116);
  }
  if (b.TouchCount[110] == 0 && board[110] == kBlackRook && board[112] == kEmpty && board[111] == kEmpty &&
      board[113] == kEmpty) {
    b.PendingCastle = 4;
    AddMove(b, list, 114, 112);
  }
}

void King(BoardState& b, MoveList& list, int s, bool white) {
  AddMove(b, list, s, s + 1);
  AddMove(b, list, s, s - 1);
  AddMove(b, list, s, s + 11);
  AddMove(b, list, s, s - 11);
  AddMove(b, list, s, s + 12);
  AddMove(b, list, s, s - 12);
  AddMove(b, list, s, s + 13);
  AddMove(b, list, s, s - 13);
  if (white && s == 30) WhiteCastling(b, list);
  if (!white && s == 114) BlackCastling(b, list);
}

}  // namespace

void GenerateMoves(BoardState& b, MoveList& list) {
  list.Count = 0;
  const int side = b.WhiteToMove ? 1 : 0;  // parity of the mover's codes
  const int slots = b.PieceCount < kPieceSlots ? b.PieceCount : kPieceSlots - 1;
  for (int i = 1; i <= slots; ++i) {
    const int s = b.PieceList[i];
    const int c = b.Board[s];
    // Skips the other side, and the square 0 (border) of a captured piece's slot.
    if (c < kWhitePawn || c > kBlackBishop || (c & 1) != side) continue;
    switch (c) {
      case kWhitePawn: WhitePawn(b, list, s); break;
      case kBlackPawn: BlackPawn(b, list, s); break;
      case kWhiteKnight:
      case kBlackKnight: Knight(b, list, s); break;
      case kWhiteBishop:
      case kBlackBishop: Bishop(b, list, s); break;
      case kWhiteRook:
      case kBlackRook: Rook(b, list, s); break;
      case kWhiteQueen:
      case kBlackQueen:
        Rook(b, list, s);
        Bishop(b, list, s);
        break;
      case kWhiteKing: King(b, list, s, true); break;
      case kBlackKing: King(b, list, s, false); break;
      default: break;
    }
  }
}

}  // namespace zandrell
