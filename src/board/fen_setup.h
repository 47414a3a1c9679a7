#pragma once
// Sets up a position from a FEN record, for tools and tests.
#include <string>
#include <string_view>

#include "board/board_state.h"

namespace zandrell {

inline constexpr char kStandardStartFen[] =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Replaces the position with the one described by fen (placement, side to move,
// castling, en passant; the half-move clock is optional and the move number is
// ignored). Castling rights become untouched king and rook home squares, a lost
// right a touched rook home square (and a touched king square when both are
// lost); the en-passant square becomes the marker. A malformed or impossible
// record returns false and leaves the position unchanged. A right whose king or
// rook is not at home is dropped; dropped, when given, gets the letters of those.
// With chess960 the game is one of Chess960 and the castling field is X-FEN
// (KQkq for the outermost rooks, a file letter otherwise) or Shredder-FEN.
bool SetUpFromFen(BoardState& b, std::string_view fen, std::string* dropped = nullptr,
                  bool chess960 = false);

}  // namespace zandrell
