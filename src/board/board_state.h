#pragma once
// The one position the engine keeps, and the game record.
#include <cstdint>
#include <string>

#include "board/types.h"

namespace zandrell {

constexpr int kFiftyHistorySize = 500;

// One Chess960 castling: the king from its home square to the g or c file, the
// rook from its home square to the f or d file. The king and rook squares may
// coincide with the destinations; every other square from Low to High must be
// empty. King 0 stands for no such castling in this game.
struct Castle960Rule {
  std::uint8_t King;
  std::uint8_t KingTo;
  std::uint8_t Rook;
  std::uint8_t RookTo;
  std::uint8_t Low;
  std::uint8_t High;
};

struct BoardState {
  std::uint8_t Board[kSquareCount];  // piece code per square
  bool WhiteToMove;
  // The position's key (board/position_key.h), kept by every move operation, and
  // the marker square whose en-passant capture counts in it (0 for none). The
  // key stays that of the position made even where UnmakeMove leaves a marker
  // off the board.
  std::uint64_t Key;
  std::uint8_t KeyEnPassant;
  std::uint8_t PieceList[kPieceSlots];    // square per slot, 0 for a captured piece
  std::uint8_t PieceIndex[kSquareCount];  // slot per occupied square, else 0
  int PieceCount;
  int WhiteKingSquare;
  int BlackKingSquare;
  std::int16_t TouchCount[kSquareCount];  // moves that started or ended on the square
  int WhiteCastled;                       // 0, or castle kind 1/2
  int BlackCastled;                       // 0, or castle kind 3/4
  int FiftyCount;
  std::int16_t FiftyHistory[kFiftyHistorySize];
  int Ply;
  std::string GameMoves;  // " " and the coordinate texts, for the book
  int BookPly;
  // Key and KeyEnPassant saved by each made move, indexed like FiftyHistory.
  std::uint64_t KeyHistory[kFiftyHistorySize];
  std::uint8_t KeyEnPassantHistory[kFiftyHistorySize];
  // A Chess960 game: castling follows Castles960 (by castle kind 1..4) and is
  // recorded with kind + 4 and the rook's square as the target; the homes of its
  // kings and rooks are flagged in CastlingSquares960.
  bool Chess960;
  Castle960Rule Castles960[5];
  bool CastlingSquares960[kSquareCount];
};

// Recomputes PieceList, PieceIndex and PieceCount from Board, in square order.
void RebuildPieceList(BoardState& b);

// The board part of a new game of standard chess: start position, touch counts,
// piece list, game record, fifty counter, side to move, king squares and castled
// flags. Ply and
// FiftyHistory are left as they are.
void ResetPosition(BoardState& b, bool bookLoaded);

}  // namespace zandrell
