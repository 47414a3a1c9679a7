#pragma once
// Standard algebraic notation on the engine's board: reading the moves of PGN
// games and writing book lines for people.
#include <string>
#include <string_view>

#include "board/board_state.h"
#include "board/make_move.h"

namespace zandrell::quiretto {

enum class SanResult { kFound, kUnreadable, kIllegal, kAmbiguous, kMissingPromotion };

// The legal move of the side to move that san names. Check and annotation marks
// (+ # ! ?) are ignored; castling may be written with O or 0; a promotion with or
// without "=". The position is left as it was.
SanResult ParseSan(BoardState& b, std::string_view san, Move& move);
// The move in SAN with the least disambiguation, a capture's x, "=Q" and a check
// or mate mark. m must be a legal move of the side to move.
std::string MoveToSan(BoardState& b, const Move& m);
// Plays a legal move into b for good, as the game record does.
using zandrell::PlayMove;

}  // namespace zandrell::quiretto
