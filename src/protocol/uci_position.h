#pragma once
// The game a UCI interface describes: "position" and "ucinewgame", and the log's
// record of it.
#include <string_view>

#include "engine/engine.h"

namespace zandrell {

// "position startpos|fen FEN [moves ...]" with the text after "position": the game
// replayed from that start move by move as the game's moves are played. A bad
// record or an illegal move is answered with "info string" and leaves the game as
// it was.
void SetUciPosition(Engine& e, std::string_view args);
// "ucinewgame": a new game, in the log too.
void StartUciGame(Engine& e);
// Writes the game's moves that the log has not recorded yet; a game that does not
// continue the one recorded begins a new game there.
void LogUciGame(Engine& e);

}  // namespace zandrell
