#include "board/make_move.h"

#include <cstring>

#include "board/board_tables.h"
#include "board/move_text.h"
#include "board/position_key.h"

namespace zandrell {

namespace {

inline std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }

// FiftyHistory is indexed by the distance from the search root; a caller that
// goes deeper than the array (or below 0) shares its last (first) entry instead
// of writing past it.
inline int HistorySlot(int ply) {
  if (ply < 0) return 0;
  if (ply >= kFiftyHistorySize) return kFiftyHistorySize - 1;
  return ply;
}

// Removes White's markers from rank 3 and Black's from rank 6. Usually there is
// none: both ranks are first tested as words for any byte of 15 or more (codes
// stay below 0x80, so adding 0x71 sets a byte's high bit exactly then).
inline void ClearMarkers(BoardState& b) {
  constexpr std::uint64_t kLift = 0x7171717171717171ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  std::uint64_t rank3;
  std::uint64_t rank6;
  std::memcpy(&rank3, &b.Board[kA3], sizeof rank3);
  std::memcpy(&rank6, &b.Board[kA6], sizeof rank6);
  if ((((rank3 + kLift) | (rank6 + kLift)) & kHighs) == 0) return;
  for (int s = kA3; s <= kH3; ++s) {
    if (b.Board[s] == kWhiteMarker) b.Board[s] = kEmpty;
  }
  for (int s = kA6; s <= kH6; ++s) {
    if (b.Board[s] == kBlackMarker) b.Board[s] = kEmpty;
  }
}

// A pawn move or a capture of a piece resets the counter; anything else counts.
inline void ApplyFiftyRule(BoardState& b, int from, int to) {
  const int p = b.Board[from];
  if (p != kWhitePawn && p != kBlackPawn && b.Board[to] >= kEmpty) {
    ++b.FiftyCount;
  } else {
    b.FiftyCount = 0;
  }
}

inline void Touch(BoardState& b, int square, int amount) {
  b.TouchCount[square] = static_cast<std::int16_t>(b.TouchCount[square] + amount);
}

// Puts the moving piece (or what a pawn promotes to) on its target and empties
// the square it left; a king's move also moves its king square.
inline void PlaceMovedPiece(BoardState& b, int from, int to, int piece, int promotion) {
  if (promotion != 0) {
    b.Board[to] = U8(promotion);
  } else {
    if (piece == kWhiteKing) b.WhiteKingSquare = to;
    if (piece == kBlackKing) b.BlackKingSquare = to;
    b.Board[to] = U8(piece);
  }
  b.Board[from] = kEmpty;
}

// Moves the capturing pawn and removes its victim; returns the victim's square.
// The victim stands behind the target as seen from the mover: the pawn's own
// colour says which way, whatever the side-to-move flag holds.
inline int PlayEnPassant(BoardState& b, int from, int to, int pawn) {
  const int victim = pawn == kWhitePawn ? to - 12 : to + 12;
  b.Board[to] = U8(pawn);
  b.Board[from] = kEmpty;
  b.Board[victim] = kEmpty;
  Touch(b, to, 1);
  Touch(b, from, 1);
  Touch(b, victim, 1);
  return victim;
}

// A committed move rebuilds the key from the board like the piece list, for the
// position after the caller's toggle of the side to move.
inline void CommitKey(BoardState& b) { b.Key = ComputePositionKey(b) ^ kKeys.BlackToMove; }

// Chess960 castling moves the king from m.From and the rook from m.To to their
// destinations; either may stay where it is or land on the other's square, so
// both squares are emptied before either piece is put down.
void PlaceCastle960(BoardState& b, const Move& m, int amount) {
  const Castle960Rule& r = b.Castles960[m.Castle - kChess960Castle];
  const bool white = m.Castle - kChess960Castle <= kWhiteLong;
  const int kingCode = white ? kWhiteKing : kBlackKing;
  const int rookCode = white ? kWhiteRook : kBlackRook;
  // Forward: home squares to destinations; backward the other way round.
  const int kingFrom = amount > 0 ? r.King : r.KingTo;
  const int kingTo = amount > 0 ? r.KingTo : r.King;
  const int rookFrom = amount > 0 ? r.Rook : r.RookTo;
  const int rookTo = amount > 0 ? r.RookTo : r.Rook;
  const int kingSlot = b.PieceIndex[kingFrom];
  const int rookSlot = b.PieceIndex[rookFrom];
  b.Board[kingFrom] = kEmpty;
  b.Board[rookFrom] = kEmpty;
  b.PieceIndex[kingFrom] = 0;
  b.PieceIndex[rookFrom] = 0;
  b.Board[kingTo] = U8(kingCode);
  b.Board[rookTo] = U8(rookCode);
  b.PieceIndex[kingTo] = U8(kingSlot);
  b.PieceIndex[rookTo] = U8(rookSlot);
  b.PieceList[kingSlot] = U8(kingTo);
  b.PieceList[rookSlot] = U8(rookTo);
  Touch(b, r.King, amount);
  Touch(b, r.KingTo, amount);
  Touch(b, r.Rook, amount);
  Touch(b, r.RookTo, amount);
  const int castled = amount > 0 ? m.Castle - kChess960Castle : 0;
  if (white) {
    b.WhiteKingSquare = kingTo;
    b.WhiteCastled = castled;
  } else {
    b.BlackKingSquare = kingTo;
    b.BlackCastled = castled;
  }
}

void MakeCastle960(BoardState& b, Move& m) {
  const int slot = HistorySlot(b.Ply);
  b.KeyHistory[slot] = b.Key;
  b.KeyEnPassantHistory[slot] = b.KeyEnPassant;
  b.FiftyHistory[slot] = static_cast<std::int16_t>(b.FiftyCount);
  const Castle960Rule& r = b.Castles960[m.Castle - kChess960Castle];
  const auto& pieceKeys = kKeys.Pieces;
  const int kingCode = b.Board[r.King];
  const int rookCode = b.Board[r.Rook];
  std::uint64_t key = b.Key ^ kKeys.BlackToMove ^ EnPassantKey(b) ^ CastlingKey(b);
  key ^= pieceKeys[kingCode][r.King] ^ pieceKeys[rookCode][r.Rook] ^ pieceKeys[kingCode][r.KingTo] ^
         pieceKeys[rookCode][r.RookTo];
  b.KeyEnPassant = 0;
  m.CapturedIndex = 0;
  ++b.FiftyCount;
  ClearMarkers(b);
  PlaceCastle960(b, m, 1);
  b.Key = key ^ CastlingKey(b);
  b.WhiteToMove = !b.WhiteToMove;
}

}  // namespace

void MakeMove(BoardState& b, Move& m) {
  if (m.Castle > kBlackLong) {
    MakeCastle960(b, m);
    return;
  }
  const int from = m.From;
  const int to = m.To;
  const int slot = HistorySlot(b.Ply);
  b.KeyHistory[slot] = b.Key;
  b.KeyEnPassantHistory[slot] = b.KeyEnPassant;
  const bool rightsMayChange = RightsMayChange(b, from, to);
  const std::uint64_t rightsBefore = rightsMayChange ? CastlingKey(b) : 0;
  const auto& pieceKeys = kKeys.Pieces;
  std::uint64_t key = b.Key ^ kKeys.BlackToMove ^ EnPassantKey(b);
  b.KeyEnPassant = 0;

  m.CapturedIndex = b.PieceIndex[to];
  b.PieceList[b.PieceIndex[from]] = U8(to);
  b.PieceList[b.PieceIndex[to]] = 0;
  b.PieceIndex[to] = b.PieceIndex[from];
  b.PieceIndex[from] = 0;

  b.FiftyHistory[slot] = static_cast<std::int16_t>(b.FiftyCount);
  ApplyFiftyRule(b, from, to);

  ClearMarkers(b);

  const int piece = b.Board[from];
  // Markers and empty squares have no piece key, so the target's key is a capture's.
  key ^= pieceKeys[piece][from] ^ pieceKeys[b.Board[to]][to];
  if (piece == kWhitePawn && to == from + 24) {
    b.Board[from + 12] = kWhiteMarker;
    if (EnPassantPossible(b.Board, from + 12)) b.KeyEnPassant = U8(from + 12);
  }
  if (piece == kBlackPawn && to == from - 24) {
    b.Board[from - 12] = kBlackMarker;
    if (EnPassantPossible(b.Board, from - 12)) b.KeyEnPassant = U8(from - 12);
  }

  if (m.EnPassant == 1) {
    const int victim = PlayEnPassant(b, from, to, piece);
    key ^= pieceKeys[piece][to] ^ pieceKeys[piece == kWhitePawn ? kBlackPawn : kWhitePawn][victim];
    b.Key = key;
    m.CapturedIndex = b.PieceIndex[victim];
    b.PieceList[b.PieceIndex[victim]] = 0;
    b.PieceIndex[victim] = 0;
    b.WhiteToMove = !b.WhiteToMove;
    return;
  }

  if (m.Castle >= 1 && m.Castle <= 4) {
    const CastleRule& rook = kCastles[m.Castle];
    b.Board[rook.Rook] = kEmpty;
    b.Board[rook.RookTo] = U8(rook.RookCode);
    key ^= pieceKeys[rook.RookCode][rook.Rook] ^ pieceKeys[rook.RookCode][rook.RookTo];
    Touch(b, rook.Rook, 1);
    Touch(b, rook.RookTo, 1);
    if (m.Castle <= 2) {
      b.WhiteCastled = m.Castle;
    } else {
      b.BlackCastled = m.Castle;
    }
    b.PieceList[b.PieceIndex[rook.Rook]] = U8(rook.RookTo);
    b.PieceIndex[rook.RookTo] = b.PieceIndex[rook.Rook];
    b.PieceIndex[rook.Rook] = 0;
  }

  PlaceMovedPiece(b, from, to, piece, m.Promotion);
  Touch(b, to, 1);
  Touch(b, from, 1);
  key ^= pieceKeys[b.Board[to]][to] ^ EnPassantKey(b);
  if (rightsMayChange) key ^= rightsBefore ^ CastlingKey(b);
  b.Key = key;
  b.WhiteToMove = !b.WhiteToMove;
}

void UnmakeMove(BoardState& b, const Move& m) {
  if (m.Castle > kBlackLong) {
    const int slot = HistorySlot(b.Ply);
    b.FiftyCount = b.FiftyHistory[slot];
    b.Key = b.KeyHistory[slot];
    b.KeyEnPassant = b.KeyEnPassantHistory[slot];
    PlaceCastle960(b, m, -1);
    b.WhiteToMove = !b.WhiteToMove;
    return;
  }
  const int from = m.From;
  const int to = m.To;
  b.PieceIndex[from] = b.PieceIndex[to];
  b.PieceIndex[to] = m.CapturedIndex;
  b.PieceList[b.PieceIndex[to]] = U8(to);
  b.PieceList[b.PieceIndex[from]] = U8(from);

  const int slot = HistorySlot(b.Ply);
  b.FiftyCount = b.FiftyHistory[slot];
  b.Key = b.KeyHistory[slot];
  b.KeyEnPassant = b.KeyEnPassantHistory[slot];

  if (m.Castle >= 1 && m.Castle <= 4) {
    const CastleRule& rook = kCastles[m.Castle];
    b.Board[rook.RookTo] = kEmpty;
    b.Board[rook.Rook] = U8(rook.RookCode);
    Touch(b, rook.RookTo, -1);
    Touch(b, rook.Rook, -1);
    if (m.Castle <= 2) {
      b.WhiteCastled = 0;
    } else {
      b.BlackCastled = 0;
    }
    b.PieceIndex[rook.Rook] = b.PieceIndex[rook.RookTo];
    b.PieceIndex[rook.RookTo] = 0;
    b.PieceList[b.PieceIndex[rook.Rook]] = U8(rook.Rook);
  } else if (m.EnPassant == 1) {
    const int mover = b.Board[to];
    if (mover == kWhitePawn || mover == kBlackPawn) {
      const int victim = mover == kWhitePawn ? to - 12 : to + 12;
      b.Board[from] = U8(mover);
      b.Board[to] = kEmpty;
      b.Board[victim] = mover == kWhitePawn ? kBlackPawn : kWhitePawn;
      Touch(b, from, -1);
      Touch(b, to, -1);
      Touch(b, victim, -1);
      b.PieceIndex[victim] = m.CapturedIndex;
      b.PieceList[m.CapturedIndex] = U8(victim);
      b.PieceIndex[to] = 0;
    }
    b.WhiteToMove = !b.WhiteToMove;
    return;
  }

  if (m.Promotion != 0) {
    b.Board[from] = (m.Promotion & 1) != 0 ? kWhitePawn : kBlackPawn;
  } else {
    const int piece = b.Board[to];
    if (piece == kWhiteKing) b.WhiteKingSquare = from;
    if (piece == kBlackKing) b.BlackKingSquare = from;
    b.Board[from] = U8(piece);
  }
  b.Board[to] = m.Captured;
  Touch(b, from, -1);
  Touch(b, to, -1);
  b.WhiteToMove = !b.WhiteToMove;
}

void MakeNullMove(BoardState& b) {
  const int slot = HistorySlot(b.Ply);
  b.KeyHistory[slot] = b.Key;
  b.KeyEnPassantHistory[slot] = b.KeyEnPassant;
  b.FiftyHistory[slot] = static_cast<std::int16_t>(b.FiftyCount);
  b.Key ^= kKeys.BlackToMove ^ EnPassantKey(b);
  b.KeyEnPassant = 0;
  b.FiftyCount = 0;
  b.WhiteToMove = !b.WhiteToMove;
}

void UnmakeNullMove(BoardState& b) {
  const int slot = HistorySlot(b.Ply);
  b.Key = b.KeyHistory[slot];
  b.KeyEnPassant = b.KeyEnPassantHistory[slot];
  b.FiftyCount = b.FiftyHistory[slot];
  b.WhiteToMove = !b.WhiteToMove;
}

void CommitMove(BoardState& b, const Move& m) {
  const int from = m.From;
  const int to = m.To;
  // The code on the target before the markers go: a pawn landing on the
  // opponent's marker is an en-passant capture even when the record says not.
  const int target = b.Board[to];
  ClearMarkers(b);
  if (m.Castle > kBlackLong) {
    ++b.FiftyCount;
    if (b.BookPly < 20) b.GameMoves += MoveToText(m);
    ++b.BookPly;
    PlaceCastle960(b, m, 1);
    RebuildPieceList(b);
    CommitKey(b);
    return;
  }
  ApplyFiftyRule(b, from, to);
  if (b.BookPly < 20) b.GameMoves += MoveToText(m);
  ++b.BookPly;

  const int p = b.Board[from];
  if (m.Castle >= 1 && m.Castle <= 4) {
    const CastleRule& rook = kCastles[m.Castle];
    b.Board[to] = U8(p);
    b.Board[from] = kEmpty;
    b.Board[rook.Rook] = kEmpty;
    b.Board[rook.RookTo] = U8(rook.RookCode);
    Touch(b, to, 1);
    Touch(b, from, 1);
    Touch(b, rook.Rook, 1);
    Touch(b, rook.RookTo, 1);
    if (m.Castle <= 2) {
      b.WhiteCastled = m.Castle;
      b.WhiteKingSquare = to;
    } else {
      b.BlackCastled = m.Castle;
      b.BlackKingSquare = to;
    }
    RebuildPieceList(b);
    CommitKey(b);
    return;
  }

  if (m.EnPassant == 1) {
    PlayEnPassant(b, from, to, p);
    RebuildPieceList(b);
    CommitKey(b);
    return;
  }

  if (p == kBlackPawn && RankOf(from) == 7 && to == from - 24) {
    b.Board[to] = kBlackPawn;
    b.Board[from] = kEmpty;
    b.Board[from - 12] = kBlackMarker;
  } else if (p == kBlackPawn && target == kWhiteMarker) {
    b.Board[to] = kBlackPawn;
    b.Board[from] = kEmpty;
    b.Board[to + 12] = kEmpty;
    Touch(b, to + 12, 1);
  } else if (p == kWhitePawn && RankOf(from) == 2 && to == from + 24) {
    b.Board[to] = kWhitePawn;
    b.Board[from] = kEmpty;
    b.Board[from + 12] = kWhiteMarker;
  } else if (p == kWhitePawn && target == kBlackMarker) {
    b.Board[to] = kWhitePawn;
    b.Board[from] = kEmpty;
    b.Board[to - 12] = kEmpty;
    Touch(b, to - 12, 1);
  } else {
    PlaceMovedPiece(b, from, to, p, m.Promotion);
  }
  Touch(b, to, 1);
  Touch(b, from, 1);
  RebuildPieceList(b);
  CommitKey(b);
}

void PlayMove(BoardState& b, const Move& m) {
  CommitMove(b, m);
  b.WhiteToMove = !b.WhiteToMove;
}

}  // namespace zandrell
