#pragma once
#include "board/board_state.h"

namespace zandrell {

// Plays a move so that UnmakeMove can take it back (en-passant markers excepted).
// Writes CapturedIndex into the record and toggles the side to move.
void MakeMove(BoardState& b, Move& m);
// Takes back the move made last; same record, same Ply as at MakeMove.
void UnmakeMove(BoardState& b, const Move& m);
// Passes the move to the opponent (the search's null move): side to move and key
// change, nothing else; the fifty-move counter reads 0 until UnmakeNullMove, so
// that no repetition is looked for across the pass. Same Ply rule as MakeMove.
void MakeNullMove(BoardState& b);
void UnmakeNullMove(BoardState& b);
// Plays a move into the game for good: game record, rebuilt piece list. Does not
// toggle the side to move; the caller does right after.
void CommitMove(BoardState& b, const Move& m);
// Plays a legal move into the game for good: committed, and the other side to move.
void PlayMove(BoardState& b, const Move& m);

}  // namespace zandrell
